// maclist status: pairs each machine of the list with its report and says what became of it.
#include "tools/maclist/status_command.h"

#include <algorithm>
#include <map>

#include "client/step_outcome.h"
#include "common/list_file.h"
#include "common/text_rules.h"
#include "platform/console_text.h"
#include "platform/profile_api.h"
#include "platform/system_files.h"
#include "tools/maclist/command_arguments.h"
#include "tools/maclist/json_text.h"

namespace {

#ifdef _WIN32
constexpr char kPathSeparator = '\\';
#else
constexpr char kPathSeparator = '/';
#endif
constexpr const char kReportPrefix[] = "tolvik-";
constexpr const char kReportSuffix[] = ".ini";
constexpr uint32_t kValueBufferSize = 4096;
// The keys of a report's section "steps", in the order Tolvik takes the steps.
constexpr const char* kStepKeys[] = {"address", "dns", "name", "membership", "icd"};

struct Report {
  std::string name;
  std::string ip;
  std::string result;
  std::string time;
  std::vector<FailedStep> failedSteps;
};

bool EndsWithIgnoringCase(const std::string& text, const std::string& end) {
  return text.size() >= end.size() &&
         EqualsIgnoringAsciiCase(text.substr(text.size() - end.size()), end);
}

// The MAC text of a report's file name tolvik-<MAC>.ini, upper-cased; empty for other files.
std::string MacOfReportFile(const std::string& fileName) {
  const size_t prefix = sizeof kReportPrefix - 1;
  const size_t suffix = sizeof kReportSuffix - 1;
  if (fileName.size() <= prefix + suffix) return std::string();
  if (!EqualsIgnoringAsciiCase(fileName.substr(0, prefix), kReportPrefix)) return std::string();
  if (!EndsWithIgnoringCase(fileName, kReportSuffix)) return std::string();
  return UpperAscii(fileName.substr(prefix, fileName.size() - prefix - suffix));
}

bool ReadReport(const std::string& path, Report* report) {
  std::string bytes;
  if (!SystemFiles().ReadWholeFile(path, &bytes)) return false;
  const auto reader = SystemProfileReaderOf(path, bytes);
  const auto value = [&](const char* section, const char* key) {
    return reader->GetString(section, key, "", path, kValueBufferSize);
  };
  report->name = value("report", "name");
  report->ip = UpperAscii(value("report", "ip"));
  report->result = value("report", "result");
  report->time = value("report", "time");
  for (const char* key : kStepKeys) {
    const std::string code = value("steps", key);
    if (code.empty() || code == "0" || code == "skipped") continue;
    FailedStep step;
    step.step = key;
    bool digits = code.size() <= 10;
    for (char c : code) digits = digits && c >= '0' && c <= '9';
    if (digits) {
      const unsigned long long number = std::stoull(code);
      step.hasCode = number <= 0xFFFFFFFFull;
      step.code = static_cast<uint32_t>(number);
    }
    report->failedSteps.push_back(step);
  }
  return true;
}

// The state of a listed machine given its report: a report about another name or address (an
// older list's, or a run that found no line) is stale; otherwise the report's result counts.
void Judge(MachineStatus* machine, const Report& report) {
  machine->result = report.result;
  machine->time = report.time;
  machine->reportName = report.name;
  machine->reportIp = report.ip;
  machine->failedSteps = report.failedSteps;
  if (!EqualsIgnoringAsciiCase(report.name, machine->name) || report.ip != machine->ip) {
    machine->state = MachineState::kStale;
  } else if (report.result == "done") {
    machine->state = MachineState::kDone;
  } else {
    machine->state = MachineState::kFailed;
  }
}

const char* StateWord(MachineState state) {
  switch (state) {
    case MachineState::kDone: return "done";
    case MachineState::kFailed: return "failed";
    case MachineState::kNoReport: return "no report";
    case MachineState::kStale: return "stale";
    case MachineState::kNotInList: return "not in list";
  }
  return "";
}

// The same word as an identifier, for JSON and the page's classes.
std::string StateKey(MachineState state) {
  std::string key = StateWord(state);
  std::replace(key.begin(), key.end(), ' ', '-');
  return key;
}

// "name 5 (拒绝访问)" for each failed step, comma-separated (GBK).
std::string FailedStepsDetail(const std::vector<FailedStep>& steps) {
  std::string text;
  for (const FailedStep& step : steps) {
    if (!text.empty()) text += ", ";
    text += step.step;
    if (!step.hasCode) continue;
    text += " " + std::to_string(step.code);
    const std::string meaning = MeaningOfCode(step.code);
    if (!meaning.empty()) text += " (" + meaning + ")";
  }
  return text;
}

// What follows the state word (GBK).
std::string Detail(const MachineStatus& m) {
  switch (m.state) {
    case MachineState::kFailed: return FailedStepsDetail(m.failedSteps);
    case MachineState::kStale:
      if (m.result == "no-entry") return "the report's list had no line for this PC";
      return "the report names " + m.reportName + " " + m.reportIp;
    case MachineState::kNotInList:
      return m.result + (m.failedSteps.empty() ? "" : " " + FailedStepsDetail(m.failedSteps));
    default: return std::string();
  }
}

std::string Padded(const std::string& text, size_t width) {
  // GBK takes two bytes for a character two columns wide, so bytes count as columns.
  return text.size() >= width ? text + " " : text + std::string(width - text.size(), ' ');
}

std::string HtmlText(const std::string& utf8) {
  std::string out;
  for (char c : utf8) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

// The list's file name for the page's heading: ASCII only, since the argument is in the
// console's encoding and the page in UTF-8.
std::string ListName(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  for (char& c : name) {
    if (static_cast<unsigned char>(c) >= 0x80) c = '?';
  }
  return name;
}

size_t CountOf(const std::vector<MachineStatus>& machines, MachineState state) {
  return static_cast<size_t>(std::count_if(machines.begin(), machines.end(),
                                           [state](const MachineStatus& m) { return m.state == state; }));
}

}  // namespace

bool ParseStatusArguments(const std::vector<std::string>& arguments, StatusOptions* options,
                          std::string* error) {
  CommandArguments args(arguments, error);
  std::vector<std::string> positional;
  while (!args.AtEnd()) {
    if (args.Flag("--json")) {
      options->json = true;
    } else if (args.Option("--html", &options->htmlPath)) {
      if (!error->empty()) return false;
    } else if (!args.Positional(&positional)) {
      return false;
    }
  }
  if (!error->empty()) return false;
  if (positional.size() != 2) {
    return args.Fail("status needs the list and the folder of reports: maclist status LIST REPORTS");
  }
  options->listPath = positional[0];
  options->reportsDirectory = positional[1];
  return true;
}

bool CollectStatus(const std::string& listPath, const std::string& reportsDirectory,
                   std::vector<MachineStatus>* machines, std::string* error) {
  machines->clear();
  std::string bytes;
  const std::string full = FullPath(listPath);
  if (full.empty() || !SystemFiles().ReadWholeFile(full, &bytes)) {
    *error = "cannot read the list file " + listPath;
    return false;
  }
  std::vector<std::string> files;
  const std::string folder = FullPath(reportsDirectory);
  if (folder.empty() || !FilesInDirectory(folder, &files)) {
    *error = "cannot read the folder of reports " + reportsDirectory;
    return false;
  }
  std::map<std::string, Report> reports;  // by MAC text, in MAC order
  for (const std::string& file : files) {
    const std::string mac = MacOfReportFile(file);
    if (mac.empty()) continue;
    Report report;
    if (!ReadReport(folder + kPathSeparator + file, &report)) {
      *error = "cannot read the report " + file;
      return false;
    }
    reports[mac] = report;
  }

  const auto reader = SystemProfileReaderOf(full, bytes);
  const ListFileContent list = ReadListFile(*reader, full);
  std::map<std::string, bool> listed;
  for (const std::string& line : list.lines) {
    const size_t equals = line.find('=');
    MachineStatus machine;
    machine.mac = UpperAscii(line.substr(0, equals));
    if (!listed.emplace(machine.mac, true).second) continue;  // Tolvik reads the first line
    SplitEntryValue(equals == std::string::npos ? std::string() : line.substr(equals + 1),
                    &machine.ip, &machine.name);
    machine.number = machines->size() + 1;
    const auto found = reports.find(machine.mac);
    if (found != reports.end()) Judge(&machine, found->second);
    machines->push_back(machine);
  }
  for (const auto& [mac, report] : reports) {
    if (listed.count(mac)) continue;
    MachineStatus machine;
    machine.mac = mac;
    machine.name = report.name;
    machine.ip = report.ip;
    machine.state = MachineState::kNotInList;
    machine.result = report.result;
    machine.time = report.time;
    machine.failedSteps = report.failedSteps;
    machines->push_back(machine);
  }
  return true;
}

std::string StatusSummary(const std::vector<MachineStatus>& machines) {
  std::string text = std::to_string(CountOf(machines, MachineState::kDone)) + " done, " +
                     std::to_string(CountOf(machines, MachineState::kFailed)) + " failed, " +
                     std::to_string(CountOf(machines, MachineState::kNoReport)) + " no report";
  for (MachineState extra : {MachineState::kStale, MachineState::kNotInList}) {
    const size_t count = CountOf(machines, extra);
    if (count) text += ", " + std::to_string(count) + " " + StateWord(extra);
  }
  return text;
}

std::string StatusText(const std::vector<MachineStatus>& machines) {
  std::string text;
  for (const MachineStatus& m : machines) {
    const std::string number = m.number ? std::to_string(m.number) : "-";
    text += std::string(number.size() < 4 ? 4 - number.size() : 0, ' ') + number + "  " +
            Padded(m.name, 16) + Padded(m.ip, 16) + Padded(m.mac, 14) + StateWord(m.state);
    const std::string detail = Detail(m);
    if (!detail.empty()) text += ": " + detail;
    text += "\n";
  }
  return text + StatusSummary(machines) + "\n";
}

std::string StatusJson(const std::vector<MachineStatus>& machines) {
  std::string json = "{\"machines\": [";
  for (size_t i = 0; i < machines.size(); ++i) {
    const MachineStatus& m = machines[i];
    json += i ? ",\n  " : "\n  ";
    json += "{\"number\": " + (m.number ? std::to_string(m.number) : std::string("null")) +
            ", \"name\": " + JsonString(Utf8FromGbk(m.name)) + ", \"ip\": " + JsonString(m.ip) +
            ", \"mac\": " + JsonString(m.mac) + ", \"state\": " + JsonString(StateKey(m.state)) +
            ", \"result\": " + JsonString(m.result) + ", \"time\": " + JsonString(m.time) +
            ", \"failed_steps\": [";
    for (size_t s = 0; s < m.failedSteps.size(); ++s) {
      const FailedStep& step = m.failedSteps[s];
      json += std::string(s ? ", " : "") + "{\"step\": " + JsonString(step.step) + ", \"code\": " +
              (step.hasCode ? std::to_string(step.code) : std::string("null")) + ", \"meaning\": " +
              JsonString(step.hasCode ? Utf8FromGbk(MeaningOfCode(step.code)) : std::string()) + "}";
    }
    json += "]}";
  }
  json += machines.empty() ? "],\n" : "\n],\n";
  json += " \"summary\": {";
  bool first = true;
  for (MachineState state : {MachineState::kDone, MachineState::kFailed, MachineState::kNoReport,
                             MachineState::kStale, MachineState::kNotInList}) {
    json += std::string(first ? "" : ", ") + JsonString(StateKey(state)) + ": " +
            std::to_string(CountOf(machines, state));
    first = false;
  }
  return json + "}}\n";
}

std::string StatusHtml(const std::string& listPath, const std::vector<MachineStatus>& machines) {
  std::string html =
      "<!DOCTYPE html>\n<html lang=\"zh-CN\">\n<head>\n<meta charset=\"utf-8\">\n"
      "<title>maclist status</title>\n<style>\n"
      "body { font-family: sans-serif; margin: 1.5em; }\n"
      "table { border-collapse: collapse; }\n"
      "th, td { border: 1px solid #999; padding: 0.3em 0.7em; text-align: left; "
      "white-space: nowrap; }\n"
      "th { background: #ddd; }\n"
      "tr.done td { background: #d6f5d6; }\n"
      "tr.failed td { background: #f8cfcf; }\n"
      "tr.no-report td { background: #eeeeee; color: #555; }\n"
      "tr.stale td { background: #fbeebb; }\n"
      "tr.not-in-list td { background: #d8e4f8; }\n"
      ".summary { font-size: 1.3em; font-weight: bold; }\n"
      "</style>\n</head>\n<body>\n";
  html += "<h1>Tolvik reports: " + HtmlText(ListName(listPath)) + "</h1>\n";
  html += "<p class=\"summary\">" + HtmlText(StatusSummary(machines)) + "</p>\n";
  html += "<table>\n<tr><th>#</th><th>name</th><th>IP</th><th>MAC</th><th>state</th>"
          "<th>details</th><th>time</th></tr>\n";
  for (const MachineStatus& m : machines) {
    html += "<tr class=\"" + StateKey(m.state) + "\"><td>" +
            (m.number ? std::to_string(m.number) : std::string("-")) + "</td><td>" +
            HtmlText(Utf8FromGbk(m.name)) + "</td><td>" + HtmlText(m.ip) + "</td><td>" +
            HtmlText(m.mac) + "</td><td>" + StateWord(m.state) + "</td><td>" +
            HtmlText(Utf8FromGbk(Detail(m))) + "</td><td>" + HtmlText(m.time) + "</td></tr>\n";
  }
  return html + "</table>\n</body>\n</html>\n";
}

int RunStatus(const StatusOptions& options, std::string* standardOutput, std::string* error) {
  std::vector<MachineStatus> machines;
  if (!CollectStatus(options.listPath, options.reportsDirectory, &machines, error)) return 2;
  if (!options.htmlPath.empty()) {
    const std::string path = FullPath(options.htmlPath);
    if (path.empty() ||
        !SystemFiles().WriteWholeFile(path, StatusHtml(options.listPath, machines))) {
      *error = "cannot write the page " + options.htmlPath;
      return 2;
    }
  }
  *standardOutput += options.json ? StatusJson(machines) : TerminalText(StatusText(machines));
  const bool allDone =
      std::all_of(machines.begin(), machines.end(), [](const MachineStatus& m) {
        return m.number == 0 || m.state == MachineState::kDone;
      });
  return allDone ? 0 : 1;
}
