// The lines of a Linux DHCP server's log: the time stamp and program tag in front of the message,
// as syslog, journalctl, rsyslog and the servers' own log files write them.
#pragma once

#include <string>
#include <string_view>

#include "generator/log_readers/log_readers.h"

// One line taken apart. program is empty where the line names none (dhcpd's standard error,
// Kea's own log file).
struct ServerLogLine {
  std::string timeKey;  // "yyyyMMddHHmmss"
  std::string_view program;
  std::string_view message;
};

// Reads the lines of one log in file order. A traditional syslog stamp ("Dec  9 05:28:02") has no
// year: the reader counts from year 2000 and gives each line the year that puts it nearest the
// line before. A step back of up to two months is an earlier file of the same log given after a
// later one (syslog before syslog.1, as a shell expands them); a bigger one is the next year
// (December to January; the readers see only the lines they take, which may skip months).
// ISO stamps with an offset ("2026-12-09T05:28:02+0000", rsyslog's
// "2026-12-09T05:28:02.123456+00:00") are turned into UTC; Kea's own "2026-12-09 05:28:02.123"
// is taken as written. A line without a stamp takes the time of the line before it.
class ServerLogReader {
 public:
  // The line's stamp, program ("dnsmasq-dhcp" of "host dnsmasq-dhcp[812]:", "kea-dhcp4" of
  // "host kea-dhcp4:") and message.
  ServerLogLine Read(std::string_view line);
  // How many stamps without a year went back in time (earlier files, or lines out of order).
  size_t StepsBack() const { return stepsBack_; }

 private:
  static constexpr long long kNoStamp = -(1LL << 62);
  int year_ = 2000;
  long long lastSeconds_ = kNoStamp;  // of the last stamp without a year
  size_t stepsBack_ = 0;
  std::string lastKey_ = "00000000000000";
};

// The next word of text from pos on, between spaces or tabs; pos moves past it.
std::string_view NextWord(std::string_view text, size_t& pos);

// The first occurrence of word in text that starts the text or follows a space; npos if none.
size_t FindWordStart(std::string_view text, std::string_view word);

// True when text is a dotted IPv4 address: digits and dots only, with three dots.
bool IsDottedIpv4(std::string_view text);

// What one server's log reader knows: the words that mark a granting line, the program that
// writes it (a line naming another program is skipped; programPrefix matches the start of the
// name), and how the machine's MAC text is taken out of such a line's message (false: the line
// grants no lease after all; an empty MAC text is an entry without one).
struct GrantingLineRule {
  std::string_view marker;
  std::string_view programPrefix;
  bool wholeProgramName;  // the program's name must be programPrefix exactly
  bool (*macOf)(std::string_view message, std::string_view* mac);
};

// Every granting line of the log, in file order, keyed by its time stamp. A file without the
// marker (the import tries every reader on every file) is passed at memchr speed, and only the
// lines that hold it are taken apart.
LogReading ReadGrantingLines(std::string_view text, const GrantingLineRule& rule);
