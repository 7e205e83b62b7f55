// Kea memfile lease file: CSV found by its heading, keyed by the client's last transmission time.
#include <string>

#include "common/text_rules.h"
#include "generator/log_readers/csv_records.h"
#include "generator/log_readers/lease_dates.h"
#include "generator/log_readers/log_readers.h"
#include "generator/log_readers/text_lines.h"

namespace {

bool ReadWholeNumber(const std::string& text, long long* value) {
  const std::string_view digits = TrimView(text);
  if (digits.empty() || digits.size() > 12) return false;
  long long result = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return false;
    result = result * 10 + (c - '0');
  }
  *value = result;
  return true;
}

}  // namespace

LogReading ReadKeaLeases(std::string_view text) {
  LogReading reading;
  size_t mac = kNoColumn, lifetime = kNoColumn, expire = kNoColumn;
  bool heading = true;
  ForEachCsvRecord(text, [&](const std::vector<std::string>& fields, size_t line) -> bool {
    if (heading) {
      heading = false;
      mac = CsvColumnOf(fields, "hwaddr");
      lifetime = CsvColumnOf(fields, "valid_lifetime");
      expire = CsvColumnOf(fields, "expire");
      // A heading without these columns is no Kea lease file: nothing more to read.
      return mac != kNoColumn && lifetime != kNoColumn && expire != kNoColumn;
    }
    if (fields.size() == 1 && TrimView(fields[0]).empty()) return true;
    // Kea writes its heading again when the lease file is cleaned up and rewritten.
    if (mac < fields.size() && EqualsIgnoringAsciiCase(fields[mac], "hwaddr")) return true;
    LogEntry entry;
    entry.mac = mac < fields.size() ? fields[mac] : std::string();
    entry.line = line;
    long long validLifetime = 0, expiry = 0;
    const bool timed = lifetime < fields.size() && expire < fields.size() &&
                       ReadWholeNumber(fields[lifetime], &validLifetime) &&
                       ReadWholeNumber(fields[expire], &expiry) &&
                       EpochTimeKey(expiry - validLifetime, &entry.timeKey);
    if (!timed) entry.timeKey = kUndatedKey;
    reading.entries.push_back(std::move(entry));
    return true;
  });
  reading.lines = ForEachTextLine(text, [](std::string_view, size_t) {});
  return reading;
}
