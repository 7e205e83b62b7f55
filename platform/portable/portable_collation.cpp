// CollationApi without Windows: a case-insensitive byte comparison in the order Windows sorts.
#include "platform/portable/portable_collation.h"

namespace {

// Sort weight of one byte: its class (control, symbol, digit, letter, non-ASCII) in the high
// part and its value, letters folded to capitals, in the low part.
int Weight(unsigned char c) {
  if (c >= 'a' && c <= 'z') return 3 * 256 + (c - 'a' + 'A');
  if (c >= 'A' && c <= 'Z') return 3 * 256 + c;
  if (c >= '0' && c <= '9') return 2 * 256 + c;
  if (c >= 0x80) return 4 * 256 + c;
  if (c < 0x20 || c == 0x7F) return c;
  return 1 * 256 + c;
}

}  // namespace

int PortableCompareText(const std::string& a, const std::string& b) {
  size_t common = a.size() < b.size() ? a.size() : b.size();
  // A GBK character is a lead byte 0x81 to 0xFE and a trail byte, which may lie in "a".."z"
  // without being a letter, so a trail byte is never folded. Up to a difference both texts
  // hold the same bytes but for the case of letters, so they agree on which bytes are trails.
  bool trail = false;
  for (size_t i = 0; i < common; ++i) {
    unsigned char ca = static_cast<unsigned char>(a[i]);
    unsigned char cb = static_cast<unsigned char>(b[i]);
    int wa = trail ? 4 * 256 + ca : Weight(ca);
    int wb = trail ? 4 * 256 + cb : Weight(cb);
    if (wa != wb) return wa < wb ? -1 : 1;
    trail = !trail && ca >= 0x81 && ca <= 0xFE;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

int PortableCollationApi::Compare(const std::string& a, const std::string& b) {
  return PortableCompareText(a, b);
}
