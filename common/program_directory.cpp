// The directory path rules shared by both programs and the Windows edge.
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

bool EndsInBackslash(const std::string& text) {
  bool lastIsBackslash = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char byte = static_cast<unsigned char>(text[i]);
    if (byte >= 0x81 && byte <= 0xFE && i + 1 < text.size()) {
      lastIsBackslash = false;
      ++i;  // the trail byte belongs to this character
    } else {
      lastIsBackslash = byte == '\\';
    }
  }
  return lastIsBackslash;
}

std::string PathInDirectory(const std::string& directory, const std::string& relativePath) {
  return EndsInBackslash(directory) ? directory + relativePath : directory + "\\" + relativePath;
}
