// The one byte printer of the tests: every byte as two hex digits, so GBK mismatches show.
#pragma once

#include <cstdio>
#include <string>

inline std::string HexBytes(const std::string& bytes) {
  std::string hex;
  char cell[4];
  for (unsigned char byte : bytes) {
    std::snprintf(cell, sizeof cell, "%02X ", byte);
    hex += cell;
  }
  if (!hex.empty()) hex.pop_back();
  return hex;
}
