// maclist generate: Brevane's import, generation and save without its window.
#include "tools/maclist/generate_command.h"

#include <chrono>

#include "common/text_rules.h"
#include "platform/code_page_api.h"
#include "platform/collation_api.h"
#include "tools/maclist/address_text.h"
#include "tools/maclist/command_arguments.h"
#include "platform/console_text.h"
#include "platform/system_files.h"

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

// The lines of the [list] section in the bytes written: the machines the file really holds.
size_t ListLineCount(const std::string& written) {
  size_t count = 0;
  bool inList = false;
  size_t pos = 0;
  while (pos < written.size()) {
    size_t end = written.find("\r\n", pos);
    if (end == std::string::npos) end = written.size();
    const std::string line = written.substr(pos, end - pos);
    if (!line.empty() && line[0] == '[') {
      inList = EqualsIgnoringAsciiCase(line, "[list]");
    } else if (inList && !line.empty()) {
      ++count;
    }
    pos = end + 2;
  }
  return count;
}

// The name of the files read in messages: "a.log", or "a.log+b.log" for several.
std::string LogFilesName(const std::vector<std::string>& paths) {
  std::string name;
  for (const std::string& path : paths) name += (name.empty() ? "" : "+") + path;
  return name;
}

// What --explain prints: the reader and the lines each step kept or dropped.
std::string ExplainImport(const ImportReport& steps) {
  std::string text;
  for (LogFormat tried : steps.triedBefore) {
    text += std::string("tried ") + LogFormatName(tried) + " (" + LogFormatDescription(tried) +
            "): no machine\n";
  }
  const size_t entries = steps.entries;
  const size_t macs = entries - steps.withoutMac - steps.leftOut.size();
  text += std::string(steps.rows > 0 ? "reader: " : "no machine found; last reader tried: ") +
          LogFormatName(steps.reader) + " (" +
          LogFormatDescription(steps.reader) + ")" +
          (steps.convertedFromUtf16 ? ", UTF-16LE text converted to code page 936" : "") + "\n";
  text += "  lines read:           " + std::to_string(steps.lines) + "\n";
  text += "  entries found:        " + std::to_string(entries) + " kept, " +
          std::to_string(steps.lines >= entries ? steps.lines - entries : 0) +
          " lines without an entry dropped\n";
  text += "  MAC addresses:        " + std::to_string(macs) + " kept, " +
          std::to_string(steps.withoutMac) + " without a MAC dropped, " +
          std::to_string(steps.leftOut.size()) + " not a MAC address dropped\n";
  text += "  one row per machine:  " + std::to_string(steps.rows) + " kept, " +
          std::to_string(steps.repeats) + " repeats dropped\n";
  if (steps.rows > 0 && KeepsOnlyLatestLeases(steps.reader)) {
    text += "  order:                " + LeaseOrderWarning(steps.reader) + "\n";
  }
  const LogFormat reader = steps.reader;
  if (reader == LogFormat::DnsmasqLog || reader == LogFormat::IscDhcpdLog ||
      reader == LogFormat::KeaLog) {
    text += "  order:                each machine at its earliest time stamp, the files in any "
            "order; a syslog stamp has no year: each line takes the year that puts it nearest "
            "the line before (a step back of up to two months is an earlier file, a bigger one "
            "the next year); " + std::to_string(steps.stepsBack) + " steps back\n";
  }
  return text;
}

// A name in directory (which ends in its separator) that no other run picks.
std::string TemporaryPath(const std::string& directory, const std::string& name) {
  const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
  return directory + "." + name + ".maclist-" + std::to_string(ticks) + ".tmp";
}

}  // namespace

std::string LeaseOrderWarning(LogFormat reader) {
  const char* const log = " For the order in which the machines were switched on, import the "
                          "server's log.";
  switch (reader) {
    case LogFormat::Dnsmasq:
      return std::string("dnsmasq.leases keeps only when each lease ends; machines that renewed "
                         "have moved later.") + log;
    case LogFormat::IscDhcpd:
      return std::string("dhcpd.leases keeps only each lease's latest start once the server has "
                         "rewritten it; machines that renewed have moved later.") + log;
    case LogFormat::Kea:
      return std::string("leases4.csv keeps only when each lease was last renewed, and its "
                         "cleanup drops released leases; machines that renewed have moved "
                         "later.") + log;
    default: break;
  }
  return std::string();
}

bool ParseGenerateArguments(const std::vector<std::string>& arguments, GenerateOptions* options,
                            std::string* error) {
  CommandArguments args(arguments, error);
  std::string workgroup, domain, user, password;
  bool workgroupGiven = false, domainGiven = false, userGiven = false, passwordGiven = false;
  std::vector<std::string> positional;
  std::string value;
  while (!args.AtEnd()) {
    if (args.Option("--format", &value)) {
      if (!LogFormatFromName(value, &options->format)) {
        return args.Fail(
            "--format must be auto, tftpd32, windows, powershell, plain, dnsmasq-log, isc-log, "
            "kea-log, dnsmasq, isc or kea, not \"" + value + "\"");
      }
    } else if (args.Flag("--explain")) {
      options->explain = true;
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
    } else if (args.Option("--report", &value)) {
      uint32_t address = 0;
      if (!EqualsIgnoringAsciiCase(value, "tftp") && !ParseDottedAddress(value, &address)) {
        return args.Fail("--report must be tftp or a dotted IPv4 address, not \"" + value + "\"");
      }
      options->fields.report = value;
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
  if (positional.empty()) {
    *error = "generate needs the DHCP log file: maclist generate LOG [options]";
    return false;
  }
  options->logPaths = positional;
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
  for (const std::string& path : options.logPaths) {
    std::string part;
    if (!files.ReadWholeFile(path, &part)) {
      *error = "cannot read the log file " + path;
      return 2;
    }
    AppendLogFile(&bytes, part);
  }
  const std::string logName = LogFilesName(options.logPaths);

  ListModel model;
  ImportReport steps;
  // A named format is read by its own reader only; auto tries every reader in turn.
  const bool imported = ImportLogBytes(bytes, options.format, model, SystemCollationApi(),
                                       SystemCodePageApi(), &steps, OtherReaders::Skip);
  if (options.explain) *report += ExplainImport(steps);
  if (!imported) {
    if (options.format == LogFormat::Auto) {
      *error = "unknown log format: no reader (TFTPD32, the logs of dnsmasq, ISC dhcpd and Kea, "
               "Windows DHCP Server, PowerShell, the lease files of Kea, dnsmasq and ISC dhcpd, "
               "plain list) finds a machine in " + logName;
    } else {
      *error = "no machine found in " + logName + " read as a " +
               LogFormatDescription(options.format);
    }
    return 2;
  }
  for (const LeftOutLine& left : steps.leftOut) {
    *report += logName + ":" + std::to_string(left.line) + ": \"" +
               TerminalText(left.text) + "\" is no MAC address; line left out\n";
  }
  if (KeepsOnlyLatestLeases(steps.reader)) {
    *report += logName + ": " + LeaseOrderWarning(steps.reader) + " [lease-order]\n";
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
  // The bytes as written: for standard output, and to count the machines the file holds.
  std::string written;
  const bool readBack = files.ReadWholeFile(target, &written);
  if (toStandardOutput) {
    files.DeleteFile(target);
    if (!readBack) {
      *error = "cannot read back " + target;
      return 2;
    }
    *standardOutput += written;
    return 0;
  }
  *report += "wrote " + std::to_string(ListLineCount(written)) + " machines to " +
             options.outputPath + "\n";
  return 0;
}
