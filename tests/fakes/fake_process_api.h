// RecordingProcessApi: records every process start, wait and handle release; scripted outcomes.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/process_api.h"
#include "tests/fakes/call_log.h"

struct ProcessOutcome {
  ProcessOutcome(bool startsIt = true, bool endsItInTime = true)  // NOLINT: {starts, ends}
      : starts(startsIt), endsInTime(endsItInTime) {}

  bool starts;              // false: CreateProcessA fails with startError
  bool endsInTime;          // false: every Wait times out and the child goes on running
  uint32_t exitCode = 0;
  bool exitCodeReadable = true;  // false: GetExitCodeProcess fails with exitCode as its error
  // What the child prints, read when the launch captures it (only wmic's is): by default what
  // wmic prints for a method call that succeeded.
  std::string output =
      "Executing (Win32_ComputerSystem)->JoinDomainOrWorkgroup()\r\nMethod execution successful."
      "\r\nOut Parameters:\r\ninstance of __PARAMETERS\r\n{\r\n\tReturnValue = 0;\r\n};\r\n";
  uint32_t startError = 2;  // ERROR_FILE_NOT_FOUND
};

// Log entries: "Start(<commandLine>)", "Wait(<commandLine>, <timeoutMs>)",
// "End(<commandLine>)", "CloseHandles(<commandLine>)".
class RecordingProcessApi : public ProcessApi {
 public:
  struct Record {
    ProcessLaunch launch;
    bool started = false;
    uint64_t id = 0;
    std::vector<uint32_t> waits;  // the timeout of each Wait, in order
    int closes = 0;
    bool ended = false;  // End was called
    ProcessOutcome outcome;  // as scripted
  };

  explicit RecordingProcessApi(CallLog& log) : log_(log) {}

  bool Start(const ProcessLaunch& launch, uint64_t* processId, uint32_t* startError) override;
  bool Wait(uint64_t processId, uint32_t timeoutMs) override;
  bool ExitCode(uint64_t processId, uint32_t* exitCode) override;
  std::string Output(uint64_t processId) override;
  void End(uint64_t processId) override;
  void CloseHandles(uint64_t processId) override;

  // Outcomes taken one per Start, in order; once used up, defaultOutcome applies.
  std::deque<ProcessOutcome> outcomes;
  ProcessOutcome defaultOutcome;
  // When set, decides the outcome of each Start instead of the two above.
  std::function<ProcessOutcome(const ProcessLaunch&)> decide;
  // Runs when a started process "runs" (right after a successful Start), e.g. a fake tftp that
  // puts mac.ini into its working directory.
  std::function<void(const ProcessLaunch&)> onRun;

  std::vector<Record> records;
  // A start without an application name leaves Windows to search for the program, the program's
  // own folder first; Tolvik never does that, so such a start fails the test unless allowed.
  bool allowsSearch = false;

  // The command line of every Start call, started or not, in order.
  std::vector<std::string> CommandLines() const;
  // Processes started whose handles were not closed exactly once.
  std::vector<std::string> HandleLeaks() const;

 private:
  Record* Find(uint64_t processId);

  CallLog& log_;
  uint64_t nextId_ = 100;
};
