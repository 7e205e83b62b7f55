// A ClientPlatform that changes nothing: Tolvik's own code runs against it, reads the given list
// files, and every command line, computer-name call, file and registry write is noted instead.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "client/client_platform.h"

// What the dry run saw Tolvik do, one GBK line per action, in order.
struct PlanRecord {
  std::vector<std::string> actions;
  std::string infoText;   // the information text as Tolvik left it
  bool closeRequested = false;
  bool helpShown = false;
};

// Where the PC's files are: Tolvik's program path on the PC and the local files standing in for
// its mac.ini and icd.ini.
struct DryRunSetup {
  std::string programPath;      // Windows path of Tolvik.exe on the PC
  std::string tempDirectory;    // what GetTempPathA returns on the PC
  std::string listFile;         // local path of the list read as program directory + mac.ini
  std::string icdFile;          // local path read as program directory + icd.ini; empty: none
  std::vector<uint8_t> mac;     // the adapter's hardware address
  std::string currentName;      // what GetComputerNameA returns on the PC
  std::string commandLine;      // what GetCommandLineA returns on the PC
  bool withoutTftp = false;     // the PC has no tftp: Tolvik reads the files itself
  uint32_t windowsVersion = 0;  // what GetVersion returns on the PC
};

// "NetJoinDomain(NULL, \"corp.example\", NULL, \"joiner\", \"***\", 3)": the call with its
// password masked.
std::string NetJoinDomainCall(const DomainJoinRequest& request);

class DryRunPlatform {
 public:
  // reader reads the local files (the system's own profile functions).
  DryRunPlatform(const DryRunSetup& setup, ProfileApi& reader);
  ~DryRunPlatform();
  DryRunPlatform(const DryRunPlatform&) = delete;
  DryRunPlatform& operator=(const DryRunPlatform&) = delete;

  ClientPlatform& platform();
  PlanRecord& record();
  DryRunSetup& setup();  // the PC pictured, changeable between two runs

 private:
  struct Parts;
  Parts* parts_;
};
