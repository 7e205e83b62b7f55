// PowerShell's Export-Csv of Get-DhcpServerv4Lease: columns found by name, keyed by the expiry.
#include <string>

#include "common/text_rules.h"
#include "generator/log_readers/csv_records.h"
#include "generator/log_readers/lease_dates.h"
#include "generator/log_readers/log_readers.h"
#include "generator/log_readers/text_lines.h"

LogReading ReadPowerShellLeases(std::string_view text) {
  LogReading reading;
  size_t mac = kNoColumn, expiry = kNoColumn;
  bool heading = true;
  std::vector<std::string> dates;
  bool dayFirst = false;
  ForEachCsvRecord(text, [&](const std::vector<std::string>& fields, size_t line) -> bool {
    if (fields.size() == 1 && TrimView(fields[0]).empty()) return true;
    // Windows PowerShell writes the object's type first: "#TYPE Microsoft.Management...".
    if (heading && !fields[0].empty() && fields[0][0] == '#') return true;
    if (heading) {
      heading = false;
      mac = CsvColumnOf(fields, "ClientId");
      expiry = CsvColumnOf(fields, "LeaseExpiryTime");
      // A heading without a ClientId column is no lease export: nothing more to read.
      return mac != kNoColumn;
    }
    LogEntry entry;
    entry.mac = mac < fields.size() ? fields[mac] : std::string();
    entry.line = line;
    reading.entries.push_back(std::move(entry));
    dates.push_back(expiry < fields.size() ? fields[expiry] : std::string());
    dayFirst = dayFirst || ShowsDayFirst(dates.back());
    return true;
  });
  // Reservations have no expiry: they follow the dated leases in file order.
  for (size_t i = 0; i < reading.entries.size(); ++i) {
    const std::string key = LeaseTimeKey(dates[i], i, dayFirst);
    reading.entries[i].timeKey = key.size() == 14 ? key : std::string(kUndatedKey);
  }
  reading.lines = ForEachTextLine(text, [](std::string_view, size_t) {});
  return reading;
}
