// Conversion of UTF-16 text into the ANSI code page (GBK, code page 936, on the target systems).
#pragma once

#include <string>

class CodePageApi {
 public:
  virtual ~CodePageApi() = default;
  // WideCharToMultiByte(CP_ACP, 0, ...): every character the code page lacks becomes "?".
  virtual std::string Utf16ToAnsi(const std::u16string& text) = 0;
};

// The implementation of this build: WideCharToMultiByte on Windows, a portable one elsewhere.
CodePageApi& SystemCodePageApi();

// ANSI text as UTF-16 little-endian bytes: MultiByteToWideChar(CP_ACP, 0, ...) on Windows, the
// ASCII characters alone elsewhere (any other byte as U+FFFD). A plain function, so a program
// that converts only this way carries no more of the conversions than this.
std::string AnsiToUtf16LeBytes(const std::string& ansi);
