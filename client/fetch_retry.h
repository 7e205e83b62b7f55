// The unattended fetch: tried again for a while when the first logon of a clone came before its
// adapter or its DHCP lease was ready.
#pragma once

#include <cstdint>
#include <string>

#include "client/client_platform.h"
#include "client/client_state.h"

// How long an unattended run keeps trying to fetch the list, and the pause between two tries.
constexpr uint32_t kFetchRetryWindowMs = 120000;
constexpr uint32_t kFetchRetryPauseMs = 5000;

// The fetch step of the main flow; while listPath does not exist afterwards, waits (showing
// what for and the seconds left, the window answering meanwhile), finds the adapters and their
// DHCP servers anew and fetches again, until kFetchRetryWindowMs have passed since the first
// try or a close request waits.
void FetchUntilListArrives(ClientPlatform& platform, ClientState& state,
                           const std::string& listPath);
