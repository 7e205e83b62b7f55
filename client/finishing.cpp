// Finishing actions: what the close of Tolvik's window does after an apply, the restart and the
// RunOnce registration.
#include "client/finishing.h"

#include "client/client_texts.h"
#include "common/program_directory.h"
#include "common/text_rules.h"

namespace {

// Windows 95, 98 and ME report their version with the top bit set.
constexpr uint32_t kWin9xVersionBit = 0x80000000u;

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// Writes the self-delete batch file and starts it at idle priority without waiting for it.
// Nothing is started unless every byte of the file was written: a half-written file could run a
// cut-off del line. An empty temporary path means GetTempPathA failed; the file is then not
// written at all rather than into the root of the current drive.
void StartSelfDelete(ClientPlatform& platform, const std::string& programPath) {
  std::string tempDirectory = platform.files.TempPath();
  if (tempDirectory.empty()) return;
  if (tempDirectory.back() != '\\') tempDirectory += '\\';
  const std::string batchPath = tempDirectory + client_texts::kSelfDeleteBatchName;
  if (!platform.files.WriteWholeFile(batchPath, SelfDeleteBatchText(tempDirectory, programPath))) {
    return;
  }
  ProcessLaunch launch;
  launch.commandLine = batchPath;  // the whole command line, not quoted
  launch.creationFlags = kIdlePriorityClass;
  launch.startupFlags = kStartfUseShowWindow;
  launch.showWindow = kSwHide;
  uint64_t processId = 0;
  if (platform.processes.Start(launch, &processId)) platform.processes.CloseHandles(processId);
}

}  // namespace

std::string SelfDeleteBatchText(const std::string& tempDirectory, const std::string& programPath) {
  // Tolvik's file is still in use while the first del lines run; each repeated line tries again
  // a moment later, and the last one removes the batch file itself.
  std::string text = "cd " + tempDirectory + "\r\n";
  for (int i = 0; i < 6; ++i) text += "del " + Quoted(programPath) + "\r\n";
  text += "del " + Quoted(tempDirectory + client_texts::kSelfDeleteBatchName) + "\r\n";
  return text;
}

void FinishOnClose(ClientPlatform& platform, const ClientState& state) {
  if (state.Applied && state.DeleteAfterwards) {
    const std::string programPath = platform.files.ModulePath();
    platform.files.DeleteFile(ProgramDirectory(programPath) + client_texts::kListFileName);
    if (state.RestartAfterwards) {
      // The restart comes before any batch file could run, so Windows removes the file itself.
      platform.files.DeleteAtNextStart(programPath);
    } else {
      StartSelfDelete(platform, programPath);
    }
  }
  if (state.RestartAfterwards && state.Applied) RestartComputer(platform.system, "", false, true);
  // The close is never refused: the window closes and the program ends after this returns.
}

bool RestartComputer(SystemApi& system, const std::string& machine, bool force, bool reboot) {
  if (system.Version() & kWin9xVersionBit) {
    if (!machine.empty()) return false;
    uint32_t flags = kEwxShutdown;
    if (reboot) flags |= kEwxReboot;
    if (force) flags |= kEwxForce;
    return system.ExitWindows(flags);
  }
  if (!system.EnablePrivilege(machine, "SeShutdownPrivilege")) return false;
  if (!system.EnablePrivilege(machine, "SeRemoteShutdownPrivilege")) return false;
  return system.InitiateSystemShutdown(machine, 0, force, reboot);
}

std::string BuildRunOnceCommand(ClientWindowApi& window, const std::string& programPath) {
  std::string switches;
  if (window.IsOptionTicked(StartupOption::AutoApply)) switches = "/A";
  if (window.IsOptionTicked(StartupOption::DeleteAfterwards)) switches += " /K";
  if (window.IsOptionTicked(StartupOption::RestartAfterwards)) switches += " /R";
  if (window.IsOptionTicked(StartupOption::FetchFromNetwork)) switches += " /N";
  const std::string address = TrimText(window.AddressBoxText());
  if (!address.empty()) switches += " /ip:" + address;
  return Quoted(programPath) + " " + switches;
}

void RegisterRunOnce(ClientPlatform& platform) {
  const std::string command = BuildRunOnceCommand(platform.window, platform.files.ModulePath());
  platform.registry.WriteStringValue(client_texts::kRunOnceKey, client_texts::kRunOnceValueName,
                                     command);
  platform.window.PostCloseRequest();
}
