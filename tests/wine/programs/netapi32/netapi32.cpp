// Stand-in netapi32.dll for the end-to-end tests (Wine has no NetJoinDomain): each call appends
// one line to "commands.log" beside this DLL, after the stand-in tools' command lines, and
// changes nothing. Texts go back into the ANSI code page, so a join whose UTF-16 texts were
// converted with the right code page shows the same bytes as the wmic line would.
#include <windows.h>

#include <string>

namespace {

HMODULE g_thisDll = nullptr;  // set when the DLL is loaded

std::string DirectoryOfThisDll() {
  char path[MAX_PATH * 4] = {};
  const DWORD length = GetModuleFileNameA(g_thisDll, path, sizeof path);
  const std::string text(path, length);
  const size_t slash = text.rfind('\\');
  return slash == std::string::npos ? std::string() : text.substr(0, slash + 1);
}

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
  if (reason == DLL_PROCESS_ATTACH) g_thisDll = instance;
  return TRUE;
}

extern "C" DWORD WINAPI NetJoinDomain(LPCWSTR server, LPCWSTR domain, LPCWSTR accountOu,
                                      LPCWSTR account, LPCWSTR password, DWORD options) {
  const std::string record = "NetJoinDomain(" + Shown(server) + ", " + Shown(domain) + ", " +
                             Shown(accountOu) + ", " + Shown(account) + ", " + Shown(password) +
                             ", " + std::to_string(options) + ")\n";
  const std::string logPath = DirectoryOfThisDll() + "commands.log";
  HANDLE file = CreateFileA(logPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return ERROR_ACCESS_DENIED;  // the test sees no record
  DWORD written = 0;
  WriteFile(file, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
  CloseHandle(file);
  return NO_ERROR;  // NERR_Success
}
