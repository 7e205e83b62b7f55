// maclist generate: a DHCP log turned into mac.ini by Brevane's own import, generation and save.
#pragma once

#include <string>
#include <vector>

#include "common/list_file.h"
#include "generator/generate_list.h"
#include "generator/log_import.h"
#include "platform/profile_api.h"

struct GenerateOptions {
  // One file, or several files of one server read one after the other (Kea's leases4.csv.2,
  // leases4.csv.1 and leases4.csv; a rotated log and the current one).
  std::vector<std::string> logPaths;
  LogFormat format = LogFormat::Auto;  // a named format is read by its reader alone
  bool explain = false;  // --explain: which reader took the file, and what each step kept
  GenerationFields generation;  // Brevane's field defaults
  ListFields fields;            // network and membership fields, Brevane's defaults
  std::string outputPath = "mac.ini";  // "-": standard output
  GenerateOptions() {
    fields.mask = "255.255.255.0";
    fields.metric = "0";
  }
};

// Reads the arguments after "generate". False with *error naming the problem.
bool ParseGenerateArguments(const std::vector<std::string>& arguments, GenerateOptions* options,
                            std::string* error);

// What a lease file of dnsmasq, ISC dhcpd or Kea cannot tell, one sentence pointing to the
// server's log; empty for the other readers.
std::string LeaseOrderWarning(LogFormat reader);

// Imports, generates and writes. The report names each line left out of the list (its MAC
// text is no MAC address), warns when the file read cannot tell the order in which the
// machines first took a lease, and counts the machines the written list holds. The file is
// written beside its target under another name and
// renamed into place only when every line was written, so a failed run leaves no partial file
// and an older mac.ini stays as it was. For "-" the bytes are appended to *standardOutput.
// Returns the exit code: 0 written, 2 on any problem (with *error set).
int RunGenerate(const GenerateOptions& options, ProfileApi& profile, std::string* standardOutput,
                std::string* report, std::string* error);
