// maclist generate: Brevane's import, generation and save without its window.
#include "tools/maclist/generate_command.h"

#include <chrono>

#include "common/text_rules.h"
#include "platform/collation_api.h"
#include "tools/maclist/address_text.h"
#include "tools/maclist/command_arguments.h"
#include "tools/maclist/system_files.h"

namespace {

std::string SaveProblemText(SaveProblem problem) {
  switch (problem) {
    case SaveProblem::PathTooLong: return "the path is too long";
    case SaveProblem::TargetIsDirectory: return "it is a directory";
    case SaveProblem::TemporaryNotCreated: return "no temporary file can be created beside it";
    case SaveProblem::WriteFailed: return "the temporary file was not written whole (disk full?)";
    case SaveProblem::ReplaceRefused: return "the file cannot be replaced (read-only or in use)";
    case SaveProblem::None: break;
  }
  return std::string();
}

std::string FormatName(LogFormat format) {
  return format == LogFormat::Tftpd32 ? "TFTPD32 log" : "Windows DHCP Server lease list";
}

// A name in directory (which ends in its separator) that no other run picks.
std::string TemporaryPath(const std::string& directory, const std::string& name) {
  const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
  return directory + "." + name + ".maclist-" + std::to_string(ticks) + ".tmp";
}

}  // namespace

bool ParseGenerateArguments(const std::vector<std::string>& arguments, GenerateOptions* options,
                            std::string* error) {
  CommandArguments args(arguments, error);
  std::string workgroup, domain, user, password;
  bool workgroupGiven = false, domainGiven = false, userGiven = false, passwordGiven = false;
  std::vector<std::string> positional;
  std::string value;
  while (!args.AtEnd()) {
    if (args.Option("--format", &value)) {
      options->formatGiven = true;
      const std::string format = UpperAscii(value);
      if (format == "TFTPD32") {
        options->format = LogFormat::Tftpd32;
      } else if (format == "WINDOWS") {
        options->format = LogFormat::WindowsDhcpServer;
      } else {
        return args.Fail("--format must be tftpd32 or windows, not \"" + value + "\"");
      }
    } else if (args.TextOption("--prefix", &options->generation.prefix) ||
               args.TextOption("--suffix", &options->generation.suffix)) {
    } else if (args.Option("--first", &value)) {
      if (!args.NumberInRange("--first", value, 0, 1000)) return false;
      options->generation.firstNumber = value;
    } else if (args.Option("--digits", &value)) {
      if (!args.NumberInRange("--digits", value, 1, 5)) return false;
      options->generation.digits = value;
    } else if (args.Option("--ip", &value)) {
      uint32_t address = 0;
      if (!EqualsIgnoringAsciiCase(value, "DHCP") && !ParseDottedAddress(value, &address)) {
        return args.Fail("--ip must be DHCP or a dotted IPv4 address with numbers 0 to 255, not \"" +
                         value + "\"");
      }
      options->generation.ipStart = value;
    } else if (args.Option("--mask", &value)) {
      uint32_t mask = 0;
      if (!ParseDottedAddress(value, &mask) || !IsContiguousMask(mask)) {
        return args.Fail("--mask must be a subnet mask such as 255.255.255.0, not \"" + value + "\"");
      }
      options->fields.mask = value;
    } else if (args.Option("--gateway", &value)) {
      uint32_t address = 0;
      if (!value.empty() && !EqualsIgnoringAsciiCase(value, "NONE") &&
          !ParseDottedAddress(value, &address)) {
        return args.Fail("--gateway must be a dotted IPv4 address, NONE or empty, not \"" + value +
                         "\"");
      }
      options->fields.gateway = value;
    } else if (args.Option("--metric", &value)) {
      if (!args.NumberInRange("--metric", value, 0, 9999)) return false;
      options->fields.metric = value;
    } else if (args.Option("--dns1", &value) || args.Option("--dns2", &value)) {
      const std::string& name = args.LastOption();
      uint32_t address = 0;
      if (!value.empty() && !EqualsIgnoringAsciiCase(value, "DHCP") &&
          !ParseDottedAddress(value, &address)) {
        return args.Fail(name + " must be a dotted IPv4 address, DHCP or empty, not \"" + value +
                         "\"");
      }
      (name == "--dns1" ? options->fields.dns1 : options->fields.dns2) = value;
    } else if (args.TextOption("--workgroup", &workgroup)) {
      workgroupGiven = true;
    } else if (args.TextOption("--domain", &domain)) {
      domainGiven = true;
    } else if (args.TextOption("--user", &user)) {
      userGiven = true;
    } else if (args.TextOption("--password", &password)) {
      passwordGiven = true;
    } else if (args.Option("-o", &value) || args.Option("--output", &value)) {
      if (value.empty()) return args.Fail("-o needs a file name or \"-\"");
      options->outputPath = value;
    } else if (!args.Positional(&positional)) {
      return false;
    }
    if (!error->empty()) return false;
  }
  if (positional.size() != 1) {
    *error = positional.empty() ? "generate needs the DHCP log file: maclist generate LOG [options]"
                                : "generate takes one log file, not " +
                                      std::to_string(positional.size());
    return false;
  }
  options->logPath = positional[0];
  if (workgroupGiven && domainGiven) {
    *error = "--workgroup and --domain exclude each other: a list joins one or the other";
    return false;
  }
  if ((userGiven || passwordGiven) && !domainGiven) {
    *error = "--user and --password belong to --domain";
    return false;
  }
  if (domainGiven && user.empty()) {
    *error = "--domain needs --user: the domain is joined with that account";
    return false;
  }
  if (domainGiven) {
    options->fields.membership = MembershipChoice::Domain;
    options->fields.domain = domain;
    options->fields.username = user;
    options->fields.password = password;
  } else {
    options->fields.membership = MembershipChoice::Workgroup;
    options->fields.workgroup = workgroup;
  }
  return true;
}

int RunGenerate(const GenerateOptions& options, ProfileApi& profile, std::string* standardOutput,
                std::string* report, std::string* error) {
  FileApi& files = SystemFiles();
  std::string bytes;
  if (!files.ReadWholeFile(options.logPath, &bytes)) {
    *error = "cannot read the log file " + options.logPath;
    return 2;
  }

  ListModel model;
  CollationApi& collation = SystemCollationApi();
  if (options.formatGiven) {
    if (!ImportLogBytes(bytes, options.format, model, collation)) {
      *error = "no machine found in " + options.logPath + " read as a " + FormatName(options.format);
      return 2;
    }
  } else if (!ImportLogBytes(bytes, LogFormat::Tftpd32, model, collation) &&
             !ImportLogBytes(bytes, LogFormat::WindowsDhcpServer, model, collation)) {
    *error = "unknown log format: " + options.logPath +
             " is neither a TFTPD32 log with \"Rcvd DHCP\" lines nor a Windows DHCP Server lease "
             "list naming a MAC address";
    return 2;
  }

  // The generation counts the last number on past 255 without carrying; such an address would
  // reach the PCs as it stands, so the run stops instead, with the same rule as Brevane.
  const size_t fit = MachinesThatFit(options.generation.ipStart);
  if (model.rows.size() > fit) {
    *error = std::to_string(model.rows.size()) + " machines from " + options.generation.ipStart +
             ": only " + std::to_string(fit) +
             " fit before the last number goes past 255; choose a lower start address";
    return 2;
  }
  GenerateList(model, options.generation);

  std::vector<ListEntry> rows;
  rows.reserve(model.rows.size());
  for (const ListRow& row : model.rows) {
    rows.push_back(ListEntry{row.cells[kColumnMac], row.cells[kColumnIp],
                             row.cells[kColumnComputerName]});
  }

  // Standard output gets the bytes of a file saved in the temporary directory.
  const bool toStandardOutput = options.outputPath == "-";
  const std::string target = toStandardOutput
                                 ? FullPath(TemporaryPath(files.TempPath(), "mac.ini"))
                                 : FullPath(options.outputPath);
  if (target.empty()) {
    *error = "cannot write " + options.outputPath + ": no valid path";
    return 2;
  }

  // Brevane's own save: a temporary file beside the target, renamed over it once complete.
  const SaveProblem problem = WriteListFile(profile, files, target, options.fields, rows);
  if (problem != SaveProblem::None) {
    *error = "cannot write " + (toStandardOutput ? target : options.outputPath) + ": " +
             SaveProblemText(problem) + "; an older file is left as it was";
    return 2;
  }
  if (toStandardOutput) {
    std::string written;
    const bool readBack = files.ReadWholeFile(target, &written);
    files.DeleteFile(target);
    if (!readBack) {
      *error = "cannot read back " + target;
      return 2;
    }
    *standardOutput += written;
    return 0;
  }
  *report = "wrote " + std::to_string(rows.size()) + " machines to " + options.outputPath + "\n";
  return 0;
}
