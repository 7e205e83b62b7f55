// RecordingProcessApi: launches are kept as records; ids are handed out from 100 upwards.
#include "tests/fakes/fake_process_api.h"

#include <gtest/gtest.h>

bool RecordingProcessApi::Start(const ProcessLaunch& launch, uint64_t* processId,
                                uint32_t* startError) {
  log_.Add("Start(" + launch.commandLine + ")");
  if (launch.applicationName.empty() && !allowsSearch) {
    ADD_FAILURE() << "started without an application name: " << launch.commandLine;
  }
  ProcessOutcome outcome = defaultOutcome;
  if (decide) {
    outcome = decide(launch);
  } else if (!outcomes.empty()) {
    outcome = outcomes.front();
    outcomes.pop_front();
  }
  Record record;
  record.launch = launch;
  record.started = outcome.starts;
  record.outcome = outcome;
  if (outcome.starts) {
    record.id = nextId_++;
    *processId = record.id;
  } else {
    *startError = outcome.startError;
  }
  records.push_back(record);
  if (outcome.starts && onRun) onRun(launch);
  return outcome.starts;
}

bool RecordingProcessApi::Wait(uint64_t processId, uint32_t timeoutMs) {
  Record* record = Find(processId);
  if (record == nullptr) {
    ADD_FAILURE() << "Wait on a process that was never started: " << processId;
    return false;
  }
  if (record->closes > 0) ADD_FAILURE() << "Wait after CloseHandles: " << record->launch.commandLine;
  log_.Add("Wait(" + record->launch.commandLine + ", " + std::to_string(timeoutMs) + ")");
  record->waits.push_back(timeoutMs);
  return record->outcome.endsInTime;
}

bool RecordingProcessApi::ExitCode(uint64_t processId, uint32_t* exitCode) {
  Record* record = Find(processId);
  if (record == nullptr || record->closes > 0 || record->waits.empty() ||
      !record->outcome.endsInTime) {
    ADD_FAILURE() << "ExitCode of a process that has not ended or was released";
    return false;
  }
  *exitCode = record->outcome.exitCode;
  return record->outcome.exitCodeReadable;
}

void RecordingProcessApi::End(uint64_t processId) {
  Record* record = Find(processId);
  if (record == nullptr || record->closes > 0) {
    ADD_FAILURE() << "End of a process that was never started or was released";
    return;
  }
  log_.Add("End(" + record->launch.commandLine + ")");
  record->ended = true;
}

std::string RecordingProcessApi::Output(uint64_t processId) {
  Record* record = Find(processId);
  if (record == nullptr || !record->launch.captureOutput) {
    ADD_FAILURE() << "Output of a process whose output was not captured";
    return std::string();
  }
  return record->outcome.output;
}

void RecordingProcessApi::CloseHandles(uint64_t processId) {
  Record* record = Find(processId);
  if (record == nullptr) {
    ADD_FAILURE() << "CloseHandles on a process that was never started: " << processId;
    return;
  }
  log_.Add("CloseHandles(" + record->launch.commandLine + ")");
  ++record->closes;
}

std::vector<std::string> RecordingProcessApi::CommandLines() const {
  std::vector<std::string> lines;
  for (const Record& record : records) lines.push_back(record.launch.commandLine);
  return lines;
}

std::vector<std::string> RecordingProcessApi::HandleLeaks() const {
  std::vector<std::string> leaks;
  for (const Record& record : records) {
    if (record.started && record.closes != 1) {
      leaks.push_back(record.launch.commandLine + " closed " + std::to_string(record.closes) +
                      " times");
    }
  }
  return leaks;
}

RecordingProcessApi::Record* RecordingProcessApi::Find(uint64_t processId) {
  for (Record& record : records) {
    if (record.started && record.id == processId) return &record;
  }
  return nullptr;
}
