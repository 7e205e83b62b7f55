// Entry lookup: this PC's line of mac.ini, its ICD range in icd.ini, and the main flow's lookup.
#pragma once

#include <string>
#include <vector>

#include "client/client_platform.h"
#include "client/client_state.h"

// Sets TargetConnection and the entry value (held in ComputerName until it is split).
void FindMachineEntry(ClientPlatform& platform, ClientState& state, const std::string& listPath,
                      const std::vector<std::string>& listLines);

// Sets IcdPath and, when a range holds EntryIp, the three ICD server fields.
void FindIcdRange(ClientPlatform& platform, ClientState& state, const std::string& icdPath);

// The lookup of the main flow: reads mac.ini and icd.ini from programDirectory, shows the
// summary or an error text.
void LookUpEntryAndShowSummary(ClientPlatform& platform, ClientState& state,
                               const std::string& programDirectory);
