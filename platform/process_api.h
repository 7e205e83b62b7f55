// Child processes: start (CreateProcessA), wait (WaitForSingleObject), close handles.
#pragma once

#include <cstdint>
#include <string>

constexpr uint32_t kCreateNewConsole = 0x10;
constexpr uint32_t kCreateNoWindow = 0x08000000;
constexpr uint32_t kIdlePriorityClass = 0x40;
constexpr uint32_t kStartfUseShowWindow = 0x1;
constexpr uint16_t kSwHide = 0;
constexpr uint32_t kInfinite = 0xFFFFFFFF;

struct ProcessLaunch {
  // Full path handed to CreateProcessA as the application name; empty: none, and Windows finds
  // the program from the command line.
  std::string applicationName;
  std::string commandLine;
  std::string workingDirectory;   // empty: the child inherits the current directory
  uint32_t creationFlags = 0;
  uint32_t startupFlags = 0;      // STARTUPINFO dwFlags; every other field but the size is zero
  uint16_t showWindow = 0;        // STARTUPINFO wShowWindow
  // The child's standard output and error go into a pipe that Wait reads; its standard input
  // is the NUL device, so a tool that reads its input (wmic does) cannot wait on it for ever.
  bool captureOutput = false;
};

class ProcessApi {
 public:
  virtual ~ProcessApi() = default;

  // Starts the process; on success *processId identifies it for Wait and CloseHandles, on
  // failure *startError holds Windows' error code (GetLastError after CreateProcessA).
  virtual bool Start(const ProcessLaunch& launch, uint64_t* processId, uint32_t* startError) = 0;

  // True when the process ended within timeoutMs (kInfinite waits without limit).
  virtual bool Wait(uint64_t processId, uint32_t timeoutMs) = 0;

  // GetExitCodeProcess of a process that Wait saw end: its code whatever the value (259, which
  // reads as STILL_ACTIVE, included). False when it cannot be read; *exitCode then holds
  // Windows' error code, never 0.
  virtual bool ExitCode(uint64_t processId, uint32_t* exitCode) = 0;

  // The bytes a process started with captureOutput wrote, as far as Wait has read them.
  virtual std::string Output(uint64_t processId) = 0;

  // TerminateProcess: ends a child that overran its time (before CloseHandles).
  virtual void End(uint64_t processId) = 0;

  // Closes the process and thread handles; this alone never ends the child.
  virtual void CloseHandles(uint64_t processId) = 0;
};
