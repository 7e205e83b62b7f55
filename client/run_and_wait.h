// RunAndWait: starts a program hidden with an argument text and waits for it up to a timeout.
#pragma once

#include <cstdint>
#include <string>

#include "platform/process_api.h"

// The program text (quoted when it holds a space and no double quote), a space, the arguments.
std::string FormCommandLine(const std::string& program, const std::string& arguments);

enum class RunOutcome { kNotStarted, kEnded, kStillRunning };

// How one run went: the outcome, then the child's exit code when it ended (Windows' error code,
// never 0, when that code cannot be read or the program could not be started), and what it
// printed when its output was captured.
struct RunResult {
  RunOutcome outcome = RunOutcome::kNotStarted;
  uint32_t code = 0;
  std::string output;
};

// One program to run: what RunAndWait takes, and where Windows finds it. An empty
// applicationPath leaves the search to Windows.
struct RunRequest {
  std::string applicationPath;
  std::string program;
  std::string arguments;
  std::string workingDirectory;
  uint16_t showState = 0;
  uint32_t timeoutMs = 0;
  bool captureOutput = false;
  bool endWhenLate = false;  // a child still running after timeoutMs is ended, not left running
};

RunResult StartAndWait(ProcessApi& processes, const RunRequest& request);

// RunAndWait with the reason when it is false: the program could not be started at all, or it
// was still running after timeoutMs.
RunOutcome StartAndWait(ProcessApi& processes, const std::string& program,
                        const std::string& arguments, const std::string& workingDirectory,
                        uint16_t showState, uint32_t timeoutMs);

// True when the program started and ended within timeoutMs; the child is never ended.
bool RunAndWait(ProcessApi& processes, const std::string& program, const std::string& arguments,
                const std::string& workingDirectory, uint16_t showState, uint32_t timeoutMs);
