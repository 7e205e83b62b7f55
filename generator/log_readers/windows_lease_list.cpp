// Windows DHCP Server lease list: the console's tab- or comma-separated export.
#include <string>

#include "common/text_rules.h"
#include "generator/log_readers/lease_dates.h"
#include "generator/log_readers/log_readers.h"
#include "generator/log_readers/text_lines.h"

namespace {

// Fields 3 and 5 of a line cut at separator: field 5 ends at the fifth separator or the line's end.
void CutFields(std::string_view line, char separator, std::string_view* field3,
               std::string_view* field5) {
  *field3 = std::string_view();
  *field5 = std::string_view();
  size_t begin = 0;
  for (int field = 1; field <= 5; ++field) {
    const size_t end = line.find(separator, begin);
    const std::string_view text =
        line.substr(begin, end == std::string_view::npos ? std::string_view::npos : end - begin);
    if (field == 3) *field3 = text;
    if (field == 5) *field5 = text;
    if (end == std::string_view::npos) return;
    begin = end + 1;
  }
}

}  // namespace

LogReading ReadWindowsLeaseList(std::string_view text, bool cutAtCommas) {
  LogReading reading;
  // The dates are read once every line is known: one date with a day above 12 before the year
  // shows that the file's dates all stand day first.
  std::vector<std::string_view> dates;
  bool dayFirst = false;
  reading.lines = ForEachCrLine(text, [&](std::string_view line, size_t number) {
    if (number == 1 || line.empty()) return;  // the heading, in the system's language
    char separator = '\t';
    if (cutAtCommas && line.find('\t') == std::string_view::npos) separator = ',';
    std::string_view date, mac;
    CutFields(line, separator, &date, &mac);
    LogEntry entry;
    entry.mac = UpperAscii(std::string(mac));
    entry.line = number;
    reading.entries.push_back(std::move(entry));
    dates.push_back(date);
    dayFirst = dayFirst || ShowsDayFirst(date);
  });
  for (size_t i = 0; i < reading.entries.size(); ++i) {
    reading.entries[i].timeKey = LeaseTimeKey(dates[i], i, dayFirst);
  }
  return reading;
}
