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

// Appends one record; true when every byte was written. A record that cannot be written is
// reported in "commands.err" beside it (command line and Windows error code), so a missing record
// tells whether the stand-in ran at all. Several stand-ins may append in turn,
// never at once (Tolvik waits for each), so appending to the end keeps them in start order.
inline bool AppendCommandRecord() {
  std::string record = GetCommandLineA();
  record += '\n';
  const std::string logPath = DirectoryOfThisProgram() + "commands.log";
  HANDLE file = CreateFileA(logPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  BOOL ok = FALSE;
  if (file != INVALID_HANDLE_VALUE) {
    ok = WriteFile(file, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
    CloseHandle(file);
  }
  if (ok && written == record.size()) return true;
  const std::string failure = "error " + std::to_string(GetLastError()) + ": " + record;
  HANDLE errors = CreateFileA((DirectoryOfThisProgram() + "commands.err").c_str(), FILE_APPEND_DATA,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (errors != INVALID_HANDLE_VALUE) {
    WriteFile(errors, failure.data(), static_cast<DWORD>(failure.size()), &written, nullptr);
    CloseHandle(errors);
  }
  return false;
}
