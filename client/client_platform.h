// The Windows operations Tolvik's logic reaches, gathered so each operation takes one argument.
#pragma once

#include "platform/adapter_api.h"
#include "client/client_window_api.h"
#include "platform/datagram_api.h"
#include "platform/file_api.h"
#include "platform/process_api.h"
#include "platform/profile_api.h"
#include "platform/registry_api.h"
#include "platform/system_api.h"

struct ClientPlatform {
  ProfileApi& profile;
  RegistryApi& registry;
  AdapterApi& adapters;
  ProcessApi& processes;
  FileApi& files;
  SystemApi& system;
  ClientWindowApi& window;
  DatagramApi& datagrams;  // Tolvik's own TFTP client, when tftp cannot be started
};
