// A plain list of MAC addresses, one a line, in line order.
#include <string>

#include "generator/log_readers/lease_dates.h"
#include "generator/log_readers/log_readers.h"
#include "generator/log_readers/mac_text.h"
#include "generator/log_readers/text_lines.h"

namespace {

bool IsFieldSeparator(char c) {
  return c == ' ' || c == '\t' || c == ',' || c == ';' || c == '|';
}

// The first field of the line that reads as a MAC address, as written; empty when none does.
std::string_view FirstMacField(std::string_view line) {
  std::string mac;
  size_t pos = 0;
  while (pos < line.size()) {
    while (pos < line.size() && IsFieldSeparator(line[pos])) ++pos;
    const size_t begin = pos;
    while (pos < line.size() && !IsFieldSeparator(line[pos])) ++pos;
    const std::string_view field = line.substr(begin, pos - begin);
    if (!field.empty() && NormalizeMacText(field, &mac)) return field;
  }
  return std::string_view();
}

}  // namespace

LogReading ReadPlainMacList(std::string_view text) {
  LogReading reading;
  reading.lines = ForEachTextLine(text, [&](std::string_view line, size_t number) {
    const std::string_view trimmed = TrimView(line);
    if (trimmed.empty() || trimmed[0] == '#' || trimmed[0] == ';') return;
    const std::string_view mac = FirstMacField(trimmed);
    LogEntry entry;
    // A line without any MAC address is kept whole, so that the import can name it.
    entry.mac = std::string(mac.empty() ? trimmed : mac);
    entry.line = number;
    entry.timeKey = kUndatedKey;  // line order alone
    reading.entries.push_back(std::move(entry));
  });
  return reading;
}
