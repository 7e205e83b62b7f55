// The Windows programs Tolvik starts, each from Windows' system directory and nowhere else.
#pragma once

#include <string>

#include "client/client_platform.h"
#include "client/run_and_wait.h"

// A program as its command line names it, and its file under the system directory. Tolvik runs
// elevated: found by bare name, a program would be taken from Tolvik's own folder first.
// Each gets at most timeLimitMs: a netsh or wmic that hangs fails its step instead of holding
// the PC for ever; tftp and schtasks are ended when their time is up (a late tftp would still
// write the file it fetches while the next attempt runs).
struct SystemProgram {
  const char* commandName;
  const char* fileInSystemDirectory;
  uint32_t timeLimitMs;
  bool endsWhenLate;
};

constexpr uint32_t kSettingProgramLimitMs = 300000;
// A silent server costs one tftp run this long, as it costs Tolvik's own client (tftp_session.h).
constexpr uint32_t kTftpRunLimitMs = 12000;

constexpr SystemProgram kNetsh = {"netsh", "netsh.exe", kSettingProgramLimitMs, false};
constexpr SystemProgram kWmic = {"wmic", "wbem\\wmic.exe", kSettingProgramLimitMs, false};
constexpr SystemProgram kTftp = {"tftp", "tftp.exe", kTftpRunLimitMs, true};
constexpr SystemProgram kSchtasks = {"schtasks", "schtasks.exe", 60000, true};
constexpr SystemProgram kCommandInterpreter = {"cmd.exe", "cmd.exe", kInfinite, false};

// The program's full path under systemDirectory; empty when that directory is unknown.
std::string SystemProgramPath(const std::string& systemDirectory, const SystemProgram& program);

// StartAndWait for program from the system directory, named on the command line by its command
// name, for request.timeoutMs but no longer than the program's limit. When the system directory
// is unknown nothing is started: the result is "not started".
RunResult RunSystemProgram(ClientPlatform& platform, const SystemProgram& program,
                           RunRequest request);
