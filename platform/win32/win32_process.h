// ProcessApi on Windows: CreateProcessA, WaitForSingleObject and CloseHandle.
#pragma once

#include <cstdint>
#include <map>

#include "platform/process_api.h"

class Win32ProcessApi : public ProcessApi {
 public:
  ~Win32ProcessApi() override;

  // The process id Windows gives the child identifies it here.
  bool Start(const ProcessLaunch& launch, uint64_t* processId) override;
  bool Wait(uint64_t processId, uint32_t timeoutMs) override;
  void CloseHandles(uint64_t processId) override;

 private:
  struct Handles {
    void* process;
    void* thread;
  };
  std::map<uint64_t, Handles> open_;
};
