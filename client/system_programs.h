// The Windows programs Tolvik starts, each from Windows' system directory and nowhere else.
#pragma once

#include <string>

#include "client/client_platform.h"
#include "client/run_and_wait.h"

// A program as its command line names it, and its file under the system directory. Tolvik runs
// elevated: found by bare name, a program would be taken from Tolvik's own folder first.
struct SystemProgram {
  const char* commandName;
  const char* fileInSystemDirectory;
};

constexpr SystemProgram kNetsh = {"netsh", "netsh.exe"};
constexpr SystemProgram kWmic = {"wmic", "wbem\\wmic.exe"};
constexpr SystemProgram kTftp = {"tftp", "tftp.exe"};
constexpr SystemProgram kCommandInterpreter = {"cmd.exe", "cmd.exe"};

// The program's full path under systemDirectory; empty when that directory is unknown.
std::string SystemProgramPath(const std::string& systemDirectory, const SystemProgram& program);

// StartAndWait for program from the system directory, named on the command line by its command
// name. When the system directory is unknown nothing is started: the result is "not started".
RunResult RunSystemProgram(ClientPlatform& platform, const SystemProgram& program,
                           RunRequest request);
