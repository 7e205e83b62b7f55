// RunAndWait: forms the command line, starts the child hidden and waits for it up to a timeout.
#include "client/run_and_wait.h"

std::string FormCommandLine(const std::string& program, const std::string& arguments) {
  std::string commandLine = program;
  // A program text that already carries double quotes is taken as quoted by its caller.
  if (program.find(' ') != std::string::npos && program.find('"') == std::string::npos) {
    commandLine = "\"" + program + "\"";
  }
  if (!program.empty() && !arguments.empty()) commandLine += ' ';
  commandLine += arguments;
  return commandLine;
}

RunResult StartAndWait(ProcessApi& processes, const RunRequest& request) {
  ProcessLaunch launch;
  launch.applicationName = request.applicationPath;
  launch.commandLine = FormCommandLine(request.program, request.arguments);
  launch.workingDirectory = request.workingDirectory;
  launch.creationFlags = kCreateNewConsole;
  if (request.showState == kSwHide) launch.creationFlags |= kCreateNoWindow;
  launch.startupFlags = kStartfUseShowWindow;
  launch.showWindow = request.showState;
  launch.captureOutput = request.captureOutput;

  RunResult result;
  uint64_t processId = 0;
  if (!processes.Start(launch, &processId, &result.code)) return result;
  // A child still running after the timeout is left alone unless the request ends it; our
  // handles to it are released either way.
  const bool ended = processes.Wait(processId, request.timeoutMs);
  result.outcome = ended ? RunOutcome::kEnded : RunOutcome::kStillRunning;
  result.code = 0;
  // A code that cannot be read is no success: it keeps Windows' error (ERROR_INVALID_HANDLE
  // should that be 0).
  if (ended && !processes.ExitCode(processId, &result.code) && result.code == 0) result.code = 6;
  if (!ended && request.endWhenLate) processes.End(processId);
  if (request.captureOutput) result.output = processes.Output(processId);
  processes.CloseHandles(processId);
  return result;
}

RunOutcome StartAndWait(ProcessApi& processes, const std::string& program,
                        const std::string& arguments, const std::string& workingDirectory,
                        uint16_t showState, uint32_t timeoutMs) {
  RunRequest request;
  request.program = program;
  request.arguments = arguments;
  request.workingDirectory = workingDirectory;
  request.showState = showState;
  request.timeoutMs = timeoutMs;
  return StartAndWait(processes, request).outcome;
}

bool RunAndWait(ProcessApi& processes, const std::string& program, const std::string& arguments,
                const std::string& workingDirectory, uint16_t showState, uint32_t timeoutMs) {
  return StartAndWait(processes, program, arguments, workingDirectory, showState, timeoutMs) ==
         RunOutcome::kEnded;
}
