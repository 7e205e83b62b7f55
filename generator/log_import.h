// DHCP log import: the readers of every server's log or lease file, the MAC check and the
// ordering of the rows.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "generator/list_model.h"
#include "generator/log_readers/lease_dates.h"
#include "generator/log_readers/log_readers.h"
#include "generator/log_readers/mac_text.h"
#include "platform/code_page_api.h"
#include "platform/collation_api.h"

// Which reader reads a file. Brevane's window offers the first two; Auto tries every reader.
// Kea, Dnsmasq and IscDhcpd are the servers' lease files, the ...Log ones their logs.
enum class LogFormat {
  Tftpd32,
  WindowsDhcpServer,
  PowerShell,
  Kea,
  Dnsmasq,
  IscDhcpd,
  PlainList,
  DnsmasqLog,
  IscDhcpdLog,
  KeaLog,
  Auto,
};

// Whether the import tries the other readers when the chosen one gives no row.
enum class OtherReaders { Try, Skip };

// An entry whose MAC text is no MAC address, left out of the list.
struct LeftOutLine {
  size_t line = 0;
  std::string text;  // the MAC text as read (cut to 64 bytes)
};

// What an import did, step by step.
struct ImportReport {
  LogFormat reader = LogFormat::Auto;  // the reader that gave the rows, else the last one tried
  std::vector<LogFormat> triedBefore;  // readers tried first that gave no row
  bool convertedFromUtf16 = false;     // the text was read as UTF-16LE, converted
  size_t lines = 0;                    // lines of the text the reader read
  size_t stepsBack = 0;                // syslog stamps that went back (LogReading::stepsBack)
  size_t entries = 0;                  // entries the reader found in them
  size_t withoutMac = 0;               // entries with an empty MAC text
  std::vector<LeftOutLine> leftOut;    // entries whose MAC text is no MAC address
  size_t repeats = 0;                  // entries of a machine already listed
  size_t rows = 0;
};

// The name of a format as maclist spells it on its command line ("tftpd32", "windows", ...), and
// a reader's description for reports.
const char* LogFormatName(LogFormat format);
const char* LogFormatDescription(LogFormat format);
// The format of a name: false for an unknown one.
bool LogFormatFromName(const std::string& name, LogFormat* format);

// True for the lease files of dnsmasq, ISC dhcpd and Kea: they keep each lease's latest state
// (a renewal moves a machine later, a restart or cleanup rewrites the file, dnsmasq forgets
// released leases), so their order need not be the order in which the machines first took a
// lease. The servers' logs keep that order.
bool KeepsOnlyLatestLeases(LogFormat reader);

// Appends the bytes of one more file of the same log: the files of one server (Kea's lease file
// and the ones its cleanup wrote, a rotated log) are read as one text, each file's last line
// ended before the next file's first.
void AppendLogFile(std::string* joined, const std::string& file);

// Cuts file bytes into lines at CR (CR LF is one end, a lone LF stays in its line, NUL ends).
// A text that ends with a line end has no empty line after it; an empty text has no lines.
std::vector<std::string> CutLogLines(const std::string& bytes);

// The whole import of a file's bytes: replaces the rows with one row per machine in the order
// the log saw them, numbered 001...; true when at least one row exists afterwards.
//  - The chosen reader reads the bytes as they are. When that gives no row, a file that begins
//    with the UTF-16LE mark FF FE is read again converted to the ANSI code page, and a lease list
//    again with lines that hold no tab cut at commas.
//  - When still no row results, the other readers are tried in a fixed order (TFTPD32, the logs
//    of dnsmasq, ISC dhcpd and Kea, lease list, PowerShell, the lease files of Kea, dnsmasq and
//    ISC dhcpd, plain list) on the text without its byte-order mark, converted from UTF-16LE
//    where marked; the first that gives a row reads the file. Auto starts that order at its
//    beginning.
//  - Every MAC text is checked with NormalizeMacText; an entry whose text is no MAC address
//    gives no row (its line is named in the report).
//  - Each machine's row stands at its first entry: the first in the file for TFTPD32 logs and
//    lease lists, the earliest time key for the other readers (so several files of one server
//    may be given one after the other, in any order).
bool ImportLogBytes(const std::string& bytes, LogFormat format, ListModel& model,
                    CollationApi& collation, CodePageApi& codePage, ImportReport* report = nullptr,
                    OtherReaders others = OtherReaders::Try);

// The same with this build's conversion, SystemCodePageApi().
bool ImportLogBytes(const std::string& bytes, LogFormat format, ListModel& model,
                    CollationApi& collation);
