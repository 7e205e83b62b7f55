// ApplySettings: rights check, address, DNS, name, membership and ICD steps, then completion.
#include "client/apply_settings.h"

#include "client/client_texts.h"
#include "client/run_and_wait.h"
#include "common/text_rules.h"

namespace {

// GetComputerNameA is given a 17-byte buffer with the size stated as 16.
constexpr uint32_t kComputerNameBufferSize = 16;
constexpr uint32_t kBeepFrequency = 900;
constexpr uint32_t kBeepDurationMs = 600;

void Run(ClientPlatform& platform, const char* program, const std::string& arguments) {
  // netsh and wmic are waited for without limit; their outcome is not examined.
  RunAndWait(platform.processes, program, arguments, "", kSwHide, kInfinite);
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// True when the last character of a GBK text is "\". A trail byte of a double-byte character
// can have the value of "\" (0x5C), so the text is walked from its start.
bool EndsInBackslash(const std::string& text) {
  bool lastIsBackslash = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char byte = static_cast<unsigned char>(text[i]);
    if (byte >= 0x81 && byte <= 0xFE && i + 1 < text.size()) {
      lastIsBackslash = false;
      ++i;  // the trail byte belongs to this character
    } else {
      lastIsBackslash = byte == '\\';
    }
  }
  return lastIsBackslash;
}

void AddressStep(ClientPlatform& platform, ClientState& state, const std::string& connection) {
  const std::string setAddress = " interface ip set address " + connection;
  if (state.EntryIp == "DHCP") {
    platform.window.SetInfoText(client_texts::kChangingNetwork);
    Run(platform, "netsh", setAddress + " DHCP ");
  } else if (state.Gateway.empty()) {
    platform.window.SetInfoText(client_texts::kChangingIp);
    Run(platform, "netsh", setAddress + " static " + state.EntryIp + " " + state.Mask);
  } else {
    // "none" removes the gateway; netsh then takes no metric.
    if (EqualsIgnoringAsciiCase(state.Gateway, "none")) state.GwMetric.clear();
    platform.window.SetInfoText(client_texts::kChangingIpAndGateway);
    Run(platform, "netsh", setAddress + " static " + state.EntryIp + " " + state.Mask + " " +
                               state.Gateway + " " + state.GwMetric);
  }
}

void DnsStep(ClientPlatform& platform, const ClientState& state, const std::string& connection) {
  if (state.Dns1.empty()) return;
  platform.window.SetInfoText(client_texts::kChangingDns);
  // Clearing the static servers first lets an adapter on DHCP use the servers DHCP hands out.
  Run(platform, "netsh", " interface ip set dns " + connection + " static none");
  if (state.Dns1 == "DHCP") return;
  Run(platform, "netsh", " interface ip add dns " + connection + " " + state.Dns1);
  if (!state.Dns2.empty()) Run(platform, "netsh", " interface ip add dns " + connection + " " + state.Dns2);
}

// The membership step. Returns the line that ends the information text when the workgroup or
// domain was not changed, else an empty text.
std::string MembershipStep(ClientPlatform& platform, ClientState& state) {
  if (!state.Workgroup.empty()) {
    platform.window.SetInfoText(client_texts::kChangingWorkgroup);
  } else if (!state.Domain.empty()) {
    platform.window.SetInfoText(client_texts::kJoiningDomain);
  } else {
    return std::string();
  }
  // wmic must name the computer Windows runs as now; the name set above waits for a restart.
  state.ComputerName = platform.system.ComputerName(kComputerNameBufferSize);
  std::string arguments = " computersystem where Name=" + Quoted(state.ComputerName) +
                          " call JoinDomainOrWorkgroup Name=";
  if (!state.Workgroup.empty()) {
    arguments += Quoted(state.Workgroup);
  } else {
    arguments += Quoted(state.Domain) + " username=" + Quoted(state.Username) +
                 " password=" + Quoted(state.Password) + " FJoinOptions=3";
  }
  // wmic's own outcome is not examined; only whether it could be started at all.
  if (StartAndWait(platform.processes, "wmic", arguments, "", kSwHide, kInfinite) !=
      RunOutcome::kNotStarted) {
    return std::string();
  }

  // Windows without wmic (removed from Windows 11 25H2 on): the same join through netapi32.
  const DomainJoinOutcome outcome = platform.system.JoinDomain(MembershipJoinRequest(state));
  if (outcome.available && outcome.status == 0) return std::string();
  return std::string(state.Workgroup.empty() ? client_texts::kDomainNotJoined
                                             : client_texts::kWorkgroupNotChanged) +
         (outcome.available ? client_texts::kJoinFailedCode : client_texts::kJoinUnavailableCode) +
         std::to_string(outcome.status) + client_texts::kJoinLineEnd;
}

void IcdStep(ClientPlatform& platform, const ClientState& state) {
  if (state.MainCCSIP.empty()) return;
  platform.window.SetInfoText(client_texts::kChangingIcd);
  const std::string path = IcdSettingsPath(state.IcdPath);
  // Only an installed ICD client is configured; the profile write would create the file.
  if (!platform.files.IsExistingFile(path)) return;
  platform.profile.WriteString("LOCSYSPARAMS", "MainCCSIP", state.MainCCSIP, path);
  platform.profile.WriteString("LOCSYSPARAMS", "BackCCSIP", state.BackCCSIP, path);
  platform.profile.WriteString("LOCSYSPARAMS", "AppServerIP", state.AppServerIP, path);
}

}  // namespace

std::string NetshConnectionName(const std::string& connectionName) {
  if (connectionName.find_first_of(" \t") == std::string::npos) return connectionName;
  return Quoted(connectionName);
}

DomainJoinRequest MembershipJoinRequest(const ClientState& state) {
  DomainJoinRequest request;
  if (!state.Workgroup.empty()) {
    request.domain = state.Workgroup;
  } else {
    request.domain = state.Domain;
    request.account = state.Username;
    request.password = state.Password;
    request.options = kNetSetupJoinDomain | kNetSetupAcctCreate;  // wmic's FJoinOptions=3
  }
  return request;
}

std::string IcdSettingsPath(const std::string& installDirectory) {
  std::string path = installDirectory;
  if (!EndsInBackslash(path)) path += '\\';
  return path + "cfg\\localsyscfg.ini";
}

void ApplySettings(ClientPlatform& platform, ClientState& state) {
  if (state.EntryIp.empty()) return;  // no entry for this PC: nothing at all happens
  // Without the rights every change would fail; say so, and leave Applied false and the window
  // open, so that /K deletes nothing.
  if (!platform.system.IsAdministrator()) {
    platform.window.SetInfoText(client_texts::kNoAdministratorRights);
    return;
  }

  const std::string connection = NetshConnectionName(state.TargetConnection);
  AddressStep(platform, state, connection);
  DnsStep(platform, state, connection);

  platform.window.SetInfoText(client_texts::kChangingComputerName);
  platform.system.SetComputerName(state.ComputerName);
  platform.system.SetComputerNameEx(kComputerNamePhysicalDnsHostname, state.ComputerName);

  const std::string membershipNote = MembershipStep(platform, state);
  IcdStep(platform, state);

  platform.window.SetInfoText(membershipNote.empty()
                                  ? std::string(client_texts::kApplyFinished)
                                  : client_texts::kApplyFinished + std::string("\r\n") +
                                        membershipNote);
  platform.system.Beep(kBeepFrequency, kBeepDurationMs);
  state.Applied = 1;
  // Posted, so the close handler runs from the message loop after this returns.
  platform.window.PostCloseRequest();
}
