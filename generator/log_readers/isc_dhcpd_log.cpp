// ISC dhcpd's log: every "DHCPACK on ADDRESS to MAC (name) via iface" line, keyed by its time.
#include "generator/log_readers/log_readers.h"
#include "generator/log_readers/server_log_lines.h"
#include "generator/log_readers/text_lines.h"

LogReading ReadIscDhcpdLog(std::string_view text) {
  LogReading reading;
  ServerLogReader log;
  // A file that is no such log (the import tries this reader on every file) is passed quickly.
  if (TextBeforeNul(text).find("DHCPACK on ") == std::string_view::npos) {
    reading.lines = CountTextLines(text);
    return reading;
  }
  reading.lines = ForEachTextLine(text, [&](std::string_view line, size_t number) {
    // Only a line that holds the word is taken apart: most lines of a large file hold none.
    if (line.find("DHCPACK on ") == std::string_view::npos) return;
    const ServerLogLine parts = log.Read(line);
    if (!parts.program.empty() && parts.program != "dhcpd") return;
    // "DHCPACK to ADDRESS (MAC)" answers an INFORM from a machine that has its address already.
    const std::string_view message = parts.message;
    const size_t ack = FindWordStart(message, "DHCPACK on ");
    if (ack == std::string_view::npos) return;
    size_t pos = ack + 11;
    if (!IsDottedIpv4(NextWord(message, pos)) || NextWord(message, pos) != "to") return;
    LogEntry entry;
    entry.mac = std::string(NextWord(message, pos));
    entry.timeKey = parts.timeKey;
    entry.line = number;
    reading.entries.push_back(std::move(entry));
  });
  return reading;
}
