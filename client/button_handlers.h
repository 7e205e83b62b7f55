// The handlers of Tolvik's buttons that are no operation of their own: "从网络获取". The others
// call ApplyAndReport (直接修改), RegisterRunOnce (添加至启动项) and the close request (退出).
#pragma once

#include "client/client_platform.h"
#include "client/client_state.h"

// The "从网络获取" button: fetch from the address box's address, or put the target adapter on
// DHCP and fetch from the DHCP servers; then run the main flow again.
void OnFetchClick(ClientPlatform& platform, ClientState& state);
