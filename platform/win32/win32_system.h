// SystemApi on Windows: command line, version, computer name, beep, rights, domain join, restart.
#pragma once

#include "platform/system_api.h"

class Win32SystemApi : public SystemApi {
 public:
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
  LocalTime Now() override;
  bool IsAdministrator() override;
  DomainJoinOutcome JoinDomain(const DomainJoinRequest& request) override;
  DomainMembership JoinInformation() override;
  std::string AnsiOfUtf16(const std::string& bytes) override;
  bool EnablePrivilege(const std::string& machine, const std::string& privilege) override;
  bool InitiateSystemShutdown(const std::string& machine, uint32_t timeoutSeconds,
                              bool forceAppsClosed, bool rebootAfterShutdown) override;
  bool ExitWindows(uint32_t flags) override;
};
