// SystemApi on Windows, through the ANSI (...A) functions.
#include "platform/win32/win32_system.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "platform/win32/win32_late_bound.h"
#include "platform/win32/win32_system_directory.h"

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

uint32_t Win32SystemApi::SetComputerName(const std::string& name) {
  if (SetComputerNameA(name.c_str())) return 0;
  return GetLastError();
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

uint32_t Win32SystemApi::SetComputerNameEx(int nameType, const std::string& name) {
  auto setName = LateBoundFunction<SetComputerNameExFunction>("kernel32.dll", "SetComputerNameExA");
  if (setName == nullptr) return ERROR_CALL_NOT_IMPLEMENTED;
  if (setName(static_cast<COMPUTER_NAME_FORMAT>(nameType), name.c_str())) return 0;
  return GetLastError();
}

std::string Win32SystemApi::ComputerName(uint32_t bufferSize) {
  // One byte more than the size stated, so the text always has a NUL after it.
  std::vector<char> buffer(static_cast<size_t>(bufferSize) + 1, '\0');
  DWORD size = bufferSize;
  if (!GetComputerNameA(buffer.data(), &size)) return std::string();
  return std::string(buffer.data());
}

void Win32SystemApi::Beep(uint32_t frequency, uint32_t durationMs) { ::Beep(frequency, durationMs); }

std::string Win32SystemApi::EnvironmentVariable(const std::string& name) {
  // The size asked first: a value may be longer than any fixed buffer.
  const DWORD size = GetEnvironmentVariableA(name.c_str(), nullptr, 0);
  if (size == 0) return std::string();
  std::vector<char> buffer(size + 1, '\0');
  const DWORD length = GetEnvironmentVariableA(name.c_str(), buffer.data(), size + 1);
  if (length == 0 || length > size) return std::string();
  return std::string(buffer.data(), length);
}

uint32_t Win32SystemApi::TickCount() { return GetTickCount(); }

std::string Win32SystemApi::SystemDirectory() { return Win32SystemDirectory(); }

void Win32SystemApi::Sleep(uint32_t milliseconds) { ::Sleep(milliseconds); }

LocalTime Win32SystemApi::Now() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  LocalTime time;
  time.year = now.wYear;
  time.month = now.wMonth;
  time.day = now.wDay;
  time.hour = now.wHour;
  time.minute = now.wMinute;
  time.second = now.wSecond;
  return time;
}

namespace {

// An ANSI-code-page (CP_ACP: GBK, code page 936, on the target PCs) text as UTF-16.
std::vector<wchar_t> AnsiToWide(const std::string& text) {
  std::vector<wchar_t> wide(1, L'\0');
  if (text.empty()) return wide;
  const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0);
  if (length <= 0) return wide;
  wide.assign(static_cast<size_t>(length) + 1, L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

// A NUL-terminated UTF-16 text in the ANSI code page (CP_ACP: GBK on the target PCs).
std::string WideToAnsi(const wchar_t* text) {
  const int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return std::string();
  std::vector<char> ansi(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, text, -1, ansi.data(), size, nullptr, nullptr);
  return std::string(ansi.data());
}

}  // namespace

std::string Win32SystemApi::AnsiOfUtf16(const std::string& bytes) {
  std::vector<wchar_t> wide(bytes.size() / 2 + 1, L'\0');
  std::memcpy(wide.data(), bytes.data(), bytes.size() / 2 * 2);
  return WideToAnsi(wide.data());
}

bool Win32SystemApi::IsAdministrator() {
  // Found at run time: Windows 98 has no CheckTokenMembership, and knows no rights either.
  using AllocateSidFunction = BOOL(WINAPI*)(PSID_IDENTIFIER_AUTHORITY, BYTE, DWORD, DWORD, DWORD,
                                            DWORD, DWORD, DWORD, DWORD, DWORD, PSID*);
  using FreeSidFunction = PVOID(WINAPI*)(PSID);
  using CheckMembershipFunction = BOOL(WINAPI*)(HANDLE, PSID, PBOOL);
  const auto allocateSid = Advapi32<AllocateSidFunction>("AllocateAndInitializeSid");
  const auto freeSid = Advapi32<FreeSidFunction>("FreeSid");
  const auto checkMembership = Advapi32<CheckMembershipFunction>("CheckTokenMembership");
  if (allocateSid == nullptr || freeSid == nullptr || checkMembership == nullptr) return true;

  // The built-in Administrators alias, S-1-5-32-544.
  SID_IDENTIFIER_AUTHORITY ntAuthority = {SECURITY_NT_AUTHORITY};
  PSID administrators = nullptr;
  if (!allocateSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0,
                   0, 0, 0, &administrators)) {
    return false;
  }
  // A null token: the thread's impersonation token, else the process's own. A check that fails
  // counts as no rights, so that nothing is reported as changed that may not have been.
  BOOL member = FALSE;
  if (!checkMembership(nullptr, administrators, &member)) member = FALSE;
  freeSid(administrators);
  return member != FALSE;
}

DomainJoinOutcome Win32SystemApi::JoinDomain(const DomainJoinRequest& request) {
  using NetJoinDomainFunction =
      DWORD(WINAPI*)(LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, DWORD);
  DomainJoinOutcome outcome;
  // NT only, and looked up so that Tolvik still loads where netapi32.dll lacks it; from the
  // system directory only (see win32_late_bound.h).
  const auto netJoinDomain = LateBoundFunction<NetJoinDomainFunction>("netapi32.dll", "NetJoinDomain");
  if (netJoinDomain == nullptr) {
    outcome.status = GetLastError();  // from LoadLibraryA or GetProcAddress
    return outcome;
  }
  const std::vector<wchar_t> server = AnsiToWide(request.server);
  const std::vector<wchar_t> domain = AnsiToWide(request.domain);
  const std::vector<wchar_t> accountOu = AnsiToWide(request.accountOu);
  const std::vector<wchar_t> account = AnsiToWide(request.account);
  const std::vector<wchar_t> password = AnsiToWide(request.password);
  // An empty text means "none": a null pointer, as NetJoinDomain takes it.
  const auto orNull = [](const std::string& text, const std::vector<wchar_t>& wide) {
    return text.empty() ? nullptr : wide.data();
  };
  outcome.available = true;
  outcome.status = netJoinDomain(orNull(request.server, server), orNull(request.domain, domain),
                                 orNull(request.accountOu, accountOu),
                                 orNull(request.account, account),
                                 orNull(request.password, password), request.options);
  return outcome;
}

DomainMembership Win32SystemApi::JoinInformation() {
  using GetJoinInformationFunction = DWORD(WINAPI*)(LPCWSTR, LPWSTR*, DWORD*);
  using BufferFreeFunction = DWORD(WINAPI*)(LPVOID);
  constexpr DWORD kNetSetupDomainName = 3;  // NETSETUP_JOIN_STATUS
  DomainMembership membership;
  const auto getJoinInformation =
      LateBoundFunction<GetJoinInformationFunction>("netapi32.dll", "NetGetJoinInformation");
  const auto bufferFree = LateBoundFunction<BufferFreeFunction>("netapi32.dll", "NetApiBufferFree");
  if (getJoinInformation == nullptr || bufferFree == nullptr) return membership;
  LPWSTR name = nullptr;
  DWORD status = 0;
  if (getJoinInformation(nullptr, &name, &status) != 0) return membership;
  if (name != nullptr) {
    membership.domain = WideToAnsi(name);  // the domain's NetBIOS name
    bufferFree(name);  // the system allocated it
  }
  membership.inDomain = status == kNetSetupDomainName;
  return membership;
}

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
