// ClientState: Tolvik's record of this PC's entry, the list settings, the switches and the adapters.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "client/step_outcome.h"
#include "common/list_file.h"

struct ClientState {
  std::string EntryIp;           // upper-cased IP of this PC's entry; empty: no entry found
  // The settings of the list's section "config" as Tolvik read them (DNS1 upper-cased): mask,
  // gateway and metric, DNS servers, workgroup or domain and its account, the report key.
  ListSettings List;
  std::string TargetConnection;
  std::string ComputerName;
  std::string FetchAddress;      // address from /IP:
  std::string AppServerIP;
  std::string MainCCSIP;
  std::string BackCCSIP;
  std::string IcdPath;
  uint8_t DeleteAfterwards = 0;  // /K
  uint8_t Applied = 0;           // an apply ran to its end
  // Windows 2000 or XP: every step but the domain join was applied; the join waits for the
  // restart that puts the new name in effect. Applied stays false.
  uint8_t JoinPending = 0;
  uint8_t RestartAfterwards = 0; // /R
  std::vector<std::string> ConnectionNames;
  std::vector<std::string> AdapterMacs;
  std::vector<std::string> DhcpServers;
  // One outcome per command or call of the last apply, in the order they ran.
  std::vector<StepOutcome> StepOutcomes;
  // The report: the server the list was fetched from in this window's last fetch, and the MAC
  // text of the adapter whose line was found (empty: no entry).
  std::string ListServer;
  std::string EntryMac;
  // This PC's one-time machine password from the list's section "Join" (empty: none). It is
  // handed to NetJoinDomain alone: never shown, reported or put on a command line.
  std::string JoinPassword;
};
