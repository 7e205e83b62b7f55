// maclist's commands: generate, check, plan, status, and the help of each.
#include "tools/maclist/maclist_commands.h"

#include "tools/maclist/accounts_command.h"
#include "tools/maclist/command_arguments.h"
#include "platform/console_text.h"
#include "tools/maclist/generate_command.h"
#include "tools/maclist/list_check.h"
#include "platform/profile_api.h"
#include "tools/maclist/plan_command.h"
#include "tools/maclist/status_command.h"
#include "platform/system_files.h"

namespace {

const char kProgramHelp[] =
    "maclist - make, check and dry-run the mac.ini list of Tolvik and Brevane\n"
    "\n"
    "usage: maclist COMMAND [options]\n"
    "  generate LOG [options] [-o FILE]   turn a DHCP server log into mac.ini as Brevane does\n"
    "  check FILE [--json]                report every problem of a list, with line numbers\n"
    "  plan FILE --mac MAC [options]      show what Tolvik would show and do on one PC\n"
    "  status LIST REPORTS [--json] [--html FILE]\n"
    "                                     what every PC of the batch reported back\n"
    "  accounts FILE [--ou DN]            one-time machine passwords for a domain list, and the\n"
    "                                     scripts that make the computer accounts\n"
    "\n"
    "maclist COMMAND --help shows the options of a command. On Linux the terminal output is\n"
    "UTF-8 (the lists' GBK texts are converted with iconv) and text options are read as UTF-8;\n"
    "files are written in GBK (code page 936), as the window programs write them.\n";

const char kGenerateHelp[] =
    "usage: maclist generate LOG... [options] [-o FILE]\n"
    "\n"
    "Imports the DHCP log as Brevane does (one machine per MAC address, in the order the server\n"
    "saw them), names and numbers the machines, and writes the bytes Brevane's save writes.\n"
    "Several files of one server are read one after the other (Kea's leases4.csv.2,\n"
    "leases4.csv.1 and leases4.csv; a rotated log and the current one); line numbers count on\n"
    "through them.\n"
    "\n"
    "  --format F                log format: auto (default: every reader in turn), tftpd32,\n"
    "                            windows (console export), powershell (Export-Csv), plain (one\n"
    "                            MAC a line), the servers' logs dnsmasq-log, isc-log (dhcpd in\n"
    "                            syslog or its standard error), kea-log, or their lease files\n"
    "                            dnsmasq (dnsmasq.leases), isc (dhcpd.leases), kea (leases4.csv)\n"
    "  --explain                 name the reader that took the file and what each step kept\n"
    "  --prefix P                computer name prefix (default COMPUTER)\n"
    "  --suffix S                computer name suffix (default empty)\n"
    "  --first N                 number of the first machine, 0 to 1000 (default 1)\n"
    "  --digits N                minimum digits of the number, 1 to 5 (default 3)\n"
    "  --ip START|DHCP           address of the first machine, counted up (default 192.168.0.1)\n"
    "  --mask M                  subnet mask (default 255.255.255.0)\n"
    "  --gateway G               gateway address, NONE to remove it (default empty: unchanged)\n"
    "  --metric N                gateway metric, 0 to 9999, 0 automatic (default 0)\n"
    "  --dns1 A, --dns2 B        DNS servers, DHCP for automatic (default empty: unchanged)\n"
    "  --workgroup W             workgroup to join\n"
    "  --domain D --user U --password P   domain to join and the account that joins it\n"
    "  --report tftp|ADDRESS     Tolvik puts its report (tolvik-<MAC>.ini) on the TFTP server\n"
    "                            the list came from, or on the one at ADDRESS (default: none)\n"
    "  -o FILE                   output file (default mac.ini here; - for standard output,\n"
    "                            which receives the file's GBK bytes unchanged)\n"
    "\n"
    "The file is written under another name beside FILE and renamed into place once complete:\n"
    "a failed run leaves no partial file. Addresses that would pass 255 stop the run. Each line\n"
    "whose MAC text is no MAC address is left out and named on standard error. A lease file of\n"
    "dnsmasq, ISC dhcpd or Kea keeps each lease's latest state, not the order in which the\n"
    "machines first took a lease: standard error says so, and the server's log gives that order.\n";

const char kCheckHelp[] =
    "usage: maclist check FILE [--json] [--older-client]\n"
    "\n"
    "Reads the list as Tolvik reads it and reports every problem, one line each with its line\n"
    "number: repeated MAC keys, addresses or computer names; keys that are not 12 hexadecimal\n"
    "digits; computer names Windows refuses; addresses that are not dotted IPv4, end in 0 or\n"
    "255 or lie outside the gateway's subnet; a bad mask, gateway, metric, DNS or report value;\n"
    "a domain without user name.\n"
    "\n"
    "  --json           print the findings as a JSON document\n"
    "  --older-client   also report the lines past the first 32,767 bytes of the list section,\n"
    "                   which an older client (one fixed read of the section) never sees\n"
    "\n"
    "Exit status: 0 clean, 1 problems found, 2 the file cannot be read.\n";

const char kPlanHelp[] =
    "usage: maclist plan FILE --mac MAC [options] [/K] [/R] [/N] [/IP:ADDRESS]\n"
    "\n"
    "Runs Tolvik's own lookup, summary, apply and close handling for a PC whose adapter has the\n"
    "MAC address, with nothing changed: prints the summary Tolvik would show, an empty line,\n"
    "then every command line it would start and every file, registry value and computer name\n"
    "it would write, in order.\n"
    "\n"
    "  --mac MAC            the adapter: 00-E0-FD-3A-1B-01, 00:e0:fd:3a:1b:01 or 00E0FD3A1B01\n"
    "  --connection NAME    its connection name (default 本地连接)\n"
    "  --icd FILE           the icd.ini beside Tolvik (default: none)\n"
    "  --current-name NAME  the computer name Windows runs under (default %COMPUTERNAME%)\n"
    "  --program PATH       Tolvik.exe on the PC (default C:\\Tolvik\\Tolvik.exe)\n"
    "  --temp DIR           the PC's temporary directory (default C:\\WINDOWS\\TEMP\\)\n"
    "  /K, /R               Tolvik's switches: delete the list and itself, restart afterwards\n"
    "  /N, /IP:ADDRESS      fetch first, from the DHCP server or the address; the server is\n"
    "                       taken to hold FILE as mac.ini and the --icd file as icd.ini\n"
    "  --dhcp-server ADDR   the adapter's DHCP server, tried by /N (default: none)\n"
    "  --no-tftp            the PC has no tftp (off by default since Windows Vista): show\n"
    "                       Tolvik reading the files over TFTP itself\n"
    "  --windows VERSION    the PC's Windows: 2000, xp, vista, 7, 8, 10 or 11 (default 10);\n"
    "                       a domain join names the new computer name from Vista on\n"
    "\n"
    "The ICD client's settings file is taken to exist, so its writes are shown.\n"
    "Exit status: 0 planned, 1 no line of the list names the adapter, 2 bad input.\n";

const char kStatusHelp[] =
    "usage: maclist status LIST REPORTS [--json] [--html FILE]\n"
    "\n"
    "Reads the list and the folder REPORTS (the TFTP server's root, where Tolvik puts\n"
    "tolvik-<MAC>.ini when the list holds report=tftp or report=ADDRESS) and prints one line\n"
    "per machine in list order: number, name, IP, MAC and its state: done; failed, with the\n"
    "steps that failed, their codes and what the common codes mean; pending (renamed, joins\n"
    "the domain after the restart); no report; stale (the report names another computer name\n"
    "or address, or its list had no line for the PC); unreadable report (over 64 KB or cannot\n"
    "be read); inconsistent report (its mac= names another MAC, or a step failed under\n"
    "result=done); conflicting reports (two files whose names differ only in case).\n"
    "Reports from MACs the list does not hold follow (not in list); a summary line ends the\n"
    "output. Only tolvik-<12 hex digits>.ini files are read. A report is what the PC wrote over\n"
    "TFTP, which anyone on the network can write to: it is no proof.\n"
    "\n"
    "  --json        print the machines and the summary as a JSON document\n"
    "  --html FILE   also write one self-contained page (UTF-8, in Chinese), coloured by state\n"
    "\n"
    "Exit status: 0 every machine of the list done and no report unreadable, inconsistent,\n"
    "conflicting or from a PC that found no line; 1 otherwise; 2 bad arguments, the list or\n"
    "the folder cannot be read, or the page cannot be written.\n";

const char kAccountsHelp[] =
    "usage: maclist accounts FILE [--ou DN]\n"
    "\n"
    "For a list that joins a domain: gives every machine that has none a one-time password of\n"
    "its own in section [Join] (24 letters and digits from the system's cryptographic random\n"
    "source), takes Username and password out of [Config], and replaces the list in one step;\n"
    "every other byte stays. Tolvik then joins each PC to its own computer account, made\n"
    "beforehand, with no domain account in the list.\n"
    "\n"
    "Beside the list it writes the two scripts that make those accounts (or set the password of\n"
    "one that exists): accounts.ps1 for Windows with the ActiveDirectory module, and\n"
    "accounts-samba.sh for a Samba AD domain controller. Run one of them once, as a domain\n"
    "administrator. An account a PC already joined is left as it is. No password is printed,\n"
    "but the list and the scripts hold them: delete the scripts, and take the list off the TFTP\n"
    "server, once maclist status shows the batch done.\n"
    "\n"
    "  --ou DN   the container of the new accounts, e.g. \"OU=Lab,DC=corp,DC=example\"\n"
    "            (default: the domain's Computers container)\n"
    "\n"
    "Exit status: 0 done, 2 not a domain list, or a file cannot be read or written.\n";

bool WantsHelp(const std::vector<std::string>& arguments) {
  for (const std::string& a : arguments) {
    if (a == "--help" || a == "-h") return true;
  }
  return false;
}

int Check(const std::vector<std::string>& arguments, ProfileApi& profile, std::string* out,
          std::string* err) {
  std::string error;
  CommandArguments args(arguments, &error);
  std::vector<std::string> positional;
  bool json = false;
  bool olderClient = false;
  while (!args.AtEnd()) {
    if (args.Flag("--json")) {
      json = true;
    } else if (args.Flag("--older-client")) {
      olderClient = true;
    } else if (!args.Positional(&positional)) {
      break;
    }
  }
  if (error.empty() && positional.size() != 1) {
    error = positional.empty() ? "check needs the list file: maclist check FILE"
                               : "check takes one list file, not " + std::to_string(positional.size());
  }
  if (!error.empty()) {
    *err += "maclist check: " + error + "\n";
    return 2;
  }
  const std::string& path = positional[0];
  std::string bytes;
  const std::string full = FullPath(path);
  if (full.empty() || !SystemFiles().ReadWholeFile(full, &bytes)) {
    *err += "maclist check: cannot read the list file " + path + "\n";
    return 2;
  }
  // The given profile functions serve the tests; the program itself reads through the reader
  // of its system (see SystemProfileReaderOf).
  std::unique_ptr<ProfileApi> reader;
  ProfileApi* listReader = &profile;
  if (&profile == &SystemProfileApi()) {
    reader = SystemProfileReaderOf(full, bytes);
    listReader = reader.get();
  }
  const std::vector<ListFinding> findings =
      CheckList(*listReader, full, bytes, olderClient);
  *out += json ? FindingsJson(path, findings) : FindingsText(path, findings);
  return findings.empty() ? 0 : 1;
}

}  // namespace

int RunMaclist(const std::vector<std::string>& arguments, ProfileApi& profile, std::string* out,
               std::string* err) {
  if (arguments.empty()) {
    *err += kProgramHelp;
    return 2;
  }
  const std::string& command = arguments[0];
  const std::vector<std::string> rest(arguments.begin() + 1, arguments.end());
  if (command == "--help" || command == "-h" || command == "help") {
    *out += kProgramHelp;
    return 0;
  }
  if (command == "generate") {
    if (WantsHelp(rest)) {
      *out += kGenerateHelp;
      return 0;
    }
    GenerateOptions options;
    std::string error;
    if (!ParseGenerateArguments(rest, &options, &error)) {
      *err += "maclist generate: " + error + "\n";
      return 2;
    }
    std::string report;
    const int code = RunGenerate(options, profile, out, &report, &error);
    if (code != 0) *err += "maclist generate: " + error + "\n";
    *err += report;
    return code;
  }
  if (command == "check") {
    if (WantsHelp(rest)) {
      *out += TerminalText(kCheckHelp);
      return 0;
    }
    return Check(rest, profile, out, err);
  }
  if (command == "plan") {
    if (WantsHelp(rest)) {
      *out += TerminalText(kPlanHelp);
      return 0;
    }
    PlanOptions options;
    std::string error;
    if (!ParsePlanArguments(rest, &options, &error)) {
      *err += "maclist plan: " + error + "\n";
      return 2;
    }
    std::string plan, notice;
    const int code = RunPlan(options, profile, &plan, &notice, &error);
    *out += TerminalText(plan);
    if (!notice.empty()) *err += "maclist plan: " + notice;
    if (code != 0) *err += "maclist plan: " + error + "\n";
    return code;
  }
  if (command == "status") {
    if (WantsHelp(rest)) {
      *out += kStatusHelp;
      return 0;
    }
    StatusOptions options;
    std::string error;
    if (!ParseStatusArguments(rest, &options, &error)) {
      *err += "maclist status: " + error + "\n";
      return 2;
    }
    const int code = RunStatus(options, out, &error);
    if (code == 2) *err += "maclist status: " + error + "\n";
    return code;
  }
  if (command == "accounts") {
    if (WantsHelp(rest)) {
      *out += kAccountsHelp;
      return 0;
    }
    AccountsOptions options;
    std::string error;
    const int code = ParseAccountsArguments(rest, &options, &error)
                         ? RunAccounts(options, profile, out, &error)
                         : 2;
    if (code != 0) *err += "maclist accounts: " + error + "\n";
    return code;
  }
  *err += "maclist: unknown command " + command +
          " (generate, check, plan, status or accounts; --help)\n";
  return 2;
}
