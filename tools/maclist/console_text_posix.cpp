// Console conversions on Linux: glibc iconv between UTF-8 and GBK (code page 936).
#include "tools/maclist/console_text.h"

#include <iconv.h>

#include <cerrno>

namespace {

// Converts with iconv; an input byte that does not convert becomes replacement when given,
// otherwise the conversion fails.
bool Convert(const char* from, const char* to, const std::string& in, const char* replacement,
             std::string* out) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  out->clear();
  char* src = const_cast<char*>(in.data());
  size_t srcLeft = in.size();
  char buffer[4096];
  bool ok = true;
  while (srcLeft > 0) {
    char* dst = buffer;
    size_t dstLeft = sizeof buffer;
    size_t result = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    out->append(buffer, static_cast<size_t>(dst - buffer));
    if (result != static_cast<size_t>(-1)) continue;
    if (errno == E2BIG) continue;
    // EILSEQ or EINVAL: a byte that starts no character of the source code page.
    if (replacement == nullptr) {
      ok = false;
      break;
    }
    *out += replacement;
    ++src;
    --srcLeft;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  iconv_close(cd);
  return ok;
}

}  // namespace

std::string Utf8FromGbk(const std::string& gbk) {
  std::string utf8;
  if (!Convert("GBK", "UTF-8", gbk, "?", &utf8)) return gbk;
  return utf8;
}

std::string TerminalText(const std::string& gbk) { return Utf8FromGbk(gbk); }

bool ArgumentToGbk(const std::string& argument, std::string* gbk) {
  return Convert("UTF-8", "GBK", argument, nullptr, gbk);
}

void UseBinaryStandardOutput() {}
