// What the fuzz targets share: a failed expectation stops the run with the input's story, told
// in the tests' one byte printer.
#pragma once

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/hex_bytes.h"

// libFuzzer saves the input that made the process abort as a crash file.
#define FUZZ_EXPECT(condition, detail)                                                      \
  do {                                                                                      \
    if (!(condition)) {                                                                     \
      std::fprintf(stderr, "%s:%d: expected %s\n%s\n", __FILE__, __LINE__, #condition,      \
                   std::string(detail).c_str());                                            \
      std::abort();                                                                         \
    }                                                                                       \
  } while (0)

// Lines as an editor counts them, after a UTF-8 mark: CR LF, a lone CR and a lone LF each end one.
inline size_t FileLines(const std::string& bytes) {
  size_t begin = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
  size_t lines = 1;
  for (size_t i = begin; i < bytes.size(); ++i) {
    if (bytes[i] == '\n' || (bytes[i] == '\r' && (i + 1 >= bytes.size() || bytes[i + 1] != '\n'))) {
      ++lines;
    }
  }
  return lines;
}

// Where targets that write files keep them: memory-backed where there is one, since creating and
// removing files on a disk took a third of each run.
inline std::filesystem::path FuzzScratchBase() {
  std::error_code error;
  return std::filesystem::is_directory("/dev/shm", error) ? std::filesystem::path("/dev/shm")
                                                         : std::filesystem::temp_directory_path();
}
