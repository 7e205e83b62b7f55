// StepOutcome: reading wmic's ReturnValue and writing the lines of the steps that failed.
#include "client/step_outcome.h"

#include "client/client_texts.h"
#include "common/text_rules.h"

namespace t = client_texts;

namespace {

const char* FailedStepText(ApplyStep step, bool isDomainJoin) {
  switch (step) {
    case ApplyStep::kAddress: return t::kAddressFailed;
    case ApplyStep::kDns: return t::kDnsFailed;
    case ApplyStep::kComputerName: return t::kComputerNameFailed;
    case ApplyStep::kMembership: return isDomainJoin ? t::kDomainFailed : t::kWorkgroupFailed;
    case ApplyStep::kIcd: return t::kIcdFailed;
  }
  return t::kAddressFailed;
}

// The program of a command line: its first word, as netsh or wmic.
std::string ProgramOf(const std::string& commandLine) {
  return commandLine.substr(0, commandLine.find(' '));
}

}  // namespace

bool AnyStepFailed(const std::vector<StepOutcome>& outcomes) {
  for (const StepOutcome& outcome : outcomes) {
    if (outcome.result != StepResult::kDone) return true;
  }
  return false;
}

bool FindWmicReturnValue(const std::string& output, uint32_t* returnValue) {
  // UTF-16 output holds the same ASCII letters with a NUL after each; without the NULs (and
  // the byte-order mark, which holds no letter) both encodings read alike.
  std::string text;
  text.reserve(output.size());
  for (char c : output) {
    if (c != '\0') text += c;
  }
  const std::string key = "ReturnValue";
  for (size_t at = text.find(key); at != std::string::npos; at = text.find(key, at + 1)) {
    size_t i = at + key.size();
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    if (i >= text.size() || text[i] != '=') continue;
    ++i;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    size_t digits = i;
    uint64_t value = 0;
    while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9' &&
           value <= 0xFFFFFFFFu) {
      value = value * 10 + static_cast<uint64_t>(text[digits] - '0');
      ++digits;
    }
    if (digits == i || value > 0xFFFFFFFFu) continue;
    *returnValue = static_cast<uint32_t>(value);
    return true;
  }
  return false;
}

std::string FirstOutputLine(SystemApi& system, const std::string& output) {
  std::string text = output;
  // UTF-16: its byte-order mark, or an ASCII first character with its NUL.
  if (output.size() >= 2 && (output.compare(0, 2, "\xFF\xFE") == 0 || output[1] == '\0')) {
    text = system.AnsiOfUtf16(output.substr(output[1] == '\0' ? 0 : 2));
  }
  for (size_t begin = 0; begin < text.size();) {
    size_t end = text.find_first_of("\r\n", begin);
    if (end == std::string::npos) end = text.size();
    const std::string line = TrimText(text.substr(begin, end - begin));
    if (!line.empty()) return line;
    begin = end + 1;
  }
  return std::string();
}

std::string MeaningOfCode(uint32_t code) {
  switch (code) {
    case 2: return t::kCodeFileNotFound;
    case 5: return t::kCodeAccessDenied;
    case 53: return t::kCodeNetworkPathNotFound;
    case 87: return t::kCodeInvalidParameter;
    case 1210: return t::kCodeInvalidComputerName;
    case 1326: return t::kCodeLogonFailure;
    case 1355: return t::kCodeNoSuchDomain;
    case 2224: return t::kCodeAccountExists;
    case 2691: return t::kCodeAlreadyJoined;
    case kWaitTimeoutCode: return t::kCodeTimedOut;
    default: return std::string();
  }
}

std::string CodeText(uint32_t code) {
  std::string text = t::kErrorCode + std::to_string(code);
  const std::string meaning = MeaningOfCode(code);
  if (!meaning.empty()) text += t::kMeaningOpen + meaning + t::kMeaningClose;
  return text;
}

std::string FailedStepsText(const std::vector<StepOutcome>& outcomes, bool isDomainJoin) {
  std::string text = t::kApplyIncomplete;
  for (const StepOutcome& outcome : outcomes) {
    if (outcome.result == StepResult::kDone) continue;
    text += "\r\n";
    text += FailedStepText(outcome.step, isDomainJoin);
    if (outcome.result == StepResult::kNotStarted) text += t::kCannotStart + ProgramOf(outcome.action);
    // A failed profile write has no code to show.
    // A detail of its own says more than the code's common meaning.
    if (outcome.code != 0) {
      text += outcome.detail.empty() ? CodeText(outcome.code)
                                     : t::kErrorCode + std::to_string(outcome.code);
    }
    if (!outcome.detail.empty()) text += t::kMeaningOpen + outcome.detail + t::kMeaningClose;
    text += t::kFailedLineEnd;
  }
  return text;
}
