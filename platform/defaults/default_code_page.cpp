// SystemCodePageApi in builds without Windows: the portable conversion.
#include "platform/code_page_api.h"
#include "platform/portable/portable_code_page.h"

std::string AnsiToUtf16LeBytes(const std::string& ansi) {
  std::string result;
  for (char c : ansi) {
    const bool ascii = static_cast<unsigned char>(c) < 0x80;
    result += ascii ? c : '\xFD';
    result += ascii ? '\0' : '\xFF';
  }
  return result;
}

CodePageApi& SystemCodePageApi() {
  static PortableCodePageApi codePage;
  return codePage;
}
