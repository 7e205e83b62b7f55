// Kea's log: every "DHCP4_LEASE_ALLOC [hwtype=1 MAC], ..." line, keyed by its time stamp.
#include "generator/log_readers/log_readers.h"
#include "generator/log_readers/server_log_lines.h"
#include "generator/log_readers/text_lines.h"

LogReading ReadKeaLog(std::string_view text) {
  constexpr std::string_view kAllocated = "DHCP4_LEASE_ALLOC [hwtype=1 ";
  LogReading reading;
  ServerLogReader log;
  // A file that is no such log (the import tries this reader on every file) is passed quickly.
  if (TextBeforeNul(text).find(kAllocated) == std::string_view::npos) {
    reading.lines = CountTextLines(text);
    return reading;
  }
  reading.lines = ForEachTextLine(text, [&](std::string_view line, size_t number) {
    // Only a line that holds the word is taken apart: most lines of a large file hold none.
    if (line.find(kAllocated) == std::string_view::npos) return;
    const ServerLogLine parts = log.Read(line);
    if (!parts.program.empty() && parts.program != "kea-dhcp4") return;
    // The first bracket names the machine ("cid=[01:...]" after it is the client identifier); a
    // hardware type other than Ethernet (1) has no six-byte MAC address.
    const size_t at = FindWordStart(parts.message, kAllocated);
    if (at == std::string_view::npos) return;
    const std::string_view machine = parts.message.substr(at + kAllocated.size());
    const size_t end = machine.find(']');
    if (end == std::string_view::npos) return;
    LogEntry entry;
    entry.mac = std::string(machine.substr(0, end));
    entry.timeKey = parts.timeKey;
    entry.line = number;
    reading.entries.push_back(std::move(entry));
  });
  return reading;
}
