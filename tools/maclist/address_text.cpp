// Strict reading of dotted IPv4 address texts.
#include "tools/maclist/address_text.h"

bool ParseDottedAddress(const std::string& text, uint32_t* address) {
  uint32_t value = 0;
  size_t pos = 0;
  for (int part = 0; part < 4; ++part) {
    if (part > 0) {
      if (pos >= text.size() || text[pos] != '.') return false;
      ++pos;
    }
    const size_t begin = pos;
    uint32_t number = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9' && pos - begin < 4) {
      number = number * 10 + static_cast<uint32_t>(text[pos] - '0');
      ++pos;
    }
    const size_t digits = pos - begin;
    if (digits == 0 || digits > 3 || number > 255) return false;
    if (digits > 1 && text[begin] == '0') return false;
    value = (value << 8) | number;
  }
  if (pos != text.size()) return false;
  *address = value;
  return true;
}

bool IsContiguousMask(uint32_t mask) {
  const uint32_t inverted = ~mask;
  // The host part is a run of ones at the bottom: adding one gives a power of two.
  return (inverted & (inverted + 1)) == 0;
}

std::string DottedText(uint32_t address) {
  return std::to_string(address >> 24) + "." + std::to_string((address >> 16) & 255) + "." +
         std::to_string((address >> 8) & 255) + "." + std::to_string(address & 255);
}
