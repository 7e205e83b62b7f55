// Finishing actions: the close handler, the restart and the RunOnce registration.
#pragma once

#include <string>

#include "client/client_platform.h"
#include "client/client_state.h"

// The main window's close handler: deletes mac.ini and the program, restarts, as /K and /R asked.
void FinishOnClose(ClientPlatform& platform, const ClientState& state);

// Restarts Windows; true on success.
bool RestartComputer(SystemApi& system, const std::string& machine, bool force, bool reboot);

// The RunOnce command: the quoted program path, a space, the ticked switches and " /ip:".
std::string BuildRunOnceCommand(ClientWindowApi& window, const std::string& programPath);

// The "添加至启动项" button: writes the RunOnce value "Tolvik" and posts a close request.
void RegisterRunOnce(ClientPlatform& platform);

// How the self-delete batch file at batchPath is started: cmd.exe from the system directory
// (no application name when that directory is unknown: the batch is then not started), hidden,
// at idle priority.
ProcessLaunch SelfDeleteLaunch(const std::string& systemDirectory, const std::string& batchPath);

// The eight lines of the self-delete batch file, CR LF after each.
std::string SelfDeleteBatchText(const std::string& tempDirectory, const std::string& programPath);
