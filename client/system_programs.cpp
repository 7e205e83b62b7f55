// The Windows programs Tolvik starts, resolved to the system directory.
#include "client/system_programs.h"

#include "common/program_directory.h"

namespace {
// What a program whose folder cannot be named reports (ERROR_PATH_NOT_FOUND).
constexpr uint32_t kPathNotFound = 3;
}  // namespace

std::string SystemProgramPath(const std::string& systemDirectory, const SystemProgram& program) {
  if (systemDirectory.empty()) return std::string();
  return PathInDirectory(systemDirectory, program.fileInSystemDirectory);
}

RunResult RunSystemProgram(ClientPlatform& platform, const SystemProgram& program,
                           RunRequest request) {
  request.program = program.commandName;
  if (request.timeoutMs > program.timeLimitMs) request.timeoutMs = program.timeLimitMs;
  request.endWhenLate = program.endsWhenLate;
  request.applicationPath = SystemProgramPath(platform.system.SystemDirectory(), program);
  if (request.applicationPath.empty()) {
    RunResult notStarted;
    notStarted.code = kPathNotFound;
    return notStarted;
  }
  return StartAndWait(platform.processes, request);
}
