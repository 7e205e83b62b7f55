// AnsiToUtf16LeBytes on Windows: MultiByteToWideChar(CP_ACP). A file of its own, so a program
// that does not convert this way (Brevane) links none of it.
#include <windows.h>

#include <climits>
#include <string>

#include "platform/code_page_api.h"

std::string AnsiToUtf16LeBytes(const std::string& ansi) {
  const int bytes = static_cast<int>(ansi.size() < static_cast<size_t>(INT_MAX) ? ansi.size() : 0);
  const int units = bytes == 0 ? 0 : MultiByteToWideChar(CP_ACP, 0, ansi.data(), bytes, nullptr, 0);
  std::string result(static_cast<size_t>(units > 0 ? units : 0) * 2, '\0');
  if (units > 0) {
    // Windows is little-endian: the wide characters are the bytes wanted.
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), bytes, reinterpret_cast<wchar_t*>(&result[0]), units);
  }
  return result;
}
