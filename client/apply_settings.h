// ApplySettings: carries out this PC's entry with netsh, wmic and the computer-name calls.
#pragma once

#include "client/client_platform.h"
#include "client/client_state.h"

void ApplySettings(ClientPlatform& platform, ClientState& state);
