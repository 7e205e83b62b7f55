// FileApi on Windows, with the ANSI (...A) functions so every path stays in the ANSI code page.
#include "platform/win32/win32_files.h"

#include <windows.h>

#include <algorithm>
#include <vector>

// <windows.h> maps DeleteFile to DeleteFileA; the interface's method keeps its own name.
#undef DeleteFile

std::string Win32FileApi::ModulePath() {
  // GetModuleFileNameA cuts the path and returns the buffer size when the buffer is too small.
  std::vector<char> buffer(MAX_PATH + 1);
  for (;;) {
    const DWORD length =
        GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return std::string();
    if (length < buffer.size() - 1) return std::string(buffer.data(), length);
    if (buffer.size() > 65536) return std::string(buffer.data(), length);
    buffer.resize(buffer.size() * 2);
  }
}

bool Win32FileApi::IsExistingFile(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool Win32FileApi::IsExistingDirectory(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool Win32FileApi::DeleteFile(const std::string& path) { return DeleteFileA(path.c_str()) != 0; }


bool Win32FileApi::DeleteAtNextStart(const std::string& path) {
  // Without a new name the file is deleted when Windows next starts (needs administrator rights).
  return MoveFileExA(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) != 0;
}

std::string Win32FileApi::TempPath() {
  // GetTempPathA returns the length it needs (with the NUL) when the buffer is too small.
  std::vector<char> buffer(MAX_PATH + 1);
  DWORD length = GetTempPathA(static_cast<DWORD>(buffer.size()), buffer.data());
  if (length >= buffer.size()) {
    buffer.resize(length + 1);
    length = GetTempPathA(static_cast<DWORD>(buffer.size()), buffer.data());
    if (length >= buffer.size()) return std::string();
  }
  return std::string(buffer.data(), length);
}

bool Win32FileApi::ReadWholeFile(const std::string& path, std::string* bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  std::string content;
  char chunk[65536];
  bool ok = true;
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(file, chunk, sizeof chunk, &got, nullptr)) {
      ok = false;
      break;
    }
    if (got == 0) break;
    content.append(chunk, got);
  }
  CloseHandle(file);
  if (ok) bytes->swap(content);
  return ok;
}

bool Win32FileApi::WriteWholeFile(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bool ok = true;
  size_t done = 0;
  while (ok && done < bytes.size()) {
    const DWORD portion = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1 << 20));
    DWORD written = 0;
    ok = WriteFile(file, bytes.data() + done, portion, &written, nullptr) && written == portion;
    done += written;
  }
  // The bytes reach the disk before a caller renames the file over an older one.
  if (ok && !FlushFileBuffers(file)) ok = false;
  // A failed close can still lose buffered bytes on some file systems; it counts as a failure.
  if (!CloseHandle(file)) ok = false;
  return ok;
}

bool Win32FileApi::RenameReplacing(const std::string& from, const std::string& to) {
  // MoveFileExA never replaces a directory; the 9x path below must not either.
  if (IsExistingDirectory(to)) return false;
  if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return true;
  }
  if (GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) return false;
  // Windows 9x: not in one step, so a failed rename leaves no old file, but the new one stays
  // under its temporary name.
  if (!DeleteFileA(to.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND) return false;
  return MoveFileA(from.c_str(), to.c_str()) != 0;
}
