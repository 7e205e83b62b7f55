// Finishing actions: what the close of Tolvik's window does after an apply, the restart and the
// RunOnce registration.
#include "client/finishing.h"

#include "client/client_texts.h"
#include "client/system_programs.h"
#include "common/list_file.h"
#include "common/program_directory.h"
#include "common/text_rules.h"

namespace {

// Windows 95, 98 and ME report their version with the top bit set.
constexpr uint32_t kWin9xVersionBit = 0x80000000u;

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// cmd expands "%" in every line of a batch file, also between double quotes; "%%" stands for
// one "%", so a path holding one still names its own file.
std::string BatchPath(const std::string& path) {
  std::string text;
  for (char c : path) {
    text += c;
    if (c == '%') text += '%';
  }
  return text;
}

// Writes the self-delete batch file and starts it at idle priority without waiting for it.
// Nothing is started unless every byte of the file was written: a half-written file could run a
// cut-off del line. An empty temporary path means GetTempPathA failed; the file is then not
// written at all rather than into the root of the current drive. The temporary folder is the
// user's own: besides that account (the administrator Tolvik runs as) only SYSTEM and the
// Administrators may write there, so no ordinary user can swap the file before cmd runs it.
void StartSelfDelete(ClientPlatform& platform, const std::string& programPath) {
  std::string tempDirectory = platform.files.TempPath();
  if (tempDirectory.empty()) return;
  if (tempDirectory.back() != '\\') tempDirectory += '\\';
  const std::string batchPath = tempDirectory + client_texts::kSelfDeleteBatchName;
  const ProcessLaunch launch = SelfDeleteLaunch(platform.system.SystemDirectory(), batchPath);
  if (launch.applicationName.empty()) return;  // no cmd.exe Tolvik may start
  if (!platform.files.WriteWholeFile(batchPath, SelfDeleteBatchText(tempDirectory, programPath))) {
    return;
  }
  uint64_t processId = 0;
  uint32_t startError = 0;
  if (platform.processes.Start(launch, &processId, &startError)) {
    platform.processes.CloseHandles(processId);
  }
}

}  // namespace

ProcessLaunch SelfDeleteLaunch(const std::string& systemDirectory, const std::string& batchPath) {
  ProcessLaunch launch;
  // A batch file is run by the command interpreter, named as the application, with "/c" and the
  // file on its command line. cmd takes away the first and the last double quote after /c, so
  // the path keeps a pair of its own: a temporary folder with a space or a bracket
  // (C:\Users\Lab (2)\...) still names one file.
  launch.applicationName = SystemProgramPath(systemDirectory, kCommandInterpreter);
  launch.commandLine = std::string(kCommandInterpreter.commandName) + " /c " + Quoted(Quoted(batchPath));
  launch.creationFlags = kIdlePriorityClass;
  launch.startupFlags = kStartfUseShowWindow;
  launch.showWindow = kSwHide;
  return launch;
}

std::string SelfDeleteBatchText(const std::string& tempDirectory, const std::string& programPath) {
  // Tolvik's file is still in use while the first del lines run; each repeated line tries again
  // a moment later, and the last one removes the batch file itself.
  std::string text = "cd " + BatchPath(tempDirectory) + "\r\n";
  for (int i = 0; i < 6; ++i) text += "del " + Quoted(BatchPath(programPath)) + "\r\n";
  text += "del " + Quoted(BatchPath(tempDirectory + client_texts::kSelfDeleteBatchName)) + "\r\n";
  return text;
}

void FinishOnClose(ClientPlatform& platform, const ClientState& state) {
  if (state.Applied && state.DeleteAfterwards) {
    const std::string programPath = platform.files.ModulePath();
    platform.files.DeleteFile(ProgramDirectory(programPath) + kListFileName);
    // Windows removes the file at the next start. Without /R the batch file also tries at once,
    // but its del lines can all run while Tolvik's file is still in use and leave it in place,
    // so the request at the next start stands behind them.
    platform.files.DeleteAtNextStart(programPath);
    if (!state.RestartAfterwards) StartSelfDelete(platform, programPath);
  }
  // A domain join that waits for the new name (Windows 2000 and XP) needs the restart as well.
  if (state.RestartAfterwards && (state.Applied || state.JoinPending)) {
    RestartComputer(platform.system, "", false, true);
  }
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
