// SystemFiles, FullPath and FilesInDirectory on Windows: the ANSI functions, paths in the ANSI
// code page.
#include <windows.h>

#include <vector>

#include "platform/win32/win32_files.h"
#include "platform/system_files.h"

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

bool FilesInDirectory(const std::string& directory, std::vector<std::string>* names) {
  names->clear();
  std::string pattern = directory;
  if (!pattern.empty() && pattern.back() != '\\' && pattern.back() != '/') pattern += '\\';
  pattern += '*';
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) {
    // An empty directory still has "." and ".."; only a missing or unreadable one fails here.
    return false;
  }
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names->push_back(found.cFileName);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return true;
}
