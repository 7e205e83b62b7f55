// Conversion of text between UTF-16 and the ANSI code page (GBK, code page 936, on the target systems).
#pragma once

#include <string>

class CodePageApi {
 public:
  virtual ~CodePageApi() = default;
  // WideCharToMultiByte(CP_ACP, 0, ...): every character the code page lacks becomes "?".
  virtual std::string Utf16ToAnsi(const std::u16string& text) = 0;
  // MultiByteToWideChar(CP_ACP, 0, ...): the ANSI bytes as UTF-16.
  virtual std::u16string AnsiToUtf16(const std::string& text) = 0;
};

// The implementation of this build: WideCharToMultiByte on Windows, a portable one elsewhere.
CodePageApi& SystemCodePageApi();
