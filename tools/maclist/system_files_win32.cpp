// maclist's own file handling on Windows: the ANSI functions, paths in the ANSI code page.
#include <windows.h>

#include <vector>

#include "platform/win32/win32_files.h"
#include "tools/maclist/system_files.h"

FileApi& SystemFiles() {
  static Win32FileApi files;
  return files;
}

std::string FullPath(const std::string& path) {
  if (path.empty()) return std::string();
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    // The length without the NUL on success, the size needed (with it) when the buffer is short.
    const DWORD length =
        GetFullPathNameA(path.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
    if (length == 0) return std::string();
    if (length < buffer.size()) return std::string(buffer.data(), length);
    buffer.resize(length);
  }
}

std::string DirectoryPart(const std::string& fullPath) {
  // A trail byte of a GBK character can equal "\" (0x5C), so the path is walked from its start.
  size_t end = 0;
  for (size_t i = 0; i < fullPath.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(fullPath[i]);
    if (IsDBCSLeadByte(c) && i + 1 < fullPath.size()) {
      ++i;
    } else if (c == '\\' || c == '/') {
      end = i + 1;
    }
  }
  return fullPath.substr(0, end);
}

bool IsDirectoryPath(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool MoveReplacing(const std::string& from, const std::string& to) {
  return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
}
