// ProcessApi on Windows: CreateProcessA, WaitForSingleObject, GetExitCodeProcess, an output pipe
// and CloseHandle.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "platform/process_api.h"

class Win32ProcessApi : public ProcessApi {
 public:
  ~Win32ProcessApi() override;

  // The process id Windows gives the child identifies it here.
  bool Start(const ProcessLaunch& launch, uint64_t* processId, uint32_t* startError) override;
  bool Wait(uint64_t processId, uint32_t timeoutMs) override;
  bool ExitCode(uint64_t processId, uint32_t* exitCode) override;
  std::string Output(uint64_t processId) override;
  void End(uint64_t processId) override;
  void CloseHandles(uint64_t processId) override;

  // Runs with waitingContext whenever window messages arrive while Wait waits, so the window
  // stays responsive.
  void (*whileWaiting)(void* context) = nullptr;
  void* waitingContext = nullptr;

 private:
  struct Handles {
    void* process;
    void* thread;
    void* outputPipe;    // read end of the child's output; null unless captured
    std::string output;  // what has been read from it so far
  };
  void ReadAvailableOutput(Handles& handles);
  // Waits up to timeoutMs for the process; handles window messages meanwhile. True when it ended.
  bool WaitHandlingMessages(void* process, uint32_t timeoutMs);

  std::map<uint64_t, Handles> open_;
};
