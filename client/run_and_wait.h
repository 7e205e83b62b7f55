// RunAndWait: starts a program hidden with an argument text and waits for it up to a timeout.
#pragma once

#include <cstdint>
#include <string>

#include "platform/process_api.h"

// The program text (quoted when it holds a space and no double quote), a space, the arguments.
std::string FormCommandLine(const std::string& program, const std::string& arguments);

// True when the program started and ended within timeoutMs; the child is never ended.
// *started, when given, tells whether the program could be started at all.
bool RunAndWait(ProcessApi& processes, const std::string& program, const std::string& arguments,
                const std::string& workingDirectory, uint16_t showState, uint32_t timeoutMs,
                bool* started = nullptr);
