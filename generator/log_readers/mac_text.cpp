// MAC texts: separators removed, type-1 client identifiers cut to their hardware address.
#include "generator/log_readers/mac_text.h"

#include "generator/log_readers/text_lines.h"

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

bool NormalizeMacText(std::string_view text, std::string* mac) {
  static const char kDigits[] = "0123456789ABCDEF";
  char digits[14];
  size_t count = 0;
  for (char c : TrimView(text)) {
    if (c == '-' || c == ':' || c == '.') continue;
    const int value = HexValue(c);
    if (value < 0 || count == sizeof digits) return false;
    digits[count++] = kDigits[value];
  }
  // A client identifier of hardware type 1 (Ethernet): the type byte, then the address.
  if (count == 14 && digits[0] == '0' && digits[1] == '1') {
    mac->assign(digits + 2, 12);
    return true;
  }
  if (count != 12) return false;
  mac->assign(digits, 12);
  return true;
}
