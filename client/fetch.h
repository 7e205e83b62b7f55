// Fetching mac.ini and icd.ini over TFTP with Windows' tftp client, or Tolvik's own client when
// tftp cannot be started.
#pragma once

#include <string>

#include "client/client_platform.h"
#include "client/client_state.h"

// Two tftp runs (get mac.ini, get icd.ini) against address, each ended when its time is up; a
// file whose tftp cannot be started is read by Tolvik itself into the program directory. icd.ini
// is not asked for when mac.ini got no answer.
void FetchFromServer(ClientPlatform& platform, const std::string& address);

// Tries each DHCP server in turn until mac.ini exists in the program directory.
// ListServer names the server after whose fetch the list was there (empty if none).
void FetchFromDhcpServers(ClientPlatform& platform, ClientState& state);

// Fetch from one address the user named (switch /IP: or the address box); ListServer names it.
void FetchFromNamedAddress(ClientPlatform& platform, ClientState& state, const std::string& address);

// The fetch of the main flow, taken when /N or /IP: asked for one.
void RunFetchStep(ClientPlatform& platform, ClientState& state);
