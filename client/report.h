// Tolvik's report to the administrator: what this PC did, put on a TFTP server as
// tolvik-<MAC>.ini when the list's "report" key asks for it.
#pragma once

#include <string>
#include <vector>

#include "client/client_platform.h"
#include "client/client_state.h"
#include "client/step_outcome.h"

// kPending: Windows 2000 or XP, everything applied but the domain join, which waits for the
// restart.
enum class ReportResult { kDone, kFailed, kNoEntry, kPending };

// What one report says.
struct ReportFacts {
  std::string mac;
  std::string name;  // the computer name the entry gives
  std::string ip;
  std::string previousName;  // the name Windows ran under before the apply
  ReportResult result = ReportResult::kNoEntry;
  LocalTime time;
  std::string version;
  std::vector<StepOutcome> outcomes;
};

// The report's INI text (GBK, CR LF): section "report" with mac, name, ip, previous_name,
// result, time and version; section "steps" with one key per step (address, dns, name,
// membership, icd): 0 when it succeeded, the code of its first failure (without a code: the
// first line wmic printed, or "failed"), "skipped" when it did not run.
std::string ReportText(const ReportFacts& facts);

// tolvik-<MAC>.ini
std::string ReportFileName(const std::string& mac);

// The server the report goes to: the list's address, or for "tftp" the server the list was
// fetched from; empty when there is none (reports off, or a list that was not fetched).
std::string ReportServer(const ClientState& state);

// The apply (button or /A) followed, when reports are on, by the report of its outcome. The
// close the apply posts runs only after this returns, so the report leaves before the list and
// the program are deleted or Windows restarts.
void ApplyAndReport(ClientPlatform& platform, ClientState& state);

// After a lookup whose list holds no line for this PC: the "no-entry" report, named after the
// first adapter, when reports are on.
void ReportNoEntry(ClientPlatform& platform, ClientState& state);
