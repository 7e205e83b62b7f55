// Stand-in netapi32.dll for the end-to-end tests (Wine has no NetJoinDomain): each call appends
// one line to "commands.log" in its record directory (tests/wine/command_record.h), after the
// stand-in tools' command lines, and changes nothing. Texts go back into the ANSI code page, so a
// join whose UTF-16 texts were converted with the right code page shows the same bytes as the
// wmic line would. A copy loaded from outside the system directory records its very loading, as
// a DLL planted beside a program would run its code then.
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
                             Shown(accountOu) + ", " + Shown(account) + ", " + Shown(password) +
                             ", " + std::to_string(options) + ")\n";
  // A record that cannot be written fails the call; the test then sees no record.
  if (!AppendToFile(RecordDirectoryOf(g_thisDll) + "commands.log", record)) return ERROR_ACCESS_DENIED;
  return NO_ERROR;  // NERR_Success
}
