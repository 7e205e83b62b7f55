// ApplySettings: rights check, address, DNS, name, membership and ICD steps, then completion or
// the list of the steps that failed.
#include "client/apply_settings.h"

#include "client/client_texts.h"
#include "client/run_and_wait.h"
#include "client/system_programs.h"
#include "common/program_directory.h"
#include "common/text_rules.h"

namespace {

// GetComputerNameA is given a 17-byte buffer with the size stated as 16.
constexpr uint32_t kComputerNameBufferSize = 16;
constexpr uint32_t kBeepFrequency = 900;
constexpr uint32_t kBeepDurationMs = 600;
// What a wait that ended without the child's end reports (WAIT_TIMEOUT).
constexpr uint32_t kWaitTimeout = 258;
// Windows Vista is version 6.0; GetVersion keeps the major version in its lowest byte.
constexpr uint32_t kVistaMajorVersion = 6;

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// Runs one netsh or wmic command (waited for without limit) and records its outcome. netsh
// reports a failure through its exit code. wmic ends with 0 whenever it reached WMI: its
// result is the "ReturnValue = N;" line it prints, so its output is read for it.
StepOutcome RunStepCommand(ClientPlatform& platform, ApplyStep step, const SystemProgram& program,
                           const std::string& arguments, const std::string& shownArguments,
                           bool readsReturnValue) {
  RunRequest request;
  request.arguments = arguments;
  request.showState = kSwHide;
  request.timeoutMs = kInfinite;
  request.captureOutput = readsReturnValue;
  const RunResult run = RunSystemProgram(platform, program, request);

  StepOutcome outcome;
  outcome.step = step;
  outcome.action = FormCommandLine(program.commandName, shownArguments);
  outcome.code = run.code;
  if (run.outcome == RunOutcome::kNotStarted) {
    outcome.result = StepResult::kNotStarted;
  } else if (run.outcome == RunOutcome::kStillRunning) {
    outcome.result = StepResult::kFailed;
    outcome.code = kWaitTimeout;
  } else if (run.code != 0) {
    outcome.result = StepResult::kFailed;
  } else if (readsReturnValue && FindWmicReturnValue(run.output, &outcome.code) &&
             outcome.code != 0) {
    outcome.result = StepResult::kFailed;
  }
  return outcome;
}

void RunNetsh(ClientPlatform& platform, ClientState& state, ApplyStep step,
              const std::string& arguments) {
  state.StepOutcomes.push_back(RunStepCommand(platform, step, kNetsh, arguments, arguments, false));
}

void RecordCall(ClientState& state, ApplyStep step, const std::string& call, uint32_t code) {
  StepOutcome outcome;
  outcome.step = step;
  outcome.action = call;
  outcome.result = code == 0 ? StepResult::kDone : StepResult::kFailed;
  outcome.code = code;
  state.StepOutcomes.push_back(outcome);
}

void AddressStep(ClientPlatform& platform, ClientState& state, const std::string& connection) {
  const std::string setAddress = " interface ip set address " + connection;
  if (state.EntryIp == "DHCP") {
    platform.window.SetInfoText(client_texts::kChangingNetwork);
    RunNetsh(platform, state, ApplyStep::kAddress, setAddress + " DHCP ");
  } else if (state.List.Gateway.empty()) {
    platform.window.SetInfoText(client_texts::kChangingIp);
    RunNetsh(platform, state, ApplyStep::kAddress,
             setAddress + " static " + state.EntryIp + " " + state.List.Mask);
  } else {
    // "none" removes the gateway; netsh then takes no metric.
    if (EqualsIgnoringAsciiCase(state.List.Gateway, "none")) state.List.Gwmetric.clear();
    platform.window.SetInfoText(client_texts::kChangingIpAndGateway);
    RunNetsh(platform, state, ApplyStep::kAddress,
             setAddress + " static " + state.EntryIp + " " + state.List.Mask + " " + state.List.Gateway +
                 " " + state.List.Gwmetric);
  }
}

void DnsStep(ClientPlatform& platform, ClientState& state, const std::string& connection) {
  if (state.List.DNS1.empty()) return;
  platform.window.SetInfoText(client_texts::kChangingDns);
  // Clearing the static servers first lets an adapter on DHCP use the servers DHCP hands out.
  RunNetsh(platform, state, ApplyStep::kDns, " interface ip set dns " + connection + " static none");
  if (state.List.DNS1 == "DHCP") return;
  RunNetsh(platform, state, ApplyStep::kDns, " interface ip add dns " + connection + " " + state.List.DNS1);
  if (!state.List.DNS2.empty()) {
    RunNetsh(platform, state, ApplyStep::kDns,
             " interface ip add dns " + connection + " " + state.List.DNS2);
  }
}

void ComputerNameStep(ClientPlatform& platform, ClientState& state) {
  platform.window.SetInfoText(client_texts::kChangingComputerName);
  // Both take effect at the next start of Windows.
  RecordCall(state, ApplyStep::kComputerName, "SetComputerNameA(" + state.ComputerName + ")",
             platform.system.SetComputerName(state.ComputerName));
  RecordCall(state, ApplyStep::kComputerName,
             "SetComputerNameExA(" + std::to_string(kComputerNamePhysicalDnsHostname) + ", " +
                 state.ComputerName + ")",
             platform.system.SetComputerNameEx(kComputerNamePhysicalDnsHostname, state.ComputerName));
}

void MembershipStep(ClientPlatform& platform, ClientState& state) {
  if (!state.List.WorkGroup.empty()) {
    platform.window.SetInfoText(client_texts::kChangingWorkgroup);
  } else if (!state.List.Domain.empty()) {
    platform.window.SetInfoText(client_texts::kJoiningDomain);
  } else {
    return;
  }
  // wmic must name the computer Windows runs as now; the name set above waits for a restart.
  state.ComputerName = platform.system.ComputerName(kComputerNameBufferSize);
  const std::string head = " computersystem where Name=" + Quoted(state.ComputerName) +
                           " call JoinDomainOrWorkgroup Name=";
  std::string arguments;
  std::string shownArguments;  // the password is not kept in the record
  if (!state.List.WorkGroup.empty()) {
    arguments = shownArguments = head + Quoted(state.List.WorkGroup);
  } else {
    const std::string account = Quoted(state.List.Domain) + " username=" + Quoted(state.List.Username);
    const std::string options =
        " FJoinOptions=" + std::to_string(DomainJoinOptions(platform.system.Version()));
    arguments = head + account + " password=" + Quoted(state.List.password) + options;
    shownArguments = head + account + " password=\"***\"" + options;
  }
  StepOutcome outcome = RunStepCommand(platform, ApplyStep::kMembership, kWmic, arguments,
                                       shownArguments, true);
  if (outcome.result != StepResult::kNotStarted) {
    state.StepOutcomes.push_back(outcome);
    return;
  }

  // Windows without wmic (removed from Windows 11 25H2 on, or missing from its folder under the
  // system directory): the same join through netapi32.
  const DomainJoinOutcome joined =
      platform.system.JoinDomain(MembershipJoinRequest(state, platform.system.Version()));
  outcome.action = "NetJoinDomain";
  outcome.code = joined.status;
  outcome.result = !joined.available ? StepResult::kNotStarted
                   : joined.status == 0 ? StepResult::kDone
                                        : StepResult::kFailed;
  state.StepOutcomes.push_back(outcome);
}

// The folders the ICD client may be installed in: the one icd.ini names; for the default, which
// is a short 8.3 path under "Program Files", also the same folder under %ProgramFiles(x86)% (a
// 32-bit client on 64-bit Windows) and %ProgramFiles% (short names may be switched off).
std::vector<std::string> IcdInstallDirectories(ClientPlatform& platform, const ClientState& state) {
  std::vector<std::string> directories = {state.IcdPath};
  if (state.IcdPath != client_texts::kDefaultIcdPath) return directories;
  for (const char* variable : {"ProgramFiles(x86)", "ProgramFiles"}) {
    const std::string programFiles = platform.system.EnvironmentVariable(variable);
    if (!programFiles.empty()) directories.push_back(programFiles + client_texts::kIcdFolderInProgramFiles);
  }
  return directories;
}

// The ICD step. False when it was due and the client's settings file was in none of its folders.
bool IcdStep(ClientPlatform& platform, ClientState& state) {
  if (state.MainCCSIP.empty()) return true;
  platform.window.SetInfoText(client_texts::kChangingIcd);
  for (const std::string& directory : IcdInstallDirectories(platform, state)) {
    const std::string path = IcdSettingsPath(directory);
    // Only an installed ICD client is configured; the profile write would create the file.
    if (!platform.files.IsExistingFile(path)) continue;
    // Every key is written even when one before it failed.
    bool written = platform.profile.WriteString("LOCSYSPARAMS", "MainCCSIP", state.MainCCSIP, path);
    written = platform.profile.WriteString("LOCSYSPARAMS", "BackCCSIP", state.BackCCSIP, path) &&
              written;
    written = platform.profile.WriteString("LOCSYSPARAMS", "AppServerIP", state.AppServerIP, path) &&
              written;
    StepOutcome outcome;
    outcome.step = ApplyStep::kIcd;
    outcome.action = path;
    outcome.result = written ? StepResult::kDone : StepResult::kFailed;
    state.StepOutcomes.push_back(outcome);
    return true;
  }
  return false;
}

}  // namespace

uint32_t DomainJoinOptions(uint32_t windowsVersion) {
  uint32_t options = kNetSetupJoinDomain | kNetSetupAcctCreate;
  // Vista and later create the account under the name Windows runs as now unless told to use
  // the pending new name; every clone still runs under the master's name. 2000 and XP do not
  // know the flag.
  if ((windowsVersion & 0xFF) >= kVistaMajorVersion) options |= kNetSetupJoinWithNewName;
  return options;
}

DomainJoinRequest MembershipJoinRequest(const ClientState& state, uint32_t windowsVersion) {
  DomainJoinRequest request;
  if (!state.List.WorkGroup.empty()) {
    request.domain = state.List.WorkGroup;
  } else {
    request.domain = state.List.Domain;
    request.account = state.List.Username;
    request.password = state.List.password;
    request.options = DomainJoinOptions(windowsVersion);  // as wmic's FJoinOptions
  }
  return request;
}

std::string IcdSettingsPath(const std::string& installDirectory) {
  return PathInDirectory(installDirectory, "cfg\\localsyscfg.ini");
}

void ApplySettings(ClientPlatform& platform, ClientState& state) {
  if (state.EntryIp.empty()) return;  // no entry for this PC: nothing at all happens
  // Without the rights every change would fail; say so, and leave Applied false and the window
  // open, so that /K deletes nothing.
  if (!platform.system.IsAdministrator()) {
    platform.window.SetInfoText(client_texts::kNoAdministratorRights);
    return;
  }

  state.StepOutcomes.clear();
  const std::string connection = NetshConnectionName(state.TargetConnection);
  AddressStep(platform, state, connection);
  DnsStep(platform, state, connection);
  ComputerNameStep(platform, state);
  MembershipStep(platform, state);
  const bool icdFound = IcdStep(platform, state);

  // A step that failed keeps the window open with what failed, for whoever comes to the PC:
  // no close, and Applied stays false, so the list and the program stay and nothing restarts.
  if (AnyStepFailed(state.StepOutcomes)) {
    platform.window.SetInfoText(FailedStepsText(state.StepOutcomes, state.List.WorkGroup.empty()));
    return;
  }
  // The PC's own identity was applied; a missing ICD client does not hold the close.
  platform.window.SetInfoText(icdFound ? std::string(client_texts::kApplyFinished)
                                       : client_texts::kApplyFinished + std::string("\r\n") +
                                             client_texts::kIcdNotInstalled);
  platform.system.Beep(kBeepFrequency, kBeepDurationMs);
  state.Applied = 1;
  // Posted, so the close handler runs from the message loop after this returns.
  platform.window.PostCloseRequest();
}
