// maclist status: pairs each machine of the list with its report and says what became of it.
#include "tools/maclist/status_command.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include "client/step_outcome.h"
#include "common/list_file.h"
#include "common/text_rules.h"
#include "platform/console_text.h"
#include "platform/profile_api.h"
#include "platform/system_files.h"
#include "tools/maclist/command_arguments.h"
#include "tools/maclist/json_text.h"
#include "tools/maclist/maclist_texts.h"

namespace {

#ifdef _WIN32
constexpr char kPathSeparator = '\\';
#else
constexpr char kPathSeparator = '/';
#endif
constexpr const char kReportPrefix[] = "tolvik-";
constexpr const char kReportSuffix[] = ".ini";
constexpr size_t kMacDigits = 12;
constexpr uint32_t kValueBufferSize = 4096;
// Tolvik's report is under 1 KB; anyone on the LAN may write a bigger file to the TFTP folder.
constexpr size_t kReportSizeLimit = 64 * 1024;
// The keys of a report's section "steps", in the order Tolvik takes the steps.
constexpr const char* kStepKeys[] = {"address", "dns", "name", "membership", "icd"};

// Every state, in the order the summaries count them.
constexpr MachineState kStates[] = {
    MachineState::kDone,       MachineState::kFailed,       MachineState::kPending,
    MachineState::kNoReport,   MachineState::kStale,        MachineState::kNotInList,
    MachineState::kUnreadable, MachineState::kInconsistent, MachineState::kConflicting,
};

// One MAC's report file(s) and what the first one says.
struct Report {
  std::string files;    // "tolvik-X.ini", or each name of a case twin
  bool conflicting = false;
  std::string unreadable;  // why the file cannot be used; empty when it was read
  std::string mac;
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

// The MAC text of a report's file name tolvik-<12 hex digits>.ini, upper-cased; empty for any
// other file.
std::string MacOfReportFile(const std::string& fileName) {
  const size_t prefix = sizeof kReportPrefix - 1;
  const size_t suffix = sizeof kReportSuffix - 1;
  if (fileName.size() != prefix + kMacDigits + suffix) return std::string();
  if (!EqualsIgnoringAsciiCase(fileName.substr(0, prefix), kReportPrefix)) return std::string();
  if (!EndsWithIgnoringCase(fileName, kReportSuffix)) return std::string();
  const std::string mac = UpperAscii(fileName.substr(prefix, kMacDigits));
  for (char c : mac) {
    if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'))) return std::string();
  }
  return mac;
}

// At most kReportSizeLimit bytes of the file; false with *problem otherwise.
bool ReadReportBytes(const std::string& path, std::string* bytes, std::string* problem) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    *problem = "cannot be read";
    return false;
  }
  bytes->resize(kReportSizeLimit + 1);
  const size_t got = std::fread(&(*bytes)[0], 1, bytes->size(), file);
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  bytes->resize(got);
  if (failed) *problem = "cannot be read";
  if (got > kReportSizeLimit) *problem = "over " + std::to_string(kReportSizeLimit) + " bytes";
  return problem->empty();
}

void ReadReport(const std::string& path, Report* report) {
  std::string bytes;
  if (!ReadReportBytes(path, &bytes, &report->unreadable)) return;
  const auto reader = SystemProfileReaderOf(path, bytes);
  const auto value = [&](const char* section, const char* key) {
    return ValidGbk(reader->GetString(section, key, "", path, kValueBufferSize));
  };
  report->mac = value("report", "mac");
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

// Takes the report's texts; false with the machine's state set when the report cannot count:
// twin files, a file that cannot be read, a mac= naming another MAC, or a failed step under a
// result that says all went well.
bool TakeReport(MachineStatus* machine, const Report& report) {
  if (report.conflicting || !report.unreadable.empty()) {
    machine->state = report.conflicting ? MachineState::kConflicting : MachineState::kUnreadable;
    machine->problem = report.files + (report.conflicting ? "" : " " + report.unreadable);
    return false;
  }
  machine->result = report.result;
  machine->time = report.time;
  machine->reportName = report.name;
  machine->reportIp = report.ip;
  machine->failedSteps = report.failedSteps;
  if (machine->number == 0) {  // a MAC the list does not hold: the report names the PC
    machine->name = report.name;
    machine->ip = report.ip;
  }
  if (!EqualsIgnoringAsciiCase(report.mac, machine->mac)) {
    machine->state = MachineState::kInconsistent;
    machine->problem = "its mac= names " + (report.mac.empty() ? "nothing" : report.mac);
  } else if ((report.result == "done" || report.result == "pending") &&
             !report.failedSteps.empty()) {
    machine->state = MachineState::kInconsistent;
    machine->problem =
        "result=" + report.result + " but failed: " + FailedStepsDetail(report.failedSteps);
  } else {
    return true;
  }
  return false;
}

// The state of a listed machine given its report: a report about another name or address (an
// older list's, or a run that found no line) is stale; otherwise the report's result counts.
void Judge(MachineStatus* machine, const Report& report) {
  if (!TakeReport(machine, report)) return;
  if (!EqualsIgnoringAsciiCase(report.name, machine->name) || report.ip != machine->ip) {
    machine->state = MachineState::kStale;
  } else if (report.result == "done") {
    machine->state = MachineState::kDone;
  } else if (report.result == "pending") {
    machine->state = MachineState::kPending;
  } else {
    machine->state = MachineState::kFailed;
  }
}

const char* StateWord(MachineState state) {
  switch (state) {
    case MachineState::kDone: return "done";
    case MachineState::kFailed: return "failed";
    case MachineState::kPending: return "pending";
    case MachineState::kNoReport: return "no report";
    case MachineState::kStale: return "stale";
    case MachineState::kNotInList: return "not in list";
    case MachineState::kUnreadable: return "unreadable report";
    case MachineState::kInconsistent: return "inconsistent report";
    case MachineState::kConflicting: return "conflicting reports";
  }
  return "";
}

// The administrators' word for the page (GBK).
const char* PageStateWord(MachineState state) {
  namespace texts = maclist_texts;
  switch (state) {
    case MachineState::kDone: return texts::kStateDone;
    case MachineState::kFailed: return texts::kStateFailed;
    case MachineState::kPending: return texts::kStatePending;
    case MachineState::kNoReport: return texts::kStateNoReport;
    case MachineState::kStale: return texts::kStateStale;
    case MachineState::kNotInList: return texts::kStateNotInList;
    case MachineState::kUnreadable: return texts::kStateUnreadable;
    case MachineState::kInconsistent: return texts::kStateInconsistent;
    case MachineState::kConflicting: return texts::kStateConflicting;
  }
  return "";
}

// The same word as an identifier, for JSON and the page's classes.
std::string StateKey(MachineState state) {
  std::string key = StateWord(state);
  std::replace(key.begin(), key.end(), ' ', '-');
  return key;
}

// What follows the state word (GBK).
std::string Detail(const MachineStatus& m) {
  switch (m.state) {
    case MachineState::kFailed: {
      // A result other than Tolvik's own words is shown as written.
      const std::string result = m.result == "failed" ? std::string() : "result=" + m.result;
      const std::string steps = FailedStepsDetail(m.failedSteps);
      return result + (result.empty() || steps.empty() ? "" : ", ") + steps;
    }
    case MachineState::kPending: return "renamed; joins the domain after the restart";
    case MachineState::kStale:
      if (m.result == "no-entry") return "the report's list had no line for this PC";
      return "the report names " + m.reportName + " " + m.reportIp;
    case MachineState::kNotInList:
      return m.result + (m.failedSteps.empty() ? "" : " " + FailedStepsDetail(m.failedSteps));
    case MachineState::kUnreadable:
    case MachineState::kInconsistent:
    case MachineState::kConflicting: return m.problem;
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

// A GBK field as page text: control bytes as "?", converted to UTF-8 once, escaped.
std::string PageText(const std::string& gbk) {
  return HtmlText(Utf8FromGbk(WithoutControlBytes(gbk)));
}

// A GBK field as a JSON string: converted to UTF-8 once; JsonString escapes control bytes.
std::string JsonField(const std::string& gbk) { return JsonString(Utf8FromGbk(gbk)); }

// The list's file name for the page's heading: ASCII only, since the argument is in the
// console's encoding and the page in UTF-8.
std::string ListName(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  for (char& c : name) {
    if (static_cast<unsigned char>(c) >= 0x80) c = '?';
  }
  return WithoutControlBytes(name);
}

size_t CountOf(const std::vector<MachineStatus>& machines, MachineState state) {
  return static_cast<size_t>(std::count_if(machines.begin(), machines.end(),
                                           [state](const MachineStatus& m) { return m.state == state; }));
}

// Reports that say their list had no line for the PC: such a PC is unconfigured.
size_t FoundNoLine(const std::vector<MachineStatus>& machines) {
  return static_cast<size_t>(std::count_if(machines.begin(), machines.end(),
                                           [](const MachineStatus& m) { return m.result == "no-entry"; }));
}

// Whether the summary names a state: the first three always, the others when they occur.
bool Counted(const std::vector<MachineStatus>& machines, MachineState state) {
  return state == MachineState::kDone || state == MachineState::kFailed ||
         state == MachineState::kNoReport || CountOf(machines, state) > 0;
}

// The page's summary: "已完成 48 台，未完成 1 台，无回报 1 台；回报列表中没有本机 1 台" (GBK).
std::string PageSummary(const std::vector<MachineStatus>& machines) {
  namespace texts = maclist_texts;
  std::string text;
  for (MachineState state : kStates) {
    if (!Counted(machines, state)) continue;
    if (!text.empty()) text += texts::kSummarySeparator;
    text += std::string(PageStateWord(state)) + " " + std::to_string(CountOf(machines, state)) +
            texts::kSummaryCountSuffix;
  }
  const size_t noLine = FoundNoLine(machines);
  if (noLine) {
    text += std::string(texts::kSummaryNoEntry) + " " + std::to_string(noLine) +
            texts::kSummaryCountSuffix;
  }
  return text;
}

}  // namespace

std::string WithoutControlBytes(const std::string& text) {
  std::string shown = text;
  for (char& c : shown) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
  }
  return shown;
}

std::string ValidGbk(const std::string& bytes) {
  std::string text;
  text.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(bytes[i]);
    if (c < 0x80) {
      text += static_cast<char>(c);
      continue;
    }
    // Code page 936: a lead byte 81-FE, then a trail byte 40-7E or 80-FE.
    const unsigned char next = i + 1 < bytes.size() ? static_cast<unsigned char>(bytes[i + 1]) : 0;
    if (c >= 0x81 && c <= 0xFE && next >= 0x40 && next <= 0xFE && next != 0x7F) {
      text += bytes.substr(i++, 2);
    } else {
      text += '?';
    }
  }
  return text;
}

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
  std::sort(files.begin(), files.end());
  std::map<std::string, Report> reports;  // by MAC text, in MAC order
  for (const std::string& file : files) {
    const std::string mac = MacOfReportFile(file);
    if (mac.empty()) continue;
    Report& report = reports[mac];
    if (!report.files.empty()) {  // the same MAC in other letter case: which one is true?
      report.files += " " + file;
      report.conflicting = true;
      continue;
    }
    report.files = file;
    ReadReport(folder + kPathSeparator + file, &report);
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
    machine.mac = ValidGbk(machine.mac);
    machine.ip = ValidGbk(machine.ip);
    machine.name = ValidGbk(machine.name);
    machine.number = machines->size() + 1;
    const auto found = reports.find(machine.mac);
    if (found != reports.end()) Judge(&machine, found->second);
    machines->push_back(machine);
  }
  for (const auto& [mac, report] : reports) {
    if (listed.count(mac)) continue;
    MachineStatus machine;
    machine.mac = mac;
    if (TakeReport(&machine, report)) machine.state = MachineState::kNotInList;
    machines->push_back(machine);
  }
  return true;
}

std::string StatusSummary(const std::vector<MachineStatus>& machines) {
  std::string text;
  for (MachineState state : kStates) {
    if (!Counted(machines, state)) continue;
    text += (text.empty() ? "" : ", ") + std::to_string(CountOf(machines, state)) + " " +
            StateWord(state);
  }
  const size_t noLine = FoundNoLine(machines);
  if (noLine) text += "; " + std::to_string(noLine) + " found no line";
  return text;
}

std::string StatusText(const std::vector<MachineStatus>& machines) {
  std::string text;
  for (const MachineStatus& m : machines) {
    const std::string number = m.number ? std::to_string(m.number) : "-";
    text += std::string(number.size() < 4 ? 4 - number.size() : 0, ' ') + number + "  " +
            Padded(WithoutControlBytes(m.name), 16) + Padded(WithoutControlBytes(m.ip), 16) +
            Padded(m.mac, 14) + StateWord(m.state);
    const std::string detail = Detail(m);
    if (!detail.empty()) text += ": " + WithoutControlBytes(detail);
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
            ", \"name\": " + JsonField(m.name) + ", \"ip\": " + JsonField(m.ip) +
            ", \"mac\": " + JsonField(m.mac) + ", \"state\": " + JsonString(StateKey(m.state)) +
            ", \"result\": " + JsonField(m.result) + ", \"time\": " + JsonField(m.time) +
            ", \"problem\": " + JsonField(m.problem) + ", \"failed_steps\": [";
    for (size_t s = 0; s < m.failedSteps.size(); ++s) {
      const FailedStep& step = m.failedSteps[s];
      json += std::string(s ? ", " : "") + "{\"step\": " + JsonString(step.step) + ", \"code\": " +
              (step.hasCode ? std::to_string(step.code) : std::string("null")) + ", \"meaning\": " +
              JsonField(step.hasCode ? MeaningOfCode(step.code) : std::string()) + "}";
    }
    json += "]}";
  }
  json += machines.empty() ? "],\n" : "\n],\n";
  json += " \"summary\": {";
  for (MachineState state : kStates) {
    json += JsonString(StateKey(state)) + ": " + std::to_string(CountOf(machines, state)) + ", ";
  }
  return json + "\"no-entry\": " + std::to_string(FoundNoLine(machines)) + "}}\n";
}

std::string StatusHtml(const std::string& listPath, const std::vector<MachineStatus>& machines) {
  namespace texts = maclist_texts;
  const auto utf8 = [](const char* gbk) { return HtmlText(Utf8FromGbk(gbk)); };
  std::string html =
      "<!DOCTYPE html>\n<html lang=\"zh-CN\">\n<head>\n<meta charset=\"utf-8\">\n<title>" +
      utf8(texts::kPageTitle) + "</title>\n<style>\n"
      "body { font-family: sans-serif; margin: 1.5em; }\n"
      "table { border-collapse: collapse; }\n"
      "th, td { border: 1px solid #999; padding: 0.3em 0.7em; text-align: left; "
      "white-space: nowrap; }\n"
      "th { background: #ddd; }\n"
      "tr.done td { background: #d6f5d6; }\n"
      "tr.failed td, tr.inconsistent-report td, tr.conflicting-reports td, "
      "tr.unreadable-report td { background: #f8cfcf; }\n"
      "tr.pending td { background: #e4f5d6; }\n"
      "tr.no-report td { background: #eeeeee; color: #555; }\n"
      "tr.stale td { background: #fbeebb; }\n"
      "tr.not-in-list td { background: #d8e4f8; }\n"
      ".summary { font-size: 1.3em; font-weight: bold; }\n"
      "</style>\n</head>\n<body>\n";
  html += "<h1>" + utf8(texts::kPageTitle) + utf8(texts::kPageTitleSeparator) +
          HtmlText(ListName(listPath)) + "</h1>\n";
  html += "<p class=\"summary\">" + utf8(PageSummary(machines).c_str()) + "</p>\n";
  html += "<p>" + utf8(texts::kPageTrustNote) + "</p>\n<table>\n<tr>";
  for (const char* heading : {texts::kColumnNumber, texts::kColumnName, texts::kColumnIp,
                              texts::kColumnMac, texts::kColumnState, texts::kColumnDetails,
                              texts::kColumnTime}) {
    html += "<th>" + utf8(heading) + "</th>";
  }
  html += "</tr>\n";
  for (const MachineStatus& m : machines) {
    html += "<tr class=\"" + StateKey(m.state) + "\"><td>" +
            (m.number ? std::to_string(m.number) : std::string("-")) + "</td><td>" +
            PageText(m.name) + "</td><td>" + PageText(m.ip) + "</td><td>" + PageText(m.mac) +
            "</td><td>" + utf8(PageStateWord(m.state)) + "</td><td>" + PageText(Detail(m)) +
            "</td><td>" + PageText(m.time) + "</td></tr>\n";
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
  // Unconfigured or unknown: a listed PC not done, a report that cannot be trusted, or a PC
  // whose list had no line for it.
  const bool allDone =
      FoundNoLine(machines) == 0 &&
      std::all_of(machines.begin(), machines.end(), [](const MachineStatus& m) {
        return m.number == 0 ? m.state == MachineState::kNotInList : m.state == MachineState::kDone;
      });
  return allDone ? 0 : 1;
}
