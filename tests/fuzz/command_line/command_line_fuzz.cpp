// Fuzz target: both command lines. The input is Tolvik's whole command line as GetCommandLineA
// gives it, and, cut at its NUL bytes, the arguments of a maclist run in a scratch directory that
// holds a list and a log (arguments naming other directories are left out, so nothing outside it
// is written).
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "client/command_line.h"
#include "platform/profile_api.h"
#include "tests/fakes/fake_client_platform.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/scratch_directory.h"
#include "tools/maclist/maclist_commands.h"

namespace fs = std::filesystem;

namespace {

const char kList[] =
    "[Config]\r\nGateway=192.168.0.254\r\nGwmetric=0\r\nMask=255.255.255.0\r\nDNS1=DHCP\r\n"
    "DNS2=\r\nWorkGroup=WORKGROUP\r\n[list]\r\n00E0FD3A1B01=192.168.0.1,PC001\r\n"
    "00E0FD3A1B02=192.168.0.2,PC002\r\n";
const char kLog[] =
    "Rcvd DHCP Discover Msg for IP 0.0.0.0, Mac 00:E0:FD:3A:1B:01 [08/12 10:00:00.100]\r\n"
    "Rcvd DHCP Request Msg for IP 192.168.0.5, Mac 00:E0:FD:3A:1B:02 [08/12 10:00:01.200]\r\n";

// A directory of this process, the current one while it runs, removed when it exits.
const ScratchDirectory& EnterScratch() {
  static const ScratchDirectory scratch("fuzz-command-line", FuzzScratchBase());
  fs::current_path(scratch.Path(""));
  return scratch;
}

void CheckTolvik(const std::string& commandLine) {
  FakeClientPlatform fake;
  fake.system.commandLine = commandLine;
  ClientPlatform platform = fake.platform();
  ClientState state;
  bool autoApply = false;
  bool fetchRequested = false;
  ParseCommandLine(platform, state, &autoApply, &fetchRequested);
  // An address to fetch from always comes with the fetch flag.
  FUZZ_EXPECT(state.FetchAddress.empty() || fetchRequested, HexBytes(commandLine));

  // The pieces are the text less its separators: never longer, never holding two in a row.
  size_t total = 0;
  for (const std::string& piece : SplitAt(commandLine, '/')) {
    FUZZ_EXPECT(!piece.empty(), HexBytes(commandLine));
    total += piece.size();
  }
  FUZZ_EXPECT(total <= commandLine.size(), HexBytes(commandLine));
}

void CheckMaclist(const std::string& bytes) {
  const ScratchDirectory& scratch = EnterScratch();
  // Each run starts from the same two files; whatever an earlier run wrote goes.
  std::error_code ignored;
  for (const auto& entry : fs::directory_iterator(".", ignored)) fs::remove_all(entry.path(), ignored);
  scratch.WriteFile("mac.ini", kList);
  scratch.WriteFile("dhcp.log", kLog);
  std::vector<std::string> arguments;
  size_t begin = 0;
  while (begin <= bytes.size()) {
    size_t nul = bytes.find('\0', begin);
    if (nul == std::string::npos) nul = bytes.size();
    const std::string argument = bytes.substr(begin, nul - begin);
    if (argument.find('/') == std::string::npos && argument.find("..") == std::string::npos) {
      arguments.push_back(argument);
    }
    begin = nul + 1;
  }
  std::string out;
  std::string err;
  const int code = RunMaclist(arguments, SystemProfileApi(), &out, &err);
  FUZZ_EXPECT(code >= 0 && code <= 2, HexBytes(bytes) + "\nexit " + std::to_string(code));
  FUZZ_EXPECT(code == 0 || !err.empty() || !out.empty(), HexBytes(bytes));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  CheckTolvik(bytes);
  CheckMaclist(bytes);
  return 0;
}
