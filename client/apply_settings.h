// ApplySettings: carries out this PC's entry with netsh, wmic and the computer-name calls.
#pragma once

#include <string>

#include "client/client_platform.h"
#include "client/client_state.h"

void ApplySettings(ClientPlatform& platform, ClientState& state);

// The connection name as it goes into a netsh command line: between double quotes when it holds
// a space or a tab (netsh would otherwise read it as several arguments), else unchanged.
std::string NetshConnectionName(const std::string& connectionName);

// The ICD client's settings file under installDirectory: one "\" between the directory and
// "cfg\localsyscfg.ini" (an empty directory gives "\cfg\localsyscfg.ini").
std::string IcdSettingsPath(const std::string& installDirectory);
