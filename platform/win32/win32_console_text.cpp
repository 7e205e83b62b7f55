// Console conversions on Windows: the console and the arguments use the ANSI code page already.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include <vector>

#include "platform/console_text.h"

std::string TerminalText(const std::string& gbk) { return gbk; }

std::string Utf8FromGbk(const std::string& gbk) {
  if (gbk.empty()) return gbk;
  // Code page 936 explicitly: the list's texts are GBK whatever the system's ANSI code page is.
  const int wideLength = MultiByteToWideChar(936, 0, gbk.data(), static_cast<int>(gbk.size()),
                                             nullptr, 0);
  if (wideLength <= 0) return gbk;
  std::vector<wchar_t> wide(static_cast<size_t>(wideLength));
  MultiByteToWideChar(936, 0, gbk.data(), static_cast<int>(gbk.size()), wide.data(), wideLength);
  const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, nullptr, 0,
                                         nullptr, nullptr);
  if (length <= 0) return gbk;
  std::string utf8(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, &utf8[0], length, nullptr, nullptr);
  return utf8;
}

bool ArgumentToGbk(const std::string& argument, std::string* gbk) {
  *gbk = argument;
  return true;
}

void UseBinaryStandardOutput() { _setmode(_fileno(stdout), _O_BINARY); }
