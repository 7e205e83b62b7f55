// CodePageApi without Windows: ASCII kept exactly, every other character as "?".
#include "platform/portable/portable_code_page.h"

std::string PortableCodePageApi::Utf16ToAnsi(const std::u16string& text) {
  std::string result;
  result.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char16_t unit = text[i];
    if (unit < 0x80) {
      result.push_back(static_cast<char>(unit));
      continue;
    }
    // A high surrogate followed by a low one is a single character.
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      ++i;
    }
    result.push_back('?');
  }
  return result;
}
