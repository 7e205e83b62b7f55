// dnsmasq's log: every "DHCPACK(iface) ADDRESS MAC [name]" line, keyed by its time stamp.
#include "generator/log_readers/log_readers.h"
#include "generator/log_readers/server_log_lines.h"
#include "generator/log_readers/text_lines.h"

LogReading ReadDnsmasqLog(std::string_view text) {
  LogReading reading;
  ServerLogReader log;
  // A file that is no such log (the import tries this reader on every file) is passed quickly.
  if (TextBeforeNul(text).find("DHCPACK(") == std::string_view::npos) {
    reading.lines = CountTextLines(text);
    return reading;
  }
  reading.lines = ForEachTextLine(text, [&](std::string_view line, size_t number) {
    // Only a line that holds the word is taken apart: most lines of a large file hold none.
    if (line.find("DHCPACK(") == std::string_view::npos) return;
    const ServerLogLine parts = log.Read(line);
    // "dnsmasq-dhcp" in syslog; the server's own log file names its program too.
    if (!parts.program.empty() && parts.program.substr(0, 7) != "dnsmasq") return;
    // With --log-dhcp a transaction number stands before the word.
    const std::string_view message = parts.message;
    const size_t ack = FindWordStart(message, "DHCPACK(");
    if (ack == std::string_view::npos) return;
    size_t pos = message.find(')', ack);
    if (pos == std::string_view::npos) return;
    ++pos;
    if (!IsDottedIpv4(NextWord(message, pos))) return;
    LogEntry entry;
    entry.mac = std::string(NextWord(message, pos));
    entry.timeKey = parts.timeKey;
    entry.line = number;
    reading.entries.push_back(std::move(entry));
  });
  return reading;
}
