// The program directory: the running program's full path up to and including the last backslash.
#pragma once

#include <string>

std::string ProgramDirectory(const std::string& modulePath);
