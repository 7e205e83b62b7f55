// Entry lookup: this PC's line of mac.ini, the ICD range of icd.ini, and the summary step.
#include "client/entry_lookup.h"

#include "client/client_texts.h"
#include "client/summary.h"
#include "common/list_file.h"
#include "common/text_rules.h"

namespace {

// A dotted address cut at its first three "." into a prefix ("a.b.c.") and the last part.
// A part without a "." takes the whole rest and leaves nothing for the parts after it.
struct CutAddress {
  std::string prefix;
  std::string last;
};

CutAddress CutDottedAddress(const std::string& text) {
  CutAddress cut;
  std::string rest = text;
  for (int part = 0; part < 3; ++part) {
    size_t dot = rest.find('.');
    if (dot == std::string::npos) {
      cut.prefix += rest + ".";
      rest.clear();
    } else {
      cut.prefix += rest.substr(0, dot + 1);
      rest.erase(0, dot + 1);
    }
  }
  cut.last = rest;
  return cut;
}

}  // namespace

void FindMachineEntry(ClientPlatform& platform, ClientState& state, const std::string& listPath,
                      const std::vector<std::string>& listLines) {
  state.EntryIp.clear();
  state.ComputerName.clear();  // holds the entry value until it is split
  state.EntryMac.clear();

  // Every line is tried; the last line that holds one of this PC's MAC texts decides, and within
  // a line the first adapter in list order whose MAC text occurs in it.
  bool found = false;
  size_t target = 0;
  for (const std::string& line : listLines) {
    const std::string upper = UpperAscii(line);
    for (size_t i = 0; i < state.AdapterMacs.size(); ++i) {
      const std::string& mac = state.AdapterMacs[i];
      if (!mac.empty() && upper.find(mac) != std::string::npos) {
        found = true;
        target = i;
        break;
      }
    }
  }
  if (!found) return;  // TargetConnection keeps the value of an earlier run

  // The value is the one stored under the adapter's own MAC text, whichever part of the line
  // held it; reading it once for the deciding line gives what reading it at every match would.
  state.ComputerName = ReadListValue(platform.profile, listPath, state.AdapterMacs[target]);
  state.EntryMac = state.AdapterMacs[target];
  state.TargetConnection =
      target < state.ConnectionNames.size() ? state.ConnectionNames[target] : std::string();
}

void FindIcdRange(ClientPlatform& platform, ClientState& state, const std::string& icdPath) {
  ProfileApi& profile = platform.profile;
  state.IcdPath = profile.GetString("cfg", "path", client_texts::kDefaultIcdPath, icdPath);

  const CutAddress entry = CutDottedAddress(state.EntryIp);
  const long long entryNumber = ReadNumber(entry.last);
  // Every range is tried; a later range that also holds the address replaces the values.
  for (const std::string& rangeName : ReadWholeSection(profile, "list", icdPath)) {
    const CutAddress from = CutDottedAddress(profile.GetString(rangeName, "fromip", "", icdPath));
    if (from.prefix != entry.prefix) continue;
    if (entryNumber < ReadNumber(from.last)) continue;
    // Only the last number of "toip" bounds the range; its prefix is not compared.
    const CutAddress to = CutDottedAddress(profile.GetString(rangeName, "toip", "", icdPath));
    if (entryNumber > ReadNumber(to.last)) continue;
    state.AppServerIP = profile.GetString(rangeName, "AppServerIP", "", icdPath);
    state.MainCCSIP = profile.GetString(rangeName, "MainCCSIP", "", icdPath);
    state.BackCCSIP = profile.GetString(rangeName, "BackCCSIP", "", icdPath);
  }
}

void LookUpEntryAndShowSummary(ClientPlatform& platform, ClientState& state,
                               const std::string& programDirectory) {
  const std::string listPath = programDirectory + kListFileName;
  if (!platform.files.IsExistingFile(listPath)) {
    // Without a list this run has no entry: an entry kept from an earlier run would otherwise
    // be applied by the apply button under the missing-file message.
    state.EntryIp.clear();
    state.ComputerName.clear();
    state.EntryMac.clear();
    state.JoinPassword.clear();
    state.List.report.clear();
    platform.window.SetInfoText(client_texts::kMissingListFile);
    return;
  }

  ListFileContent list = ReadListFile(platform.profile, listPath);
  state.List = list.settings;

  FindMachineEntry(platform, state, listPath, list.lines);
  if (state.ComputerName.empty()) {
    state.EntryMac.clear();  // a line without a value counts as none, as the text says
    state.JoinPassword.clear();
    platform.window.SetInfoText(client_texts::kNoMatchingAdapter);
    return;
  }

  const std::string value = state.ComputerName;
  SplitEntryValue(value, &state.EntryIp, &state.ComputerName);
  state.JoinPassword = ReadJoinPassword(platform.profile, listPath, state.EntryMac);

  const std::string icdPath = programDirectory + kIcdFileName;
  if (platform.files.IsExistingFile(icdPath)) FindIcdRange(platform, state, icdPath);

  BuildSummary(platform.window, state);
}
