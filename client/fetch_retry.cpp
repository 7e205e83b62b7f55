// The unattended fetch with its tries again: pauses that keep the window answering, adapters and
// DHCP servers read anew before each try.
#include "client/fetch_retry.h"

#include "client/adapter_discovery.h"
#include "client/client_texts.h"
#include "client/fetch.h"

namespace {

// How often the window's messages are handled while a pause runs.
constexpr uint32_t kPauseSliceMs = 250;

// What the run waits for: an adapter, a DHCP server to ask, or the list from a server.
const char* WaitReason(const ClientState& state) {
  if (state.AdapterMacs.empty()) return client_texts::kWaitingForAdapter;
  if (state.FetchAddress.empty() && state.DhcpServers.empty()) {
    return client_texts::kWaitingForDhcpServer;
  }
  return client_texts::kWaitingForList;
}

uint32_t Elapsed(ClientPlatform& platform, uint32_t since) {
  return platform.system.TickCount() - since;  // unsigned: right across the 49.7-day wrap
}

// Pauses before the next try. False when no time is left or a close request waits.
bool PauseBeforeRetry(ClientPlatform& platform, const ClientState& state, uint32_t firstTry) {
  const uint32_t pauseStart = platform.system.TickCount();
  for (;;) {
    const uint32_t used = Elapsed(platform, firstTry);
    if (used >= kFetchRetryWindowMs) return false;
    if (Elapsed(platform, pauseStart) >= kFetchRetryPauseMs) return true;
    const uint32_t secondsLeft = (kFetchRetryWindowMs - used + 999) / 1000;
    platform.window.SetInfoText(WaitReason(state) + std::to_string(secondsLeft) +
                                client_texts::kWaitingSecondsSuffix);
    platform.window.ProcessPendingMessages();
    if (platform.window.IsClosePending()) return false;
    platform.system.Sleep(kPauseSliceMs);
  }
}

void DiscoverAdaptersAgain(ClientPlatform& platform, ClientState& state) {
  state.ConnectionNames.clear();
  state.DhcpServers.clear();
  state.AdapterMacs = EnumerateAdapters(platform, state, state.ConnectionNames);
  ReadConnectionNames(platform, state);
}

}  // namespace

void FetchUntilListArrives(ClientPlatform& platform, ClientState& state,
                           const std::string& listPath) {
  const uint32_t firstTry = platform.system.TickCount();
  RunFetchStep(platform, state);
  while (!platform.files.IsExistingFile(listPath) && PauseBeforeRetry(platform, state, firstTry)) {
    DiscoverAdaptersAgain(platform, state);
    RunFetchStep(platform, state);
  }
}
