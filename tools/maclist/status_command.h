// maclist status: the list beside the reports Tolvik put on the TFTP server, one line per machine.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct StatusOptions {
  std::string listPath;
  std::string reportsDirectory;
  bool json = false;
  std::string htmlPath;  // empty: no page
};

// Reads the arguments after "status". False with *error naming the problem.
bool ParseStatusArguments(const std::vector<std::string>& arguments, StatusOptions* options,
                          std::string* error);

// What became of a machine. A report is what the PC wrote over TFTP, which carries no
// authentication: done means the PC said so, consistently, not proof.
//  pending: Tolvik renamed the PC and joins the domain after the restart (Windows XP);
//  unreadable report: over 64 KB or cannot be read; inconsistent report: the mac= inside names
//  another MAC, or a step failed under result=done or pending; conflicting reports: two files
//  whose names differ only in case.
enum class MachineState {
  kDone,
  kFailed,
  kPending,
  kNoReport,
  kStale,
  kNotInList,
  kUnreadable,
  kInconsistent,
  kConflicting,
};

// One failed step of a report: its key and its code (hasCode false when it gave none).
struct FailedStep {
  std::string step;
  bool hasCode = false;
  uint32_t code = 0;
};

// One machine of the list, or a report from a MAC the list does not hold (number 0). Texts GBK,
// every byte sequence that is no GBK character already replaced by "?"; control bytes stay
// (the JSON escapes them, the text and the page show "?").
struct MachineStatus {
  size_t number = 0;
  std::string name;
  std::string ip;
  std::string mac;
  MachineState state = MachineState::kNoReport;
  std::string result;  // the report's result: done, failed, no-entry (empty without a report)
  std::string time;
  std::string reportName;  // what a stale or foreign report names
  std::string reportIp;
  std::string problem;  // why a report is unreadable, inconsistent or conflicting (GBK)
  std::vector<FailedStep> failedSteps;
};

// Bytes below 0x20 and 0x7F shown as "?": report texts must not steer the terminal.
std::string WithoutControlBytes(const std::string& text);
// GBK text with every byte that starts no GBK character (nor is ASCII) replaced by "?".
std::string ValidGbk(const std::string& bytes);

// The machines of the list at listPath in list order, then the reports from other MACs ordered
// by MAC. Only files named tolvik-<12 hex digits>.ini are reports. False with *error when the
// list or the folder cannot be read; a report that cannot be read is a machine's state.
bool CollectStatus(const std::string& listPath, const std::string& reportsDirectory,
                   std::vector<MachineStatus>* machines, std::string* error);

// "48 done, 1 failed, 1 no report" (the other states' counts follow when there are any, then
// "; N found no line" for reports that say their list had no line for the PC).
std::string StatusSummary(const std::vector<MachineStatus>& machines);
// Lines for the terminal (GBK; the caller converts), the summary last.
std::string StatusText(const std::vector<MachineStatus>& machines);
// The same as a JSON document, UTF-8.
std::string StatusJson(const std::vector<MachineStatus>& machines);
// One self-contained UTF-8 page: the summary on top, a table coloured by state.
std::string StatusHtml(const std::string& listPath, const std::vector<MachineStatus>& machines);

// Runs "status": prints the text or JSON, writes the page. 0 when every machine of the list is
// done and no report is unreadable, inconsistent or conflicting or says that it found no line;
// 1 otherwise; 2 when the list or the folder cannot be read or the page cannot be written (with
// *error set).
int RunStatus(const StatusOptions& options, std::string* standardOutput, std::string* error);
