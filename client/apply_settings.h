// ApplySettings: carries out this PC's entry with netsh, wmic and the computer-name calls.
#pragma once

#include <cstdint>
#include <string>

#include "client/client_platform.h"
#include "client/client_state.h"

void ApplySettings(ClientPlatform& platform, ClientState& state);

// The join options of a domain join on the Windows version GetVersion reports:
// NETSETUP_JOIN_DOMAIN | NETSETUP_ACCT_CREATE (3), and NETSETUP_JOIN_WITH_NEW_NAME (1027 in
// all) from Windows Vista on.
uint32_t DomainJoinOptions(uint32_t windowsVersion);

// The NetJoinDomain call that stands in for wmic's join where wmic cannot be started: the
// workgroup as the domain with nothing else, or the domain, its account and password with the
// options of DomainJoinOptions.
DomainJoinRequest MembershipJoinRequest(const ClientState& state, uint32_t windowsVersion);

// The ICD client's settings file under installDirectory: one "\" between the directory and
// "cfg\localsyscfg.ini" (an empty directory gives "\cfg\localsyscfg.ini").
std::string IcdSettingsPath(const std::string& installDirectory);
