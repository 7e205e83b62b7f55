// What the fuzz targets share: a failed expectation stops the run with the input's story.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

// libFuzzer saves the input that made the process abort as a crash file.
#define FUZZ_EXPECT(condition, detail)                                                      \
  do {                                                                                      \
    if (!(condition)) {                                                                     \
      std::fprintf(stderr, "%s:%d: expected %s\n%s\n", __FILE__, __LINE__, #condition,      \
                   std::string(detail).c_str());                                            \
      std::abort();                                                                         \
    }                                                                                       \
  } while (0)

inline std::string FuzzHex(const std::string& bytes) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : bytes) {
    out += kDigits[c >> 4];
    out += kDigits[c & 15];
    out += ' ';
  }
  return out;
}
