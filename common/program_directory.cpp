// The program directory rule shared by both programs.
#include "common/program_directory.h"

std::string ProgramDirectory(const std::string& modulePath) {
  size_t slash = modulePath.rfind('\\');
  if (slash == std::string::npos) return std::string();
  return modulePath.substr(0, slash + 1);
}
