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

RunOutcome StartAndWait(ProcessApi& processes, const std::string& program,
                        const std::string& arguments, const std::string& workingDirectory,
                        uint16_t showState, uint32_t timeoutMs) {
  ProcessLaunch launch;
  launch.commandLine = FormCommandLine(program, arguments);
  launch.workingDirectory = workingDirectory;
  launch.creationFlags = kCreateNewConsole;
  if (showState == kSwHide) launch.creationFlags |= kCreateNoWindow;
  launch.startupFlags = kStartfUseShowWindow;
  launch.showWindow = showState;

  uint64_t processId = 0;
  if (!processes.Start(launch, &processId)) return RunOutcome::kNotStarted;
  // A child still running after the timeout is left alone; only our handles to it are released.
  const bool ended = processes.Wait(processId, timeoutMs);
  processes.CloseHandles(processId);
  return ended ? RunOutcome::kEnded : RunOutcome::kStillRunning;
}

bool RunAndWait(ProcessApi& processes, const std::string& program, const std::string& arguments,
                const std::string& workingDirectory, uint16_t showState, uint32_t timeoutMs) {
  return StartAndWait(processes, program, arguments, workingDirectory, showState, timeoutMs) ==
         RunOutcome::kEnded;
}
