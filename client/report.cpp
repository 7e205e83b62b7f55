// Tolvik's report: its text, where it goes, and when it is sent.
#include "client/report.h"

#include "client/apply_settings.h"
#include "client/client_texts.h"
#include "client/tftp_write.h"
#include "common/text_rules.h"
#include "program_version.h"

namespace {

constexpr uint32_t kComputerNameBufferSize = 16;  // MAX_COMPUTERNAME_LENGTH + 1

const char* ResultWord(ReportResult result) {
  switch (result) {
    case ReportResult::kDone: return "done";
    case ReportResult::kFailed: return "failed";
    case ReportResult::kNoEntry: return "no-entry";
    case ReportResult::kPending: return "pending";
  }
  return "failed";
}

// YYYY-MM-DD HH:MM:SS. Written with ZeroPad, not snprintf: MinGW's printf brings its whole
// floating-point formatter into Tolvik.exe, about 20 KB of a program kept under 256 KB.
std::string TimeText(const LocalTime& t) {
  return ZeroPad(t.year, 4) + "-" + ZeroPad(t.month, 2) + "-" + ZeroPad(t.day, 2) + " " +
         ZeroPad(t.hour, 2) + ":" + ZeroPad(t.minute, 2) + ":" + ZeroPad(t.second, 2);
}

// One step's value: the code of its first failure, 0 when every command of it succeeded,
// "skipped" when none ran.
std::string StepValue(const std::vector<StepOutcome>& outcomes, ApplyStep step) {
  bool ran = false;
  for (const StepOutcome& outcome : outcomes) {
    if (outcome.step != step) continue;
    if (outcome.result != StepResult::kDone) {
      // A failure without a code must not read as success: what the program said instead, or
      // "failed".
      if (outcome.code != 0) return std::to_string(outcome.code);
      return outcome.detail.empty() ? std::string("failed") : outcome.detail;
    }
    ran = true;
  }
  return ran ? "0" : "skipped";
}

void Line(std::string* text, const char* key, const std::string& value) {
  *text += key;
  *text += '=';
  *text += value;
  *text += "\r\n";
}

// Sends the report; when it does not arrive, says so under the information text.
void SendReport(ClientPlatform& platform, const std::string& server, const ReportFacts& facts) {
  std::string serverMessage;
  const TftpOutcome outcome = TftpWriteFile(platform.datagrams, server, ReportFileName(facts.mac),
                                            ReportText(facts), &serverMessage);
  if (outcome == TftpOutcome::kComplete) return;
  std::string line = client_texts::kReportNotDelivered + TrimText(server);
  switch (outcome) {
    case TftpOutcome::kServerError: line += client_texts::kReportRefused + serverMessage; break;
    case TftpOutcome::kNoAnswer: line += client_texts::kReportNoAnswer; break;
    default: line += client_texts::kReportNoConnection; break;
  }
  platform.window.SetInfoText(platform.window.InfoText() + "\r\n" + line);
}

}  // namespace

std::string ReportText(const ReportFacts& facts) {
  std::string text = "[report]\r\n";
  Line(&text, "mac", facts.mac);
  Line(&text, "name", facts.name);
  Line(&text, "ip", facts.ip);
  Line(&text, "previous_name", facts.previousName);
  Line(&text, "result", ResultWord(facts.result));
  Line(&text, "time", TimeText(facts.time));
  Line(&text, "version", facts.version);
  text += "[steps]\r\n";
  Line(&text, "address", StepValue(facts.outcomes, ApplyStep::kAddress));
  Line(&text, "dns", StepValue(facts.outcomes, ApplyStep::kDns));
  Line(&text, "name", StepValue(facts.outcomes, ApplyStep::kComputerName));
  Line(&text, "membership", StepValue(facts.outcomes, ApplyStep::kMembership));
  Line(&text, "icd", StepValue(facts.outcomes, ApplyStep::kIcd));
  return text;
}

std::string ReportFileName(const std::string& mac) {
  return client_texts::kReportFilePrefix + mac + client_texts::kReportFileSuffix;
}

std::string ReportServer(const ClientState& state) {
  if (state.List.report.empty()) return std::string();
  if (EqualsIgnoringAsciiCase(state.List.report, "tftp")) return state.ListServer;
  return state.List.report;
}

void ApplyAndReport(ClientPlatform& platform, ClientState& state) {
  // Each apply answers for itself: an earlier one's success must not stand for this one.
  state.Applied = 0;
  const std::string server = ReportServer(state);
  // No entry to apply: the apply does nothing, and there is nothing to report.
  if (server.empty() || state.EntryIp.empty()) {
    ApplySettings(platform, state);
    return;
  }
  ReportFacts facts;
  facts.mac = state.EntryMac;
  facts.name = state.ComputerName;
  facts.ip = state.EntryIp;
  facts.previousName = platform.system.ComputerName(kComputerNameBufferSize);
  // An apply refused for want of rights runs no step: its report shows every step skipped.
  state.StepOutcomes.clear();
  ApplySettings(platform, state);
  facts.result = state.Applied      ? ReportResult::kDone
                 : state.JoinPending ? ReportResult::kPending
                                     : ReportResult::kFailed;
  facts.outcomes = state.StepOutcomes;
  facts.time = platform.system.Now();
  facts.version = PROGRAM_VERSION_TEXT;
  SendReport(platform, server, facts);
}

void ReportNoEntry(ClientPlatform& platform, ClientState& state) {
  const std::string server = ReportServer(state);
  // A PC without any adapter has no MAC text to name its report by.
  if (server.empty() || state.AdapterMacs.empty()) return;
  ReportFacts facts;
  facts.mac = state.AdapterMacs.front();
  facts.previousName = platform.system.ComputerName(kComputerNameBufferSize);
  facts.result = ReportResult::kNoEntry;
  facts.time = platform.system.Now();
  facts.version = PROGRAM_VERSION_TEXT;
  SendReport(platform, server, facts);
}
