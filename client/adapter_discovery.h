// Adapter discovery: MAC texts, connection names and DHCP servers of the PC's adapters.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "client/client_platform.h"
#include "client/client_state.h"

std::string HexOfBytes(const uint8_t* bytes, size_t count);

// Appends adapter names to names and DHCP servers to state.DhcpServers; returns the MAC texts.
std::vector<std::string> EnumerateAdapters(ClientPlatform& platform, ClientState& state,
                                           std::vector<std::string>& names);

// Whether the adapter with this MAC text has DHCP on now: its adapter record, or EnableDHCP 1
// under either of its TCP/IP keys (the places /N reads its DHCP server from).
bool AdapterUsesDhcp(ClientPlatform& platform, const std::string& mac);

// Replaces each adapter name in state.ConnectionNames by its connection name.
void ReadConnectionNames(ClientPlatform& platform, ClientState& state);
