// CodePageApi without Windows: ASCII kept exactly, every other character as "?".
#pragma once

#include "platform/code_page_api.h"

// Without the code page's tables only the ASCII range (U+0000 to U+007F, the same bytes in GBK)
// converts exactly; every other character, a surrogate pair counted as one, becomes "?", the
// byte Windows writes for a character its code page lacks.
class PortableCodePageApi : public CodePageApi {
 public:
  std::string Utf16ToAnsi(const std::u16string& text) override;
};
