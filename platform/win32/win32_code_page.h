// CodePageApi on Windows: WideCharToMultiByte into the ANSI code page.
#pragma once

#include "platform/code_page_api.h"

class Win32CodePageApi : public CodePageApi {
 public:
  std::string Utf16ToAnsi(const std::u16string& text) override;
};
