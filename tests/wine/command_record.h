// The stand-ins for Windows' command-line tools record how they were started: each appends its
// raw command line (GetCommandLineA bytes, then LF) to "commands.log" beside its own program file.
#pragma once

#include <windows.h>

#include <string>

inline std::string DirectoryOfThisProgram() {
  char path[MAX_PATH * 4] = {};
  DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string text(path, length);
  size_t slash = text.rfind('\\');
  return slash == std::string::npos ? std::string() : text.substr(0, slash + 1);
}

// Appends one record; true when every byte was written. Several stand-ins may append in turn,
// never at once (Tolvik waits for each), so appending to the end keeps them in start order.
inline bool AppendCommandRecord() {
  std::string record = GetCommandLineA();
  record += '\n';
  const std::string logPath = DirectoryOfThisProgram() + "commands.log";
  HANDLE file = CreateFileA(logPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  BOOL ok = WriteFile(file, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == record.size();
}
