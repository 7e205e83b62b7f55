// The "从网络获取" button: the fetch it asks for, then the main flow again.
#include "client/button_handlers.h"

#include "client/adapter_discovery.h"
#include "client/fetch.h"
#include "client/main_flow.h"
#include "client/run_and_wait.h"
#include "client/system_programs.h"
#include "common/text_rules.h"

void OnFetchClick(ClientPlatform& platform, ClientState& state) {
  const std::string address = platform.window.AddressBoxText();
  if (!address.empty()) {
    FetchFromNamedAddress(platform, state, address);  // as typed: spaces count
  } else {
    // Put the target adapter on DHCP so that it learns its DHCP server, then ask again.
    RunRequest request;
    request.arguments =
        " interface ip set address " + NetshConnectionName(state.TargetConnection) + " DHCP ";
    request.showState = kSwHide;
    request.timeoutMs = kInfinite;
    RunSystemProgram(platform, kNetsh, request);
    state.DhcpServers.clear();
    state.ConnectionNames.clear();
    state.AdapterMacs = EnumerateAdapters(platform, state, state.ConnectionNames);
    FetchFromDhcpServers(platform, state);
  }
  RunMainFlow(platform, state, false);
}
