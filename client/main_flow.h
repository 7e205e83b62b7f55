// RunMainFlow: discovery, switches, optional fetch, lookup and summary, optional apply.
#pragma once

#include "client/client_platform.h"
#include "client/client_state.h"

// firstRun is true only for the call at the end of window construction (icon and About item).
void RunMainFlow(ClientPlatform& platform, ClientState& state, bool firstRun);
