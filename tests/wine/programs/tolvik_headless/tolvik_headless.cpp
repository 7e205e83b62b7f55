// Tolvik's logic on the real Win32 platform with a console window: runs the main flow as the
// window would at construction, then the posted close as the message loop would.
//
// Usage: tolvik_headless.exe [options] [Tolvik switches such as /A /K /R /N /IP:address]
// The whole process command line is read by Tolvik's own command-line rule, so the options come
// first and hold no "/" (give paths with "\"): they end up in the dropped first piece.
//   --info-out FILE   write the final information text's bytes to FILE
//   --state-out FILE  write the state record's fields, one "Name=value" LF-ended line each
//   --probe           list the adapter records, DHCP servers and connection names, then end
// The start-up boxes are all ticked and the address box is empty, as the window starts; a restart
// request is only printed, never passed to Windows.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "client/adapter_discovery.h"
#include "client/client_platform.h"
#include "client/client_state.h"
#include "client/finishing.h"
#include "client/main_flow.h"
#include "platform/win32/win32_adapters.h"
#include "platform/win32/win32_datagrams.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_process.h"
#include "platform/win32/win32_profile.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_system.h"
#include "platform/win32/win32_system_directory.h"

namespace {

struct Options {
  std::string infoOut;
  std::string stateOut;
  bool probe = false;
};

// Printable form of a byte text: ASCII as it is, every other byte as \xNN.
std::string Shown(const std::string& bytes) {
  std::string text;
  char cell[8];
  for (unsigned char c : bytes) {
    if (c >= 32 && c < 127 && c != '\\') {
      text += static_cast<char>(c);
    } else {
      std::snprintf(cell, sizeof cell, "\\x%02X", c);
      text += cell;
    }
  }
  return text;
}

// The window as Tolvik's logic uses it, kept in memory and reported on the console.
class ConsoleWindow : public ClientWindowApi {
 public:
  void SetInfoText(const std::string& text) override {
    infoText = text;
    std::printf("window: SetInfoText %s\n", Shown(text).c_str());
  }
  std::string InfoText() override { return infoText; }
  void ShowAndBringToFront() override {
    visible = true;
    std::printf("window: ShowAndBringToFront\n");
  }
  void ProcessPendingMessages() override { std::printf("window: ProcessPendingMessages\n"); }
  bool IsClosePending() override { return false; }
  void PostCloseRequest() override {
    ++closeRequests;
    std::printf("window: PostCloseRequest\n");
  }
  void Hide() override {
    visible = false;
    std::printf("window: Hide\n");
  }
  void ShowHelpBox(const std::string& text) override {
    std::printf("window: ShowHelpBox %s\n", Shown(text).c_str());
  }
  void InstallIconAndAboutItem() override { std::printf("window: InstallIconAndAboutItem\n"); }
  bool IsOptionTicked(StartupOption) override { return true; }
  std::string AddressBoxText() override { return std::string(); }

  std::string infoText;
  bool visible = true;
  int closeRequests = 0;
};

// The real system calls, except that a restart is only reported.
class GuardedSystemApi : public SystemApi {
 public:
  explicit GuardedSystemApi(SystemApi& real) : real_(real) {}

  std::string CommandLine() override { return real_.CommandLine(); }
  uint32_t Version() override { return real_.Version(); }
  void SetLastError(uint32_t code) override {
    std::printf("system: SetLastError %u\n", static_cast<unsigned>(code));
    real_.SetLastError(code);
  }
  uint32_t SetComputerName(const std::string& name) override {
    std::printf("system: SetComputerName %s\n", Shown(name).c_str());
    return real_.SetComputerName(name);
  }
  uint32_t SetComputerNameEx(int nameType, const std::string& name) override {
    std::printf("system: SetComputerNameEx %d %s\n", nameType, Shown(name).c_str());
    return real_.SetComputerNameEx(nameType, name);
  }
  std::string EnvironmentVariable(const std::string& name) override {
    return real_.EnvironmentVariable(name);
  }
  uint32_t TickCount() override { return real_.TickCount(); }
  std::string SystemDirectory() override { return real_.SystemDirectory(); }
  void Sleep(uint32_t milliseconds) override { real_.Sleep(milliseconds); }
  LocalTime Now() override { return real_.Now(); }
  std::string ComputerName(uint32_t bufferSize) override { return real_.ComputerName(bufferSize); }
  void Beep(uint32_t frequency, uint32_t durationMs) override {
    std::printf("system: Beep %u %u\n", static_cast<unsigned>(frequency),
                static_cast<unsigned>(durationMs));
  }
  bool IsAdministrator() override {
    const bool administrator = real_.IsAdministrator();
    std::printf("system: IsAdministrator %d\n", administrator ? 1 : 0);
    return administrator;
  }
  DomainJoinOutcome JoinDomain(const DomainJoinRequest& request) override {
    const DomainJoinOutcome outcome = real_.JoinDomain(request);
    std::printf("system: JoinDomain %s %d %u\n", Shown(request.domain).c_str(),
                outcome.available ? 1 : 0, static_cast<unsigned>(outcome.status));
    return outcome;
  }
  DomainMembership JoinInformation() override { return real_.JoinInformation(); }
  std::string AnsiOfUtf16(const std::string& bytes) override { return real_.AnsiOfUtf16(bytes); }
  bool EnablePrivilege(const std::string& machine, const std::string& privilege) override {
    std::printf("system: EnablePrivilege %s\n", Shown(privilege).c_str());
    return real_.EnablePrivilege(machine, privilege);
  }
  bool InitiateSystemShutdown(const std::string&, uint32_t timeoutSeconds, bool forceAppsClosed,
                              bool rebootAfterShutdown) override {
    std::printf("system: InitiateSystemShutdown %u %d %d\n", static_cast<unsigned>(timeoutSeconds),
                forceAppsClosed ? 1 : 0, rebootAfterShutdown ? 1 : 0);
    return true;
  }
  bool ExitWindows(uint32_t flags) override {
    std::printf("system: ExitWindows %u\n", static_cast<unsigned>(flags));
    return true;
  }

 private:
  SystemApi& real_;
};

bool ParseOptions(int argc, char** argv, Options* options) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--info-out" && hasValue) {
      options->infoOut = argv[++i];
    } else if (arg == "--state-out" && hasValue) {
      options->stateOut = argv[++i];
    } else if (arg == "--probe") {
      options->probe = true;
    } else if (!arg.empty() && arg[0] == '/') {
      continue;  // Tolvik's own switches: read by the main flow from the whole command line
    } else {
      std::fprintf(stderr, "tolvik_headless: unknown option %s\n", arg.c_str());
      return false;
    }
  }
  return true;
}

bool WriteBytes(const std::string& path, const std::string& bytes) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && ok;
}

std::string StateText(const ClientState& state) {
  std::string text;
  const auto field = [&text](const char* name, const std::string& value) {
    text += std::string(name) + "=" + value + "\n";
  };
  const auto list = [&text](const char* name, const std::vector<std::string>& values) {
    for (size_t i = 0; i < values.size(); ++i) {
      text += std::string(name) + "[" + std::to_string(i) + "]=" + values[i] + "\n";
    }
  };
  field("EntryIp", state.EntryIp);
  field("Mask", state.List.Mask);
  field("TargetConnection", state.TargetConnection);
  field("ComputerName", state.ComputerName);
  field("Gateway", state.List.Gateway);
  field("GwMetric", state.List.Gwmetric);
  field("Domain", state.List.Domain);
  field("Workgroup", state.List.WorkGroup);
  field("Username", state.List.Username);
  field("Password", state.List.password);
  field("FetchAddress", state.FetchAddress);
  field("AppServerIP", state.AppServerIP);
  field("MainCCSIP", state.MainCCSIP);
  field("BackCCSIP", state.BackCCSIP);
  field("IcdPath", state.IcdPath);
  field("Dns1", state.List.DNS1);
  field("Dns2", state.List.DNS2);
  field("DeleteAfterwards", std::to_string(state.DeleteAfterwards));
  field("Applied", std::to_string(state.Applied));
  field("RestartAfterwards", std::to_string(state.RestartAfterwards));
  list("ConnectionNames", state.ConnectionNames);
  list("AdapterMacs", state.AdapterMacs);
  list("DhcpServers", state.DhcpServers);
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, &options)) return 2;
  std::setvbuf(stdout, nullptr, _IONBF, 0);  // keep the report in step with child processes
  KeepDllSearchToSystemDirectory();  // as Tolvik does before anything else

  Win32ProfileApi profile;
  Win32RegistryApi registry;
  Win32AdapterApi adapters;
  Win32ProcessApi processes;
  Win32FileApi files;
  Win32SystemApi realSystem;
  GuardedSystemApi system(realSystem);
  Win32DatagramApi datagrams;
  ConsoleWindow window;
  ClientPlatform platform{profile, registry, adapters, processes, files, system, window, datagrams};
  ClientState state;

  if (options.probe) {
    std::vector<std::string> names;
    std::vector<std::string> macs = EnumerateAdapters(platform, state, names);
    for (size_t i = 0; i < macs.size(); ++i) {
      std::printf("adapter %s %s\n", names[i].c_str(), macs[i].c_str());
    }
    for (const std::string& server : state.DhcpServers) {
      std::printf("dhcp-server %s\n", server.c_str());
    }
    state.ConnectionNames = names;
    ReadConnectionNames(platform, state);
    for (size_t i = 0; i < names.size(); ++i) {
      std::printf("connection %s %s\n", names[i].c_str(), Shown(state.ConnectionNames[i]).c_str());
    }
    return 0;
  }

  std::printf("run: first\n");
  RunMainFlow(platform, state, true);

  // The message loop: a posted close is handled; otherwise the window stays open.
  if (window.closeRequests > 0) {
    std::printf("close: FinishOnClose\n");
    FinishOnClose(platform, state);
  } else {
    std::printf("waiting: the window stays open\n");
  }

  std::printf("visible: %d\n", window.visible ? 1 : 0);
  std::printf("info: %s\n", Shown(window.infoText).c_str());
  bool ok = true;
  if (!options.infoOut.empty()) ok = WriteBytes(options.infoOut, window.infoText) && ok;
  if (!options.stateOut.empty()) ok = WriteBytes(options.stateOut, StateText(state)) && ok;
  if (!ok) std::fprintf(stderr, "tolvik_headless: could not write an output file\n");
  return ok ? 0 : 1;
}
