// maclist plan: what Tolvik would show and do on one PC, from Tolvik's own code on a dry run.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/profile_api.h"

struct PlanOptions {
  std::string listPath;               // local file read as the PC's mac.ini
  std::vector<uint8_t> mac;           // the PC's adapter
  std::string connection;             // GBK; empty: Windows' first LAN connection name
  std::string icdPath;                // local file read as the PC's icd.ini; empty: none
  std::string currentName;            // GBK; the name Windows runs under on the PC
  std::string programPath;            // GBK; Tolvik.exe on the PC
  std::string tempDirectory;          // GBK; the PC's temporary directory
  std::vector<std::string> switches;  // Tolvik's switches beside /A: /K, /R, /N, /IP:address
  std::string dhcpServer;             // the adapter's DHCP server, tried by /N; empty: none
  bool withoutTftp = false;           // the PC has no tftp (Windows 7 and later by default)
  uint32_t windowsVersion = 0;        // GetVersion of the PC's Windows (--windows)
};

// A MAC address as 00-E0-FD-3A-1B-01, 00:e0:fd:3a:1b:01, 00e0.fd3a.1b01 or 00E0FD3A1B01: six
// bytes of hexadecimal digits, separators "-", ":" or "." anywhere between them.
bool ParseMacArgument(const std::string& text, std::vector<uint8_t>* bytes);

// Reads the arguments after "plan". False with *error naming the problem.
bool ParsePlanArguments(const std::vector<std::string>& arguments, PlanOptions* options,
                        std::string* error);

// Runs Tolvik's lookup and summary, its apply and its close handler on a dry-run platform and
// writes the summary, an empty line and one line per action into *plan (GBK, LF-ended lines).
// Returns 0; 1 when the list holds no line for the adapter (*error: Tolvik's text, as the
// terminal shows it); 2 on bad input (*error says what).
int RunPlan(const PlanOptions& options, ProfileApi& reader, std::string* plan, std::string* notice,
            std::string* error);
