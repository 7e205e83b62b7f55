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

enum class MachineState { kDone, kFailed, kNoReport, kStale, kNotInList };

// One failed step of a report: its key and its code (hasCode false when it gave none).
struct FailedStep {
  std::string step;
  bool hasCode = false;
  uint32_t code = 0;
};

// One machine of the list, or a report from a MAC the list does not hold (number 0). Texts GBK.
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
  std::vector<FailedStep> failedSteps;
};

// The machines of the list at listPath in list order, then the reports from other MACs ordered
// by MAC. False with *error when the list or the folder or a report cannot be read.
bool CollectStatus(const std::string& listPath, const std::string& reportsDirectory,
                   std::vector<MachineStatus>* machines, std::string* error);

// "48 done, 1 failed, 1 no report" (stale and not-in-list counts follow when there are any).
std::string StatusSummary(const std::vector<MachineStatus>& machines);
// Lines for the terminal (GBK; the caller converts), the summary last.
std::string StatusText(const std::vector<MachineStatus>& machines);
// The same as a JSON document, UTF-8.
std::string StatusJson(const std::vector<MachineStatus>& machines);
// One self-contained UTF-8 page: the summary on top, a table coloured by state.
std::string StatusHtml(const std::string& listPath, const std::vector<MachineStatus>& machines);

// Runs "status": prints the text or JSON, writes the page; 0 when every machine of the list is
// done, 1 otherwise, 2 on a usage or read error (with *error set).
int RunStatus(const StatusOptions& options, std::string* standardOutput, std::string* error);
