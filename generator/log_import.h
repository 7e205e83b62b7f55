// DHCP log import: TFTPD32 logs (rule T) and Windows DHCP Server lease lists (rule W).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "generator/list_model.h"
#include "platform/code_page_api.h"
#include "platform/collation_api.h"

enum class LogFormat { Tftpd32, WindowsDhcpServer };

struct LogEntry {
  std::string mac;      // separators removed, upper-cased
  std::string timeKey;  // digit text that orders the entries
};

// Cuts file bytes into lines at CR (CR LF is one end, a lone LF stays in its line, NUL ends).
// A text that ends with a line end has no empty line after it; an empty text has no lines.
std::vector<std::string> CutLogLines(const std::string& bytes);

// Rule T for one line: false when the line holds no "Rcvd DHCP"; otherwise the entry, whose
// MAC text may be empty.
bool ReadTftpdLine(std::string_view line, LogEntry* entry);

// The time key of a lease expiration text read by "yyyy-MM-dd HH:mm:ss" (or with "/" between
// the date's numbers, as newer Chinese systems write it), missing parts counting as zero:
// 14 digits "yyyyMMddHHmmss". A text that does not name a valid date and time (text such as
// "Reservation (active)", an empty field, a month above 12, a number longer than its place in
// the pattern) gets "99999999999999" followed by the entry's position in the list as ten
// digits: it is placed after every dated entry, and such entries keep their list order.
std::string LeaseTimeKey(std::string_view text, size_t position);

// Rule T and rule W over the lines of a log, in log order. With cutAtCommas, a lease list line
// that holds no tab is cut at commas instead (the comma-delimited export).
std::vector<LogEntry> CollectTftpdEntries(const std::vector<std::string>& lines);
std::vector<LogEntry> CollectWindowsDhcpEntries(const std::vector<std::string>& lines,
                                                bool cutAtCommas = false);

// The whole import of a file's bytes: replaces the rows with one row per machine in the order
// the log saw them, numbered 001...; true when at least one row exists afterwards.
// When the bytes as they are give no row, a file that begins with the UTF-16LE byte-order mark
// FF FE is read again converted to the ANSI code page, and a lease list again with lines that
// hold no tab cut at commas; files that give rows as they are never take that second reading.
bool ImportLogBytes(const std::string& bytes, LogFormat format, ListModel& model,
                    CollationApi& collation, CodePageApi& codePage);

// The same with this build's conversion, SystemCodePageApi().
bool ImportLogBytes(const std::string& bytes, LogFormat format, ListModel& model,
                    CollationApi& collation);
