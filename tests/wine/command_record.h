// The stand-ins for Windows' programs and DLLs record how they were used: each appends one line
// (a tool its raw command line, GetCommandLineA bytes; netapi32.dll its call) and LF to
// "commands.log" in its record directory. That is the system directory when the stand-in runs
// from there or from a folder under it (wbem\wmic.exe), where Tolvik starts them, so all of them
// add to one log in start order; anywhere else it is the folder of the stand-in's own file, so a
// copy planted beside Tolvik leaves its record there as the sign that it ran.
#pragma once

#include <windows.h>

#include <string>

// The folder of module's file (nullptr: this program's), with its final backslash.
inline std::string FolderOfModule(HMODULE module) {
  char path[MAX_PATH * 4] = {};
  DWORD length = GetModuleFileNameA(module, path, sizeof path);
  std::string text(path, length);
  size_t slash = text.rfind('\\');
  return slash == std::string::npos ? std::string() : text.substr(0, slash + 1);
}

// GetSystemDirectoryA with a final backslash; empty when it fails.
inline std::string SystemDirectoryWithSlash() {
  char system[MAX_PATH * 4] = {};
  const UINT length = GetSystemDirectoryA(system, sizeof system);
  if (length == 0 || length >= sizeof system) return std::string();
  return std::string(system, length) + "\\";
}

inline bool LiesUnder(const std::string& folder, const std::string& directory) {
  return !directory.empty() && folder.size() >= directory.size() &&
         lstrcmpiA(folder.substr(0, directory.size()).c_str(), directory.c_str()) == 0;
}

// True when module's file lies in the system directory or a folder under it. A 32-bit program
// that 64-bit Windows started from "system32" reports its file in SysWOW64, the folder
// GetSystemWow64DirectoryA (looked up: XP x64 on) names.
inline bool RunsFromSystemDirectory(HMODULE module) {
  const std::string own = FolderOfModule(module);
  if (LiesUnder(own, SystemDirectoryWithSlash())) return true;
  using Wow64DirectoryFunction = UINT(WINAPI*)(LPSTR, UINT);
  const auto wow64Directory = reinterpret_cast<Wow64DirectoryFunction>(reinterpret_cast<void (*)()>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetSystemWow64DirectoryA")));
  if (wow64Directory == nullptr) return false;
  char wow64[MAX_PATH * 4] = {};
  const UINT length = wow64Directory(wow64, sizeof wow64);
  if (length == 0 || length >= sizeof wow64) return false;
  return LiesUnder(own, std::string(wow64, length) + "\\");
}

inline std::string RecordDirectoryOf(HMODULE module) {
  return RunsFromSystemDirectory(module) ? SystemDirectoryWithSlash() : FolderOfModule(module);
}

inline std::string RecordDirectory() { return RecordDirectoryOf(nullptr); }

// Appends bytes to the file at path; true when every byte was written.
inline bool AppendToFile(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == bytes.size();
}

// Appends this program's command line as one record; true when every byte was written. A record
// that cannot be written is reported in "commands.err" beside it (command line and Windows error
// code), so a missing record tells whether the stand-in ran at all. Several stand-ins may append
// in turn, never at once (Tolvik waits for each), so appending keeps them in start order.
inline bool AppendCommandRecord() {
  const std::string record = std::string(GetCommandLineA()) + "\n";
  if (AppendToFile(RecordDirectory() + "commands.log", record)) return true;
  AppendToFile(RecordDirectory() + "commands.err",
               "error " + std::to_string(GetLastError()) + ": " + record);
  return false;
}
