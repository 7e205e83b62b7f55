// Windows' system directory and the DLL search kept to it.
#include "platform/win32/win32_system_directory.h"

#include <windows.h>

#include <vector>

#include "common/program_directory.h"
#include "platform/win32/win32_late_bound.h"

namespace {
// LOAD_LIBRARY_SEARCH_SYSTEM32, which headers for Windows 2000 do not define.
constexpr DWORD kLoadLibrarySearchSystem32 = 0x00000800;
}  // namespace

std::string Win32SystemDirectory() {
  std::vector<char> buffer(MAX_PATH + 1, '\0');
  UINT length = GetSystemDirectoryA(buffer.data(), static_cast<UINT>(buffer.size()));
  // A longer path: the call said how many bytes it needs, its NUL included.
  if (length >= buffer.size()) {
    buffer.assign(static_cast<size_t>(length) + 1, '\0');
    length = GetSystemDirectoryA(buffer.data(), static_cast<UINT>(buffer.size()));
    if (length >= buffer.size()) return std::string();
  }
  return std::string(buffer.data(), length);
}

FARPROC LateBoundAddress(const char* dll, const char* name) {
  const std::string path = Win32SystemFilePath(dll);
  if (path.empty()) return nullptr;
  HMODULE module = LoadLibraryA(path.c_str());
  return module == nullptr ? nullptr : GetProcAddress(module, name);
}

std::string Win32SystemFilePath(const std::string& fileName) {
  const std::string directory = Win32SystemDirectory();
  return directory.empty() ? std::string() : PathInDirectory(directory, fileName);
}

void KeepDllSearchToSystemDirectory() {
  using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
  using SetDllDirectoryFunction = BOOL(WINAPI*)(LPCSTR);
  // SetDllDirectoryA("") leaves the program's own folder first in the search; only
  // SetDefaultDllDirectories takes that folder out.
  const auto setDefaultDirectories =
      LateBoundFunction<SetDefaultDllDirectoriesFunction>("kernel32.dll", "SetDefaultDllDirectories");
  if (setDefaultDirectories != nullptr) setDefaultDirectories(kLoadLibrarySearchSystem32);
  const auto setDllDirectory = LateBoundFunction<SetDllDirectoryFunction>("kernel32.dll", "SetDllDirectoryA");
  if (setDllDirectory != nullptr) setDllDirectory("");
}
