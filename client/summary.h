// The change summary Tolvik shows before it applies an entry.
#pragma once

#include <string>

#include "client/client_state.h"

// The whole summary text, every line ended by CR LF.
std::string SummaryText(const ClientState& state);

// Replaces the information text by the summary, line by line as the window receives it.
class ClientWindowApi;
void BuildSummary(ClientWindowApi& window, const ClientState& state);
