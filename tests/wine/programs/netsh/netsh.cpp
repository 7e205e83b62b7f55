// Stand-in netsh for the end-to-end tests: records its raw command line, changes nothing, and
// refuses what Windows' netsh refuses, with exit code 1:
// - "set address CONNECTION DHCP" while "netsh-dhcp.txt" lies beside its record (the test writes
//   it where the adapter's keys say DHCP): "DHCP is already enabled on this interface.";
// - "add dns CONNECTION ADDRESS" for an address the connection has already. The servers added
//   are kept in "netsh-dns.txt" beside the record, one "CONNECTION|ADDRESS" line each;
//   "set dns CONNECTION static none" removes that connection's.
#include <windows.h>

#include <cstdio>
#include <string>

#include "tests/wine/command_record.h"

namespace {

std::string ReadFileText(const std::string& path) {
  std::string text;
  FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return text;
  char buffer[4096];
  size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, got);
  std::fclose(file);
  return text;
}

void WriteFileText(const std::string& path, const std::string& text) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return;
  std::fwrite(text.data(), 1, text.size(), file);
  std::fclose(file);
}

int Refuse(const char* message) {
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), message, lstrlenA(message), &written, nullptr);
  return 1;
}

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

int main() {
  // A missing record shows in the test that reads the log; commands.err says why.
  if (!AppendCommandRecord()) return 1;
  std::string line = GetCommandLineA();
  while (!line.empty() && line.back() == ' ') line.pop_back();  // Tolvik ends "DHCP " with one
  const std::string directory = RecordDirectory();
  const std::string dnsFile = directory + "netsh-dns.txt";
  const std::string setAddress = " interface ip set address ";
  const std::string setDns = " interface ip set dns ";
  const std::string addDns = " interface ip add dns ";
  size_t at = std::string::npos;

  if (line.find(setAddress) != std::string::npos && EndsWith(line, " DHCP") &&
      GetFileAttributesA((directory + "netsh-dhcp.txt").c_str()) != INVALID_FILE_ATTRIBUTES) {
    return Refuse("DHCP is already enabled on this interface.\r\n");
  }
  if ((at = line.find(setDns)) != std::string::npos && EndsWith(line, " static none")) {
    const std::string connection =
        line.substr(at + setDns.size(), line.size() - at - setDns.size() - 12) + "|";
    std::string kept, text = ReadFileText(dnsFile);
    for (size_t begin = 0, end; begin < text.size(); begin = end + 1) {
      end = text.find('\n', begin);
      if (end == std::string::npos) end = text.size();
      const std::string entry = text.substr(begin, end - begin);
      if (!entry.empty() && entry.compare(0, connection.size(), connection) != 0) kept += entry + "\n";
    }
    WriteFileText(dnsFile, kept);
  } else if ((at = line.find(addDns)) != std::string::npos) {
    const std::string rest = line.substr(at + addDns.size());
    const size_t space = rest.rfind(' ');
    const std::string entry = rest.substr(0, space) + "|" + rest.substr(space + 1) + "\n";
    const std::string text = ReadFileText(dnsFile);
    if (("\n" + text).find("\n" + entry) != std::string::npos) {
      return Refuse("The object is already in the list.\r\n");
    }
    WriteFileText(dnsFile, text + entry);
  }
  return 0;
}
