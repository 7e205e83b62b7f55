// The program directory rule shared by both programs.
#include "common/program_directory.h"

std::string ProgramDirectory(const std::string& modulePath) {
  // The path is GBK: a lead byte (0x81..0xFE) takes the next byte with it, and that trail byte
  // can be 0x5C without being a backslash, so the path is walked from its start.
  size_t cut = std::string::npos;
  for (size_t i = 0; i < modulePath.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(modulePath[i]);
    if (c >= 0x81 && c <= 0xFE && i + 1 < modulePath.size()) {
      ++i;
    } else if (c == '\\') {
      cut = i;
    }
  }
  if (cut == std::string::npos) return std::string();
  return modulePath.substr(0, cut + 1);
}
