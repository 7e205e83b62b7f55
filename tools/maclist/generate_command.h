// maclist generate: a DHCP log turned into mac.ini by Brevane's own import, generation and save.
#pragma once

#include <string>
#include <vector>

#include "common/list_file.h"
#include "generator/generate_list.h"
#include "generator/log_import.h"
#include "platform/profile_api.h"

struct GenerateOptions {
  std::string logPath;
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

// Imports, generates and writes. The report names each line left out of the list (its MAC
// text is no MAC address) and counts the machines the written list holds. The file is written beside its target under another name and
// renamed into place only when every line was written, so a failed run leaves no partial file
// and an older mac.ini stays as it was. For "-" the bytes are appended to *standardOutput.
// Returns the exit code: 0 written, 2 on any problem (with *error set).
int RunGenerate(const GenerateOptions& options, ProfileApi& profile, std::string* standardOutput,
                std::string* report, std::string* error);
