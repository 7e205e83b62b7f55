// Time keys from locale dates, "AM"/"PM" markers and seconds since 1970.
#include "generator/log_readers/lease_dates.h"

#include "common/text_rules.h"
#include "generator/generator_texts.h"

namespace {

bool IsDigit(std::string_view text, size_t pos) {
  return pos < text.size() && text[pos] >= '0' && text[pos] <= '9';
}

// Reads the decimal number at pos into *value and returns its count of digits (0: none).
size_t ReadDigits(std::string_view text, size_t& pos, int* value) {
  const size_t begin = pos;
  long long result = 0;
  while (IsDigit(text, pos)) {
    if (result < 100000) result = result * 10 + (text[pos] - '0');
    ++pos;
  }
  *value = static_cast<int>(result);
  return pos - begin;
}

bool ReadDateSeparator(std::string_view text, size_t& pos) {
  if (pos < text.size() && (text[pos] == '-' || text[pos] == '/' || text[pos] == '.')) {
    ++pos;
    return true;
  }
  return false;
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

enum class Marker { None, Morning, Afternoon };

bool StartsWith(std::string_view text, size_t pos, std::string_view word, bool ignoreCase) {
  if (text.size() - pos < word.size()) return false;
  for (size_t i = 0; i < word.size(); ++i) {
    char c = text[pos + i];
    if (ignoreCase && c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c != word[i]) return false;
  }
  return true;
}

// Reads "AM", "PM", "上午" or "下午" at pos.
Marker ReadMarker(std::string_view text, size_t& pos) {
  const struct {
    std::string_view word;
    bool ignoreCase;
    Marker marker;
  } kMarkers[] = {{"AM", true, Marker::Morning},
                  {"PM", true, Marker::Afternoon},
                  {generator_texts::kMorningMarker, false, Marker::Morning},
                  {generator_texts::kAfternoonMarker, false, Marker::Afternoon}};
  for (const auto& m : kMarkers) {
    if (StartsWith(text, pos, m.word, m.ignoreCase)) {
      pos += m.word.size();
      return m.marker;
    }
  }
  return Marker::None;
}

void SkipSpaces(std::string_view text, size_t& pos) {
  while (pos < text.size() && text[pos] == ' ') ++pos;
}

// The date's three numbers and their digit counts.
struct DateNumbers {
  int values[3] = {0, 0, 0};
  size_t digits[3] = {0, 0, 0};
};

size_t ReadDate(std::string_view text, DateNumbers* date) {
  size_t pos = 0;
  for (int i = 0; i < 3; ++i) {
    if (i > 0 && !ReadDateSeparator(text, pos)) break;
    date->digits[i] = ReadDigits(text, pos, &date->values[i]);
    if (date->digits[i] == 0) break;
  }
  return pos;
}

// Appends value as exactly `width` decimal digits (the lowest ones), without a temporary text:
// a lease file of 50 MB makes a million keys.
void AppendDigits(std::string& text, unsigned long long value, int width) {
  char digits[20];
  for (int i = width - 1; i >= 0; --i, value /= 10) digits[i] = static_cast<char>('0' + value % 10);
  text.append(digits, static_cast<size_t>(width));
}

}  // namespace

std::string UndatedKey(size_t position) {
  std::string key;
  key.reserve(24);
  key.append("99999999999999");
  AppendDigits(key, position, 10);
  return key;
}



bool ShowsDayFirst(std::string_view text) {
  DateNumbers date;
  ReadDate(text, &date);
  return date.digits[2] == 4 && date.digits[0] <= 2 && date.values[0] > 12;
}

std::string LeaseTimeKey(std::string_view text, size_t position, bool dayFirst) {
  DateNumbers date;
  size_t pos = ReadDate(text, &date);
  int year = 0, month = 0, day = 0;
  if (date.digits[2] == 4 && date.digits[0] <= 2 && date.digits[1] <= 2) {
    // The year last, as United States and European systems write it.
    year = date.values[2];
    month = dayFirst ? date.values[1] : date.values[0];
    day = dayFirst ? date.values[0] : date.values[1];
  } else if (date.digits[0] <= 4 && date.digits[1] <= 2 && date.digits[2] <= 2) {
    year = date.values[0];
    month = date.values[1];
    day = date.values[2];
  } else {
    return UndatedKey(position);
  }
  // The time: after spaces, hours, minutes and seconds, each up to two digits; a marker may
  // stand before or after it. A missing part counts as zero.
  int parts[3] = {0, 0, 0};
  Marker marker = Marker::None;
  if (date.digits[2] > 0 && pos < text.size() && text[pos] == ' ') {
    SkipSpaces(text, pos);
    marker = ReadMarker(text, pos);
    SkipSpaces(text, pos);
    for (int i = 0; i < 3; ++i) {
      if (i > 0) {
        if (pos >= text.size() || text[pos] != ':') break;
        ++pos;
      }
      const size_t digits = ReadDigits(text, pos, &parts[i]);
      if (digits == 0) break;
      if (digits > 2) return UndatedKey(position);
    }
    if (marker == Marker::None) {
      SkipSpaces(text, pos);
      marker = ReadMarker(text, pos);
    }
  }
  int hour = parts[0];
  if (marker == Marker::Afternoon && hour < 12) hour += 12;
  if (marker == Marker::Morning && hour == 12) hour = 0;
  const bool valid = year >= 1 && month >= 1 && month <= 12 && day >= 1 &&
                     day <= DaysInMonth(year, month) && hour <= 23 && parts[1] <= 59 &&
                     parts[2] <= 59;
  if (!valid) return UndatedKey(position);
  std::string key;
  key.reserve(14);
  AppendDigits(key, static_cast<unsigned long long>(year), 4);
  AppendDigits(key, static_cast<unsigned long long>(month), 2);
  AppendDigits(key, static_cast<unsigned long long>(day), 2);
  AppendDigits(key, static_cast<unsigned long long>(hour), 2);
  AppendDigits(key, static_cast<unsigned long long>(parts[1]), 2);
  AppendDigits(key, static_cast<unsigned long long>(parts[2]), 2);
  return key;
}

bool ReadEpochSeconds(std::string_view text, long long* seconds) {
  if (text.empty() || text.size() > 12) return false;
  long long value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  *seconds = value;
  return true;
}

bool EpochTimeKey(long long seconds, std::string* key) {
  if (seconds < 0 || seconds >= 253402300800LL) return false;  // 10000-01-01
  const long long days = seconds / 86400;
  const long long rest = seconds % 86400;
  // Civil date from a day count (days since 1970-01-01), in 400-year eras of 146097 days.
  const long long z = days + 719468;
  const long long era = z / 146097;
  const long long dayOfEra = z - era * 146097;
  const long long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const long long shiftedMonth = (5 * dayOfYear + 2) / 153;
  const long long day = dayOfYear - (153 * shiftedMonth + 2) / 5 + 1;
  const long long month = shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9;
  const long long year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
  key->clear();
  key->reserve(24);
  AppendDigits(*key, static_cast<unsigned long long>(year), 4);
  AppendDigits(*key, static_cast<unsigned long long>(month), 2);
  AppendDigits(*key, static_cast<unsigned long long>(day), 2);
  AppendDigits(*key, static_cast<unsigned long long>(rest / 3600), 2);
  AppendDigits(*key, static_cast<unsigned long long>(rest / 60 % 60), 2);
  AppendDigits(*key, static_cast<unsigned long long>(rest % 60), 2);
  return true;
}
