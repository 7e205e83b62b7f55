// Tolvik's command line: cutting at "/" and reading the switches.
#pragma once

#include <string>
#include <vector>

#include "client/client_platform.h"
#include "client/client_state.h"

// Cuts text at separator by the rules of Tolvik's command line (a doubled separator ends cutting).
std::vector<std::string> SplitAt(const std::string& text, char separator);

// Reads the process's command line into state (/K, /R, /IP:) and the two run flags (/A, /N, /IP:);
// "/?" hides the window, shows the help box and posts a close request.
void ParseCommandLine(ClientPlatform& platform, ClientState& state, bool* autoApply,
                      bool* fetchRequested);
