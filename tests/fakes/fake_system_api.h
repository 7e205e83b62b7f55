// FakeSystemApi: scripted command line, version and computer name; records every system call.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/system_api.h"
#include "tests/fakes/call_log.h"

// Log entries: "CommandLine()", "Version()", "SetLastError(<code>)", "SetComputerName(<name>)",
// "SetComputerNameEx(<type>, <name>)", "ComputerName(<bufferSize>)", "Beep(<hz>, <ms>)",
// "EnvironmentVariable(<name>)", "Sleep(<ms>)" (TickCount and SystemDirectory are not logged), "IsAdministrator()", "JoinDomain(<server>, <domain>, <ou>, <account>, <password>, <options>)",
// "JoinInformation()",
// "EnablePrivilege(<machine>, <privilege>)",
// "InitiateSystemShutdown(<machine>, <timeout>, <force 0|1>, <reboot 0|1>)",
// "ExitWindows(<flags>)".
class FakeSystemApi : public SystemApi {
 public:
  explicit FakeSystemApi(CallLog& log) : log_(log) {}

  std::string CommandLine() override;
  uint32_t Version() override;
  void SetLastError(uint32_t code) override;
  uint32_t SetComputerName(const std::string& name) override;
  uint32_t SetComputerNameEx(int nameType, const std::string& name) override;
  std::string ComputerName(uint32_t bufferSize) override;
  void Beep(uint32_t frequency, uint32_t durationMs) override;
  std::string EnvironmentVariable(const std::string& name) override;
  uint32_t TickCount() override;
  std::string SystemDirectory() override;
  void Sleep(uint32_t milliseconds) override;
  LocalTime Now() override { return now; }
  bool IsAdministrator() override;
  DomainJoinOutcome JoinDomain(const DomainJoinRequest& request) override;
  DomainMembership JoinInformation() override;
  // ASCII kept, every other unit as "?" (not logged).
  std::string AnsiOfUtf16(const std::string& bytes) override;
  bool EnablePrivilege(const std::string& machine, const std::string& privilege) override;
  bool InitiateSystemShutdown(const std::string& machine, uint32_t timeoutSeconds,
                              bool forceAppsClosed, bool rebootAfterShutdown) override;
  bool ExitWindows(uint32_t flags) override;

  std::string commandLine = "\"C:\\Tolvik\\Tolvik.exe\"";
  uint32_t version = 0x0A280105;            // Windows XP (5.1, build 2600): top bit clear
  // The name Windows runs under now. The Set calls take effect only at the next start, as on
  // Windows, so they never change it. ComputerName(size) fails (empty text) when the name does
  // not fit in size bytes with its NUL.
  std::string currentComputerName = "CLONE-PC";
  bool administrator = true;                // what IsAdministrator answers
  DomainJoinOutcome joinOutcome{true, 0};   // what JoinDomain answers: found, and done
  DomainMembership membership;              // what JoinInformation answers: no domain
  // Both SetComputerName calls: 0 (done), or this code; an empty name fails with 87.
  uint32_t setComputerNameError = 0;
  std::map<std::string, std::string> environment;  // what EnvironmentVariable finds
  std::string systemDirectory = "C:\\WINDOWS\\system32";  // what SystemDirectory answers
  // A clock that only Sleep moves: TickCount answers it, Sleep adds to it. Pointing clock at
  // another fake's clock (the socket's) makes one time for both.
  uint32_t tickCount = 1000;
  uint32_t* clock = &tickCount;
  LocalTime now{2026, 3, 7, 8, 5, 9};  // what Now answers (not logged)
  std::vector<std::string> failingPrivileges;  // EnablePrivilege fails for these names
  bool shutdownResult = true;
  bool exitWindowsResult = true;

  uint32_t lastError = 0;
  int shutdownRequests = 0;                 // InitiateSystemShutdown and ExitWindows calls

 private:
  CallLog& log_;
};
