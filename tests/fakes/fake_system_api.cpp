// FakeSystemApi: nothing here touches the machine; restarts are only counted.
#include "tests/fakes/fake_system_api.h"

#include <algorithm>

std::string FakeSystemApi::CommandLine() {
  log_.Add("CommandLine()");
  return commandLine;
}

uint32_t FakeSystemApi::Version() {
  log_.Add("Version()");
  return version;
}

void FakeSystemApi::SetLastError(uint32_t code) {
  log_.Add("SetLastError(" + std::to_string(code) + ")");
  lastError = code;
}

uint32_t FakeSystemApi::SetComputerName(const std::string& name) {
  log_.Add("SetComputerName(" + name + ")");
  return name.empty() ? 87 : setComputerNameError;  // ERROR_INVALID_PARAMETER
}

uint32_t FakeSystemApi::SetComputerNameEx(int nameType, const std::string& name) {
  log_.Add("SetComputerNameEx(" + std::to_string(nameType) + ", " + name + ")");
  return name.empty() ? 87 : setComputerNameError;
}

std::string FakeSystemApi::EnvironmentVariable(const std::string& name) {
  log_.Add("EnvironmentVariable(" + name + ")");
  auto found = environment.find(name);
  return found == environment.end() ? std::string() : found->second;
}

uint32_t FakeSystemApi::TickCount() { return *clock; }

std::string FakeSystemApi::SystemDirectory() { return systemDirectory; }

void FakeSystemApi::Sleep(uint32_t milliseconds) {
  log_.Add("Sleep(" + std::to_string(milliseconds) + ")");
  *clock += milliseconds;
}

std::string FakeSystemApi::ComputerName(uint32_t bufferSize) {
  log_.Add("ComputerName(" + std::to_string(bufferSize) + ")");
  if (currentComputerName.size() + 1 > bufferSize) return std::string();
  return currentComputerName;
}

void FakeSystemApi::Beep(uint32_t frequency, uint32_t durationMs) {
  log_.Add("Beep(" + std::to_string(frequency) + ", " + std::to_string(durationMs) + ")");
}

bool FakeSystemApi::IsAdministrator() {
  log_.Add("IsAdministrator()");
  return administrator;
}

DomainJoinOutcome FakeSystemApi::JoinDomain(const DomainJoinRequest& request) {
  log_.Add("JoinDomain(" + request.server + ", " + request.domain + ", " + request.accountOu +
           ", " + request.account + ", " + request.password + ", " +
           std::to_string(request.options) + ")");
  return joinOutcome;
}

DomainMembership FakeSystemApi::JoinInformation() {
  log_.Add("JoinInformation()");
  return membership;
}

std::string FakeSystemApi::AnsiOfUtf16(const std::string& bytes) {
  std::string text;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    text += bytes[i + 1] == '\0' && static_cast<uint8_t>(bytes[i]) < 0x80 ? bytes[i] : '?';
  }
  return text;
}

bool FakeSystemApi::EnablePrivilege(const std::string& machine, const std::string& privilege) {
  log_.Add("EnablePrivilege(" + machine + ", " + privilege + ")");
  return std::find(failingPrivileges.begin(), failingPrivileges.end(), privilege) ==
         failingPrivileges.end();
}

bool FakeSystemApi::InitiateSystemShutdown(const std::string& machine, uint32_t timeoutSeconds,
                                           bool forceAppsClosed, bool rebootAfterShutdown) {
  log_.Add("InitiateSystemShutdown(" + machine + ", " + std::to_string(timeoutSeconds) + ", " +
           (forceAppsClosed ? "1" : "0") + ", " + (rebootAfterShutdown ? "1" : "0") + ")");
  ++shutdownRequests;
  return shutdownResult;
}

bool FakeSystemApi::ExitWindows(uint32_t flags) {
  log_.Add("ExitWindows(" + std::to_string(flags) + ")");
  ++shutdownRequests;
  return exitWindowsResult;
}
