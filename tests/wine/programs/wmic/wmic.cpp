// Stand-in wmic for the end-to-end tests: records its raw command line, changes nothing, and
// answers a method call the way wmic does: its out-parameters block with "ReturnValue = N;", N
// taken from the environment variable WMIC_RETURN_VALUE (0 when unset), exit code 0 either way.
// With WMIC_OUTPUT_UTF16=1 it writes UTF-16, as wmic does into a pipe on some versions of
// Windows. With WMIC_NO_INSTANCE=1 it finds no computer of the where clause's name and prints
// what wmic prints then, "No Instance(s) Available.", on its error output, with no block.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "tests/wine/command_record.h"

namespace {

std::string EnvironmentText(const char* name) {
  char value[64] = {};
  const DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
  return length > 0 && length < sizeof value ? std::string(value, length) : std::string();
}

void WriteOutput(const std::string& text, bool utf16, DWORD stream = STD_OUTPUT_HANDLE) {
  std::string bytes;
  if (utf16) {
    bytes = "\xFF\xFE";
    for (char c : text) bytes += std::string(1, c) + '\0';
  } else {
    bytes = text;
  }
  DWORD written = 0;
  WriteFile(GetStdHandle(stream), bytes.data(), static_cast<DWORD>(bytes.size()),
            &written, nullptr);
}

}  // namespace

int main() {
  // A missing record shows in the test that reads the log; commands.err says why.
  if (!AppendCommandRecord()) return 1;
  if (EnvironmentText("WMIC_NO_INSTANCE") == "1") {
    WriteOutput("No Instance(s) Available.\r\n", false, STD_ERROR_HANDLE);
    return 0;
  }
  std::string value = EnvironmentText("WMIC_RETURN_VALUE");
  if (value.empty()) value = "0";
  WriteOutput("Executing (Win32_ComputerSystem)->JoinDomainOrWorkgroup()\r\n"
              "Method execution successful.\r\nOut Parameters:\r\ninstance of __PARAMETERS\r\n"
              "{\r\n\tReturnValue = " + value + ";\r\n};\r\n",
              EnvironmentText("WMIC_OUTPUT_UTF16") == "1");
  return 0;
}
