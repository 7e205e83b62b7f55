// SystemApi on Windows, through the ANSI (...A) functions.
#include "platform/win32/win32_system.h"

#include <windows.h>

#include <vector>

#include "platform/win32/win32_late_bound.h"

// <windows.h> defines these names as macros; the interface's methods keep their own names.
#undef SetComputerName
#undef SetComputerNameEx
#undef InitiateSystemShutdown
#undef ExitWindows

std::string Win32SystemApi::CommandLine() {
  const char* line = GetCommandLineA();
  return line == nullptr ? std::string() : std::string(line);
}

uint32_t Win32SystemApi::Version() { return GetVersion(); }

void Win32SystemApi::SetLastError(uint32_t code) { ::SetLastError(code); }

bool Win32SystemApi::SetComputerName(const std::string& name) {
  return SetComputerNameA(name.c_str()) != 0;
}

namespace {

// The NT family's functions, found at run time (see win32_late_bound.h). A missing one fails as
// Windows 95 and 98 fail the calls they do not implement.
using SetComputerNameExFunction = BOOL(WINAPI*)(COMPUTER_NAME_FORMAT, LPCSTR);
using OpenProcessTokenFunction = BOOL(WINAPI*)(HANDLE, DWORD, PHANDLE);
using LookupPrivilegeValueFunction = BOOL(WINAPI*)(LPCSTR, LPCSTR, PLUID);
using AdjustTokenPrivilegesFunction = BOOL(WINAPI*)(HANDLE, BOOL, PTOKEN_PRIVILEGES, DWORD,
                                                    PTOKEN_PRIVILEGES, PDWORD);
using InitiateSystemShutdownFunction = BOOL(WINAPI*)(LPSTR, LPSTR, DWORD, BOOL, BOOL);

template <typename Function>
Function Advapi32(const char* name) {
  return LateBoundFunction<Function>("advapi32.dll", name);
}

BOOL NotImplemented() {
  ::SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
  return FALSE;
}

}  // namespace

bool Win32SystemApi::SetComputerNameEx(int nameType, const std::string& name) {
  auto setName = LateBoundFunction<SetComputerNameExFunction>("kernel32.dll", "SetComputerNameExA");
  if (setName == nullptr) return NotImplemented();
  return setName(static_cast<COMPUTER_NAME_FORMAT>(nameType), name.c_str()) != 0;
}

std::string Win32SystemApi::ComputerName(uint32_t bufferSize) {
  // One byte more than the size stated, so the text always has a NUL after it.
  std::vector<char> buffer(static_cast<size_t>(bufferSize) + 1, '\0');
  DWORD size = bufferSize;
  if (!GetComputerNameA(buffer.data(), &size)) return std::string();
  return std::string(buffer.data());
}

void Win32SystemApi::Beep(uint32_t frequency, uint32_t durationMs) { ::Beep(frequency, durationMs); }

bool Win32SystemApi::EnablePrivilege(const std::string& machine, const std::string& privilege) {
  auto OpenProcessToken = Advapi32<OpenProcessTokenFunction>("OpenProcessToken");
  auto LookupPrivilegeValueA = Advapi32<LookupPrivilegeValueFunction>("LookupPrivilegeValueA");
  auto AdjustTokenPrivileges = Advapi32<AdjustTokenPrivilegesFunction>("AdjustTokenPrivileges");
  if (OpenProcessToken == nullptr || LookupPrivilegeValueA == nullptr ||
      AdjustTokenPrivileges == nullptr) {
    return NotImplemented();
  }
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) {
    token = nullptr;
  }
  LUID luid;
  const char* system = machine.empty() ? nullptr : machine.c_str();
  if (!LookupPrivilegeValueA(system, privilege.c_str(), &luid)) {
    if (token != nullptr) CloseHandle(token);
    return false;
  }
  // Only a failed look-up counts: whether Windows granted the privilege shows in the restart.
  if (token != nullptr) {
    TOKEN_PRIVILEGES privileges;
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Luid = luid;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
    CloseHandle(token);
  }
  return true;
}

bool Win32SystemApi::InitiateSystemShutdown(const std::string& machine, uint32_t timeoutSeconds,
                                            bool forceAppsClosed, bool rebootAfterShutdown) {
  auto shutDown = Advapi32<InitiateSystemShutdownFunction>("InitiateSystemShutdownA");
  if (shutDown == nullptr) return NotImplemented();
  // The function takes writable strings; an empty machine name means this computer.
  std::vector<char> name(machine.begin(), machine.end());
  name.push_back('\0');
  return shutDown(machine.empty() ? nullptr : name.data(), nullptr, timeoutSeconds, forceAppsClosed,
                  rebootAfterShutdown) != 0;
}

bool Win32SystemApi::ExitWindows(uint32_t flags) { return ExitWindowsEx(flags, 0) != 0; }
