// Helpers of maclist's tests: the shared scratch directory and hex printer, files read back.
#pragma once

#include <fstream>
#include <iterator>
#include <string>

#include "tests/hex_bytes.h"
#include "tests/scratch_directory.h"

inline std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
