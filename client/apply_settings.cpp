// ApplySettings: rights check, address, DNS, name, membership and ICD steps, then completion or
// the list of the steps that failed.
#include "client/apply_settings.h"

#include <algorithm>

#include "client/adapter_discovery.h"
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
// Where Windows keeps the computer name it takes at its next start.
constexpr char kComputerNameKey[] = "SYSTEM\\CurrentControlSet\\Control\\ComputerName\\ComputerName";
// Windows Vista is version 6.0; GetVersion keeps the major version in its lowest byte.
constexpr uint32_t kVistaMajorVersion = 6;

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// Runs one netsh or wmic command (waited for without limit) and records its outcome. netsh
// reports a failure through its exit code. wmic's own exit code says little: its result is the
// "ReturnValue = N;" line of the method's out-parameters; without one the call never reached
// the method ("No Instance(s) Available.", a WMI error, nothing), which is a failure too.
StepOutcome RunStepCommand(ClientPlatform& platform, ApplyStep step, const SystemProgram& program,
                           const std::string& arguments, bool readsReturnValue) {
  RunRequest request;
  request.arguments = arguments;
  request.showState = kSwHide;
  request.timeoutMs = kInfinite;
  request.captureOutput = readsReturnValue;
  const RunResult run = RunSystemProgram(platform, program, request);

  StepOutcome outcome;
  outcome.step = step;
  outcome.action = FormCommandLine(program.commandName, arguments);
  outcome.code = run.code;
  if (run.outcome == RunOutcome::kNotStarted) {
    outcome.result = StepResult::kNotStarted;
  } else if (run.outcome == RunOutcome::kStillRunning) {
    outcome.result = StepResult::kFailed;
    outcome.code = kWaitTimeout;
  } else if (readsReturnValue && !FindWmicReturnValue(run.output, &outcome.code)) {
    outcome.detail = FirstOutputLine(platform.system, run.output);
    if (outcome.detail.empty()) outcome.detail = client_texts::kNoWmicOutput;
    outcome.result = StepResult::kFailed;
  } else if (outcome.code != 0) {  // netsh's exit code, or wmic's ReturnValue
    outcome.result = StepResult::kFailed;
  }
  return outcome;
}

void RunNetsh(ClientPlatform& platform, ClientState& state, ApplyStep step,
              const std::string& arguments) {
  state.StepOutcomes.push_back(RunStepCommand(platform, step, kNetsh, arguments, false));
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
    // netsh refuses an adapter that has DHCP already with exit code 1 ("DHCP is already enabled
    // on this interface."); that adapter is where the entry wants it. Its keys tell, not the
    // message, which each language of Windows words differently.
    StepOutcome& outcome = state.StepOutcomes.back();
    if (outcome.result == StepResult::kFailed && outcome.code == 1 &&
        AdapterUsesDhcp(platform, state.EntryMac)) {
      outcome.result = StepResult::kDone;
    }
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
  // netsh refuses to add an address the adapter has already.
  if (!state.List.DNS2.empty() && state.List.DNS2 != state.List.DNS1) {
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

// NetJoinDomain with the list's workgroup or domain; its status is the step's outcome.
void JoinThroughNetapi(ClientPlatform& platform, ClientState& state) {
  const DomainJoinOutcome joined =
      platform.system.JoinDomain(MembershipJoinRequest(state, platform.system.Version()));
  StepOutcome outcome;
  outcome.step = ApplyStep::kMembership;
  outcome.action = "NetJoinDomain";
  outcome.code = joined.status;
  outcome.result = !joined.available ? StepResult::kNotStarted
                   : joined.status == 0 ? StepResult::kDone
                                        : StepResult::kFailed;
  // With a one-time password a logon failure means the password and the account made for this
  // PC do not match (no user name is involved).
  if (joined.status == kLogonFailureCode && !state.JoinPassword.empty() &&
      state.List.WorkGroup.empty()) {
    outcome.detail = client_texts::kOneTimePasswordRefused;
  }
  state.StepOutcomes.push_back(outcome);
}

// Whether windowsName (a NetBIOS name: at most 15 characters, upper-case) is the list's name.
bool IsListName(const std::string& listName, const std::string& windowsName) {
  return !windowsName.empty() && EqualsIgnoringAsciiCase(listName.substr(0, 15), windowsName);
}

// The domain's NetBIOS name that NetGetJoinInformation gives (its documentation: "the NetBIOS
// name of the domain") is the list's domain, or the first label of the list's DNS name ("CORP"
// for corp.example.com).
bool IsListDomain(const std::string& listDomain, const std::string& netbiosDomain) {
  return !netbiosDomain.empty() &&
         (EqualsIgnoringAsciiCase(listDomain, netbiosDomain) ||
          EqualsIgnoringAsciiCase(listDomain.substr(0, listDomain.find('.')), netbiosDomain));
}

// names: the name Windows runs as and the one pending for its next start, both as they were
// before this apply renamed the PC.
void MembershipStep(ClientPlatform& platform, ClientState& state, const std::string (&names)[2]) {
  if (!state.List.WorkGroup.empty()) {
    platform.window.SetInfoText(client_texts::kChangingWorkgroup);
    // wmic must name the computer Windows runs as now; the name set above waits for a restart.
    StepOutcome outcome = RunStepCommand(
        platform, ApplyStep::kMembership, kWmic,
        " computersystem where Name=" + Quoted(names[0]) +
            " call JoinDomainOrWorkgroup Name=" + Quoted(state.List.WorkGroup),
        true);
    // Windows without wmic (removed from Windows 11 25H2 on, or missing from its folder under
    // the system directory): the same join through netapi32.
    if (outcome.result == StepResult::kNotStarted) return JoinThroughNetapi(platform, state);
    state.StepOutcomes.push_back(outcome);
    return;
  }
  if (state.List.Domain.empty()) return;
  platform.window.SetInfoText(client_texts::kJoiningDomain);
  // A PC that runs again (the next logon after a failed step, the button pressed twice) is in
  // the domain under the list's name already; joining again would fail with 2691. A member
  // under another name is a clone of a joined master: its join fails, and says why.
  const DomainMembership membership = platform.system.JoinInformation();
  if (membership.inDomain && IsListDomain(state.List.Domain, membership.domain) &&
      (IsListName(state.ComputerName, names[0]) || IsListName(state.ComputerName, names[1]))) {
    StepOutcome outcome;
    outcome.step = ApplyStep::kMembership;
    outcome.action = "NetGetJoinInformation";
    state.StepOutcomes.push_back(outcome);
    return;
  }
  // The domain account's password goes to NetJoinDomain, never onto a command line, which any
  // process may read and process-creation auditing writes to the event log.
  JoinThroughNetapi(platform, state);
}

// The folders the ICD client may be installed in: the one icd.ini names; for the default, which
// is a short 8.3 path under "Program Files", also the same folder under %ProgramFiles(x86)% (a
// 32-bit client on 64-bit Windows), %ProgramW6432% (the native folder: WOW64 gives a 32-bit
// process the "(x86)" folder as %ProgramFiles%, and this variable from Windows 7 on; Microsoft's
// "WOW64 Implementation Details") and %ProgramFiles% (32-bit Windows, or short names switched
// off), each folder once.
std::vector<std::string> IcdInstallDirectories(ClientPlatform& platform, const ClientState& state) {
  std::vector<std::string> directories = {state.IcdPath};
  if (state.IcdPath != client_texts::kDefaultIcdPath) return directories;
  for (const char* variable : {"ProgramFiles(x86)", "ProgramW6432", "ProgramFiles"}) {
    const std::string programFiles = platform.system.EnvironmentVariable(variable);
    const std::string directory = programFiles + client_texts::kIcdFolderInProgramFiles;
    if (!programFiles.empty() &&
        std::find(directories.begin(), directories.end(), directory) == directories.end()) {
      directories.push_back(directory);
    }
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
    if (!state.JoinPassword.empty()) {
      // The computer account was made beforehand: the PC joins it with its one-time password
      // and names no user account (NetJoinDomain's "unsecure join"); no account is created.
      request.account.clear();
      request.password = state.JoinPassword;
      request.options = (request.options & ~kNetSetupAcctCreate) | kNetSetupJoinUnsecure |
                        kNetSetupMachinePwdPassed;
    }
  }
  return request;
}

std::string IcdSettingsPath(const std::string& installDirectory) {
  return PathInDirectory(installDirectory, "cfg\\localsyscfg.ini");
}

void ApplySettings(ClientPlatform& platform, ClientState& state) {
  state.JoinPending = 0;  // only this apply's outcome may ask the close for a restart
  if (state.EntryIp.empty()) return;  // no entry for this PC: nothing at all happens
  // Without the rights every change would fail; say so, and leave Applied false and the window
  // open, so that /K deletes nothing.
  if (!platform.system.IsAdministrator()) {
    platform.window.SetInfoText(client_texts::kNoAdministratorRights);
    return;
  }

  state.StepOutcomes.clear();
  // The name Windows runs as, and for a domain the one pending for its next start, read before
  // this apply renames the PC.
  std::string names[2] = {platform.system.ComputerName(kComputerNameBufferSize)};
  const bool joinsDomain = state.List.WorkGroup.empty() && !state.List.Domain.empty();
  if (joinsDomain) {
    RegistryValue pending;
    if (platform.registry.ReadValue(kComputerNameKey, "ComputerName", &pending) &&
        pending.type == kRegSz) {
      names[1] = pending.data.substr(0, pending.data.find('\0'));
    }
  }
  // Windows 2000 and XP join under the name they run as (NETSETUP_JOIN_WITH_NEW_NAME came with
  // Vista: NetJoinDomain's documentation), so with a new name the join waits for the restart
  // that makes the name take effect.
  const bool joinWaits = joinsDomain && (platform.system.Version() & 0xFF) < kVistaMajorVersion &&
                         !IsListName(state.ComputerName, names[0]);

  const std::string connection = NetshConnectionName(state.TargetConnection);
  AddressStep(platform, state, connection);
  DnsStep(platform, state, connection);
  ComputerNameStep(platform, state);
  if (!joinWaits) MembershipStep(platform, state, names);
  const bool icdFound = IcdStep(platform, state);

  // A step that failed keeps the window open with what failed, for whoever comes to the PC:
  // no close, and Applied stays false, so the list and the program stay and nothing restarts.
  if (AnyStepFailed(state.StepOutcomes)) {
    platform.window.SetInfoText(FailedStepsText(state.StepOutcomes, state.List.WorkGroup.empty()));
    return;
  }
  // The PC's own identity was applied; a missing ICD client does not hold the close.
  std::string text = joinWaits ? client_texts::kJoinAfterRestart + state.List.Domain +
                                     client_texts::kFailedLineEnd
                               : std::string(client_texts::kApplyFinished);
  if (!icdFound) text += std::string("\r\n") + client_texts::kIcdNotInstalled;
  platform.window.SetInfoText(text);
  if (joinWaits) {
    // Not applied: /K deletes nothing and the next logon runs again, to join. /R restarts, as
    // the new name needs; without it the window stays with the text.
    state.JoinPending = 1;
    if (state.RestartAfterwards) platform.window.PostCloseRequest();
    return;
  }
  platform.system.Beep(kBeepFrequency, kBeepDurationMs);
  state.Applied = 1;
  // Posted, so the close handler runs from the message loop after this returns.
  platform.window.PostCloseRequest();
}
