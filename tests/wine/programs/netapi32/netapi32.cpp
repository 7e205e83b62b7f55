// Stand-in netapi32.dll for the end-to-end tests (Wine has no NetJoinDomain): each call appends
// one line to "commands.log" in its record directory (tests/wine/command_record.h), after the
// stand-in tools' command lines, and changes nothing. Texts go back into the ANSI code page, so a
// join whose UTF-16 texts were converted with the right code page shows the same bytes as the
// wmic line would; a password is never written down, only "***" for one that was given. A copy
// loaded from outside the system directory records its very loading, as a DLL planted beside a
// program would run its code then.
// It answers as Windows would on a PC that the environment describes: NETAPI_JOINED=NAME makes it
// a member of the domain NAME (NetGetJoinInformation says so, and a domain join fails with 2691,
// NERR_SetupAlreadyJoined), otherwise a member of the workgroup WORKGROUP; NETAPI_PASSWORD=TEXT
// is the account's password, any other one fails a domain join with 1326 (ERROR_LOGON_FAILURE).
#include <windows.h>

#include <string>

#include "tests/wine/command_record.h"

namespace {

HMODULE g_thisDll = nullptr;  // set when the DLL is loaded

// NULL for a null pointer, else the text between double quotes.
std::string Shown(LPCWSTR text) {
  if (text == nullptr) return "NULL";
  const int length = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string bytes(length > 0 ? static_cast<size_t>(length) : 1, '\0');
  if (length > 0) WideCharToMultiByte(CP_ACP, 0, text, -1, &bytes[0], length, nullptr, nullptr);
  bytes.resize(bytes.size() - 1);  // the converted NUL
  return "\"" + bytes + "\"";
}

std::string EnvironmentText(const char* name) {
  char value[256] = {};
  const DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
  return length > 0 && length < sizeof value ? std::string(value, length) : std::string();
}

bool Record(const std::string& line) {
  return AppendToFile(RecordDirectoryOf(g_thisDll) + "commands.log", line + "\n");
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  g_thisDll = instance;
  if (!RunsFromSystemDirectory(instance)) {
    AppendToFile(FolderOfModule(instance) + "commands.log", "netapi32.dll loaded\n");
  }
  return TRUE;
}

extern "C" DWORD WINAPI NetJoinDomain(LPCWSTR server, LPCWSTR domain, LPCWSTR accountOu,
                                      LPCWSTR account, LPCWSTR password, DWORD options) {
  const std::string record = "NetJoinDomain(" + Shown(server) + ", " + Shown(domain) + ", " +
                             Shown(accountOu) + ", " + Shown(account) + ", " +
                             (password == nullptr ? "NULL" : "\"***\"") + ", " +
                             std::to_string(options) + ")";
  // A record that cannot be written fails the call; the test then sees no record.
  if (!Record(record)) return ERROR_ACCESS_DENIED;
  if ((options & 1) == 0) return NO_ERROR;  // a workgroup: Windows joins it whatever it was in
  if (!EnvironmentText("NETAPI_JOINED").empty()) return 2691;  // NERR_SetupAlreadyJoined
  const std::string expected = EnvironmentText("NETAPI_PASSWORD");
  if (!expected.empty() && (password == nullptr || Shown(password) != "\"" + expected + "\"")) {
    return ERROR_LOGON_FAILURE;
  }
  return NO_ERROR;  // NERR_Success
}

extern "C" DWORD WINAPI NetGetJoinInformation(LPCWSTR server, LPWSTR* name, DWORD* status) {
  if (!Record("NetGetJoinInformation(" + Shown(server) + ")")) return ERROR_ACCESS_DENIED;
  const std::string domain = EnvironmentText("NETAPI_JOINED");
  const std::string joined = domain.empty() ? "WORKGROUP" : domain;
  *status = domain.empty() ? 2 : 3;  // NetSetupWorkgroupName, NetSetupDomainName
  *name = static_cast<LPWSTR>(LocalAlloc(LMEM_ZEROINIT, (joined.size() + 1) * sizeof(WCHAR)));
  if (*name == nullptr) return ERROR_NOT_ENOUGH_MEMORY;
  MultiByteToWideChar(CP_ACP, 0, joined.c_str(), -1, *name, static_cast<int>(joined.size() + 1));
  return NO_ERROR;
}

extern "C" DWORD WINAPI NetApiBufferFree(LPVOID buffer) {
  LocalFree(buffer);
  return NO_ERROR;
}
