// Console conversions on Linux: glibc iconv between UTF-8 and GBK (code page 936).
#include "platform/console_text.h"

#include <iconv.h>

#include <cerrno>

namespace {

// One conversion descriptor per direction and thread, opened on first use: opening one costs
// far more than converting a short message, and a check converts one per finding.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (usable()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool usable() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t get() const { return cd_; }

 private:
  iconv_t cd_;
};

// Converts with iconv; an input byte that does not convert becomes replacement when given,
// otherwise the conversion fails.
bool Convert(const Converter& converter, const std::string& in, const char* replacement,
             std::string* out) {
  if (!converter.usable()) return false;
  iconv_t cd = converter.get();
  iconv(cd, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
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
  return ok;
}

}  // namespace

std::string Utf8FromGbk(const std::string& gbk) {
  std::string utf8;
  static thread_local const Converter fromGbk("UTF-8", "GBK");
  if (!Convert(fromGbk, gbk, "?", &utf8)) return gbk;
  return utf8;
}

std::string TerminalText(const std::string& gbk) { return Utf8FromGbk(gbk); }

bool ArgumentToGbk(const std::string& argument, std::string* gbk) {
  static thread_local const Converter toGbk("GBK", "UTF-8");
  return Convert(toGbk, argument, nullptr, gbk);
}

void UseBinaryStandardOutput() {}
