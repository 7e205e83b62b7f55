// StepOutcome: what one step of an apply ran and the code it ended with; the texts that tell
// the user which steps failed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/system_api.h"

// What a child that overran its time is reported with (WAIT_TIMEOUT).
constexpr uint32_t kWaitTimeoutCode = 258;
// ERROR_LOGON_FAILURE: a join's account name or password was refused.
constexpr uint32_t kLogonFailureCode = 1326;

enum class ApplyStep { kAddress, kDns, kComputerName, kMembership, kIcd };

enum class StepResult {
  kDone,
  kFailed,      // code: the program's exit code or result, or Windows' error code
  kNotStarted,  // code: Windows' error code from starting the program
};

struct StepOutcome {
  ApplyStep step = ApplyStep::kAddress;
  std::string action;  // the command line started, or the call made
  StepResult result = StepResult::kDone;
  uint32_t code = 0;
  std::string detail;  // what the program said instead of a result, shown after the code
};

// True when any recorded step did not succeed.
bool AnyStepFailed(const std::vector<StepOutcome>& outcomes);

// The N of wmic's "ReturnValue = N;" line. wmic writes ANSI on some versions and UTF-16 when its
// output is a pipe on others; both are read. False when no such line was printed.
bool FindWmicReturnValue(const std::string& output, uint32_t* returnValue);

// The first line of a program's output that holds more than blanks, trimmed; UTF-16 output (as
// wmic writes into a pipe on some versions) converted to the ANSI code page first.
std::string FirstOutputLine(SystemApi& system, const std::string& output);

// The meaning of the codes a join or a rename commonly ends with, in Chinese; empty for others.
std::string MeaningOfCode(uint32_t code);

// "，错误代码 N" and, where known, the code's meaning between full-width brackets.
std::string CodeText(uint32_t code);

// "修改未全部完成：" and one line per failed step, with its code and, where known, its meaning.
// isDomainJoin tells the membership step's line of a domain from that of a workgroup.
std::string FailedStepsText(const std::vector<StepOutcome>& outcomes, bool isDomainJoin);
