// maclist plan: Tolvik's lookup, summary, apply and close handler run on a dry-run platform.
#include "tools/maclist/plan_command.h"


#include "client/adapter_discovery.h"
#include "client/apply_settings.h"
#include "client/client_state.h"
#include "client/client_texts.h"
#include "client/command_line.h"
#include "client/entry_lookup.h"
#include "client/fetch.h"
#include "client/finishing.h"
#include "client/report.h"
#include "common/program_directory.h"
#include "tools/maclist/command_arguments.h"
#include "platform/console_text.h"
#include "tools/maclist/dry_run_platform.h"
#include "tools/maclist/maclist_texts.h"
#include "platform/system_files.h"

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Profile functions of Windows look for a bare file name in the Windows directory.
bool AbsoluteReadablePath(const std::string& path, std::string* absolute) {
  *absolute = FullPath(path);
  return !absolute->empty() && SystemFiles().IsExistingFile(*absolute);
}

bool FindWindowsVersion(const std::string& name, uint32_t* version) {
  for (const auto& known : maclist_texts::kWindowsVersions) {
    if (name == known.name) {
      *version = known.version;
      return true;
    }
  }
  return false;
}

// The join options of this PC's domain join on the Windows versions the plan does not picture.
std::string OtherVersionsJoinLine(const ClientState& state, uint32_t pictured) {
  const bool newer = (pictured & 0xFF) >= 6;
  uint32_t other = 0;
  FindWindowsVersion(newer ? "xp" : "vista", &other);
  return (newer ? maclist_texts::kOlderWindowsJoinOptions
                : maclist_texts::kNewerWindowsJoinOptions) +
         std::to_string(MembershipJoinRequest(state, other).options) +
         (newer ? maclist_texts::kOlderWindowsJoinWhen : "");
}

bool StartsWith(const std::string& text, const std::string& start) {
  return text.compare(0, start.size(), start) == 0;
}

}  // namespace

bool ParseMacArgument(const std::string& text, std::vector<uint8_t>* bytes) {
  std::string digits;
  for (char c : text) {
    if (c == '-' || c == ':' || c == '.') continue;
    if (HexValue(c) < 0) return false;
    digits += c;
  }
  if (digits.size() != 12) return false;
  // A separator may only stand between two digits, never first or last.
  if (HexValue(text.front()) < 0 || HexValue(text.back()) < 0) return false;
  bytes->clear();
  for (size_t i = 0; i < digits.size(); i += 2) {
    bytes->push_back(static_cast<uint8_t>(HexValue(digits[i]) * 16 + HexValue(digits[i + 1])));
  }
  return true;
}

bool ParsePlanArguments(const std::vector<std::string>& arguments, PlanOptions* options,
                        std::string* error) {
  FindWindowsVersion(maclist_texts::kDefaultWindows, &options->windowsVersion);
  CommandArguments args(arguments, error);
  std::vector<std::string> positional;
  std::string value;
  bool macGiven = false;
  while (!args.AtEnd()) {
    if (args.Option("--mac", &value)) {
      if (!error->empty()) return false;
      if (!ParseMacArgument(value, &options->mac)) {
        return args.Fail("--mac must be six bytes in hexadecimal such as 00-E0-FD-3A-1B-01, "
                         "00:e0:fd:3a:1b:01 or 00E0FD3A1B01, not \"" + value + "\"");
      }
      macGiven = true;
    } else if (args.TextOption("--connection", &options->connection) ||
               args.TextOption("--current-name", &options->currentName) ||
               args.TextOption("--program", &options->programPath) ||
               args.TextOption("--temp", &options->tempDirectory) ||
               args.TextOption("--dhcp-server", &options->dhcpServer)) {
    } else if (args.Option("--windows", &value)) {
      if (!error->empty()) return false;
      if (!FindWindowsVersion(value, &options->windowsVersion)) {
        return args.Fail("--windows must be one of 2000, xp, vista, 7, 8, 10, 11, not \"" + value +
                         "\"");
      }
    } else if (args.Flag("--no-tftp")) {
      options->withoutTftp = true;
    } else if (args.Option("--icd", &value)) {
      if (value.empty()) return args.Fail("--icd needs a file name");
      options->icdPath = value;
    } else {
      std::vector<std::string> rest;
      if (!args.Positional(&rest)) return false;
      // Tolvik's own switches (/K, /R...) pass through to its command line; a path such as
      // /tmp/mac.ini is the list file.
      const std::string& argument = rest.back();
      const bool isSwitch = argument.size() >= 2 && argument[0] == '/' &&
                            (argument.size() == 2 || argument.compare(0, 4, "/IP:") == 0 ||
                             argument.compare(0, 4, "/ip:") == 0);
      if (isSwitch) {
        options->switches.push_back(rest.back());
      } else {
        positional.push_back(rest.back());
      }
    }
    if (!error->empty()) return false;
  }
  if (positional.size() != 1) {
    *error = positional.empty() ? "plan needs the list file: maclist plan FILE --mac MAC"
                                : "plan takes one list file, not " +
                                      std::to_string(positional.size());
    return false;
  }
  if (!macGiven) {
    *error = "plan needs --mac: the MAC address of the PC's adapter";
    return false;
  }
  options->listPath = positional[0];
  if (options->programPath.empty()) options->programPath = maclist_texts::kDefaultProgramPath;
  if (options->programPath.find('\\') == std::string::npos) {
    *error = "--program must be a Windows path with a directory, such as C:\\Tolvik\\Tolvik.exe";
    return false;
  }
  return true;
}

int RunPlan(const PlanOptions& options, ProfileApi& reader, std::string* plan, std::string* notice,
            std::string* error) {
  DryRunSetup setup;
  if (!AbsoluteReadablePath(options.listPath, &setup.listFile)) {
    *error = "cannot read the list file " + options.listPath;
    return 2;
  }
  if (!options.icdPath.empty() && !AbsoluteReadablePath(options.icdPath, &setup.icdFile)) {
    *error = "cannot read the ICD file " + options.icdPath;
    return 2;
  }
  setup.programPath = options.programPath;
  setup.tempDirectory = options.tempDirectory.empty() ? std::string(maclist_texts::kDefaultTempDirectory)
                                                      : options.tempDirectory;
  setup.mac = options.mac;
  setup.withoutTftp = options.withoutTftp;
  setup.windowsVersion = options.windowsVersion;
  setup.currentName = options.currentName.empty() ? std::string(maclist_texts::kDefaultCurrentName)
                                                  : options.currentName;
  // The PC runs Tolvik with /A (the apply that the button would start) and the given switches.
  setup.commandLine = "\"" + options.programPath + "\" /A";
  for (const std::string& s : options.switches) setup.commandLine += " " + s;

  DryRunPlatform dry(setup, reader);
  ClientPlatform& platform = dry.platform();
  PlanRecord& record = dry.record();
  ClientState state;

  bool autoApply = false;
  bool fetchRequested = false;
  ParseCommandLine(platform, state, &autoApply, &fetchRequested);
  if (record.helpShown) {
    *error = "plan pictures a run with the given list: only the switches /K, /R, /N and /IP: can "
             "be added";
    return 2;
  }

  // The PC's one adapter, its MAC text formed by Tolvik's own rule.
  state.AdapterMacs.push_back(HexOfBytes(options.mac.data(), options.mac.size()));
  state.ConnectionNames.push_back(options.connection.empty()
                                      ? std::string(maclist_texts::kDefaultConnection)
                                      : options.connection);

  // /N or /IP: fetch first: the given list and icd.ini stand for what the server holds.
  if (fetchRequested) {
    if (!options.dhcpServer.empty()) state.DhcpServers.push_back(options.dhcpServer);
    RunFetchStep(platform, state);
  }

  LookUpEntryAndShowSummary(platform, state, ProgramDirectory(options.programPath));
  if (record.infoText == client_texts::kNoMatchingAdapter ||
      record.infoText == client_texts::kMissingListFile) {
    *error = TerminalText(record.infoText);
    return 1;
  }
  std::string text;
  const std::string& summary = record.infoText;
  size_t begin = 0;
  while (begin < summary.size()) {
    size_t end = summary.find("\r\n", begin);
    if (end == std::string::npos) end = summary.size();
    text += summary.substr(begin, end - begin) + "\n";
    begin = end + 2;
  }

  if (state.EntryIp.empty()) {
    *notice = "the line of this adapter has an empty address: Tolvik applies nothing\n";
  }
  // The apply, and the report when the list asks for one, as the window's button runs them.
  ApplyAndReport(platform, state);
  if (record.closeRequested) FinishOnClose(platform, state);
  // Windows 2000 and XP with a new name: the domain join waits for the restart; the next run,
  // under the new name, joins.
  if (state.JoinPending) {
    record.actions.push_back(maclist_texts::kShowsAction + record.infoText);
    record.actions.push_back("");
    record.actions.push_back(maclist_texts::kSecondPass + state.ComputerName + ":");
    dry.setup().currentName = state.ComputerName;
    record.closeRequested = false;
    ApplyAndReport(platform, state);
    if (record.closeRequested) FinishOnClose(platform, state);
  }
  if (!record.actions.empty()) text += "\n";
  const std::string domainJoin =
      std::string(maclist_texts::kCallAction) + maclist_texts::kNetJoinDomainCall;
  for (const std::string& action : record.actions) {
    text += action + "\n";
    if (StartsWith(action, maclist_texts::kWmicRunAction)) {
      text += maclist_texts::kJoinFallbackAction +
              NetJoinDomainCall(MembershipJoinRequest(state, options.windowsVersion)) + "\n";
    } else if (StartsWith(action, domainJoin)) {
      text += OtherVersionsJoinLine(state, options.windowsVersion) + "\n";
    }
  }
  *plan = text;
  return 0;
}
