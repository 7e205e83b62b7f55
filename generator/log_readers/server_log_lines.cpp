// Time stamps and program tags of syslog, journalctl and the DHCP servers' own log lines.
#include "generator/log_readers/server_log_lines.h"

#include "generator/log_readers/lease_dates.h"
#include "generator/log_readers/text_lines.h"

namespace {

// Reads exactly `count` digits at pos; false (pos unchanged) otherwise.
bool Digits(std::string_view text, size_t& pos, size_t count, int* value) {
  if (pos + count > text.size()) return false;
  int result = 0;
  for (size_t i = 0; i < count; ++i) {
    const char c = text[pos + i];
    if (c < '0' || c > '9') return false;
    result = result * 10 + (c - '0');
  }
  pos += count;
  *value = result;
  return true;
}

bool Char(std::string_view text, size_t& pos, char c) {
  if (pos >= text.size() || text[pos] != c) return false;
  ++pos;
  return true;
}

// "HH:MM:SS" at pos.
bool ClockTime(std::string_view text, size_t& pos, int* hour, int* minute, int* second) {
  return Digits(text, pos, 2, hour) && Char(text, pos, ':') && Digits(text, pos, 2, minute) &&
         Char(text, pos, ':') && Digits(text, pos, 2, second) && *hour <= 23 && *minute <= 59 &&
         *second <= 60;
}

void SkipFraction(std::string_view text, size_t& pos) {
  if (pos < text.size() && (text[pos] == '.' || text[pos] == ',')) {
    ++pos;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') ++pos;
  }
}

// Days since 1970-01-01 of a civil date.
long long DaysFromCivil(long long year, int month, int day) {
  year -= month <= 2 ? 1 : 0;
  const long long era = (year >= 0 ? year : year - 399) / 400;
  const long long yearOfEra = year - era * 400;
  const long long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

long long CivilSeconds(int year, int month, int day, int hour, int minute, int second) {
  return DaysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 + second;
}

std::string KeyOfSeconds(long long seconds) {
  std::string key;
  if (!EpochTimeKey(seconds, &key)) key = "00000000000000";
  return key;
}

// The time key of a civil time offsetMinutes east of UTC, in UTC.
std::string Key(int year, int month, int day, int hour, int minute, int second,
                int offsetMinutes = 0) {
  return KeyOfSeconds(CivilSeconds(year, month, day, hour, minute, second) - offsetMinutes * 60LL);
}

constexpr long long kEarlierFileReach = 62 * 86400LL;

bool AtSpace(std::string_view text, size_t pos) {
  return pos >= text.size() || text[pos] == ' ' || text[pos] == '\t';
}

// "2026-12-09T05:28:02[.frac](Z|+HH:MM|+HHMM)" or Kea's "2026-12-09 05:28:02[.frac]".
bool IsoStamp(std::string_view line, size_t& pos, std::string* key, bool* syslogStyle) {
  size_t at = 0;
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  if (!(Digits(line, at, 4, &year) && Char(line, at, '-') && Digits(line, at, 2, &month) &&
        Char(line, at, '-') && Digits(line, at, 2, &day)) ||
      month < 1 || month > 12 || day < 1 || day > 31 || at >= line.size()) {
    return false;
  }
  const bool withT = line[at] == 'T';
  if (!withT && line[at] != ' ') return false;
  ++at;
  if (!ClockTime(line, at, &hour, &minute, &second)) return false;
  SkipFraction(line, at);
  int offsetMinutes = 0;
  if (withT && at < line.size()) {
    if (line[at] == 'Z') {
      ++at;
    } else if (line[at] == '+' || line[at] == '-') {
      const int sign = line[at] == '-' ? -1 : 1;
      ++at;
      int hours = 0, minutes = 0;
      if (!Digits(line, at, 2, &hours)) return false;
      Char(line, at, ':');
      if (!Digits(line, at, 2, &minutes)) return false;
      offsetMinutes = sign * (hours * 60 + minutes);
    }
  }
  if (!AtSpace(line, at)) return false;
  *key = Key(year, month, day, hour, minute, second, offsetMinutes);
  *syslogStyle = withT;
  pos = at;
  return true;
}

// "Dec  9 05:28:02": month name, day padded with a space, time.
bool TraditionalStamp(std::string_view line, size_t& pos, int* month, int* day, int* hour,
                      int* minute, int* second) {
  static const char kMonths[] = "JanFebMarAprMayJunJulAugSepOctNovDec";
  if (line.size() < 15) return false;
  const std::string_view name = line.substr(0, 3);
  *month = 0;
  for (int m = 0; m < 12; ++m) {
    if (name == std::string_view(kMonths + 3 * m, 3)) *month = m + 1;
  }
  if (*month == 0 || line[3] != ' ') return false;
  size_t at = 4;
  if (line[at] == ' ') ++at;
  if (!Digits(line, at, 2, day) && !Digits(line, at, 1, day)) return false;
  if (*day < 1 || *day > 31 || !Char(line, at, ' ')) return false;
  if (!ClockTime(line, at, hour, minute, second) || !AtSpace(line, at)) return false;
  pos = at;
  return true;
}

void SkipBlanks(std::string_view text, size_t& pos) {
  while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
}

// "prog[pid]:" or "prog:" as the program's name; empty for any other word.
std::string_view ProgramTag(std::string_view word) {
  if (word.size() < 2 || word.back() != ':') return std::string_view();
  word.remove_suffix(1);
  const size_t bracket = word.find('[');
  if (bracket != std::string_view::npos && word.back() == ']') word = word.substr(0, bracket);
  return word;
}

}  // namespace

ServerLogLine ServerLogReader::Read(std::string_view line) {
  ServerLogLine out;
  size_t pos = 0;
  bool syslogStyle = true;
  int month = 0, day = 0, hour = 0, minute = 0, second = 0;
  if (TraditionalStamp(line, pos, &month, &day, &hour, &minute, &second)) {
    // The year that puts the line nearest the one before: back by up to two months (an earlier
    // file given after a later one), else forward (the next year where the month goes back).
    long long at = CivilSeconds(year_, month, day, hour, minute, second);
    if (lastSeconds_ != kNoStamp) {
      if (at >= lastSeconds_) {
        const long long before = CivilSeconds(year_ - 1, month, day, hour, minute, second);
        if (lastSeconds_ - before <= kEarlierFileReach) --year_, at = before;
      } else if (lastSeconds_ - at > kEarlierFileReach) {
        at = CivilSeconds(++year_, month, day, hour, minute, second);
      }
      if (at < lastSeconds_) ++stepsBack_;
    }
    lastSeconds_ = at;
    lastKey_ = KeyOfSeconds(at);
  } else if (!IsoStamp(line, pos, &lastKey_, &syslogStyle)) {
    out.timeKey = lastKey_;
    out.message = line;
    return out;
  }
  out.timeKey = lastKey_;
  if (syslogStyle) {
    // "host prog[pid]: message", or "prog[pid]: message" in dnsmasq's own log file.
    size_t at = pos;
    for (int word = 0; word < 2; ++word) {
      const std::string_view program = ProgramTag(NextWord(line, at));
      if (!program.empty()) {
        out.program = program;
        pos = at;
        break;
      }
    }
  }
  SkipBlanks(line, pos);
  out.message = line.substr(pos);
  return out;
}

std::string_view NextWord(std::string_view text, size_t& pos) {
  SkipBlanks(text, pos);
  const size_t begin = pos;
  while (pos < text.size() && text[pos] != ' ' && text[pos] != '\t') ++pos;
  return text.substr(begin, pos - begin);
}

size_t FindWordStart(std::string_view text, std::string_view word) {
  for (size_t at = text.find(word); at != std::string_view::npos; at = text.find(word, at + 1)) {
    if (at == 0 || text[at - 1] == ' ' || text[at - 1] == '\t') return at;
  }
  return std::string_view::npos;
}

bool IsDottedIpv4(std::string_view text) {
  int dots = 0;
  for (char c : text) {
    if (c == '.') {
      ++dots;
    } else if (c < '0' || c > '9') {
      return false;
    }
  }
  return dots == 3;
}

LogReading ReadGrantingLines(std::string_view text, const GrantingLineRule& rule) {
  LogReading reading;
  if (text.find(rule.marker) == std::string_view::npos) {
    reading.lines = CountTextLines(text);
    return reading;
  }
  ServerLogReader log;
  reading.lines = ForEachTextLine(text, [&](std::string_view line, size_t number) {
    if (line.find(rule.marker) == std::string_view::npos) return;
    const ServerLogLine parts = log.Read(line);
    if (!parts.program.empty()) {
      const bool named = rule.wholeProgramName
                             ? parts.program == rule.programPrefix
                             : parts.program.substr(0, rule.programPrefix.size()) == rule.programPrefix;
      if (!named) return;
    }
    std::string_view mac;
    if (!rule.macOf(parts.message, &mac)) return;
    LogEntry entry;
    entry.mac = std::string(mac);
    entry.timeKey = parts.timeKey;
    entry.line = number;
    reading.entries.push_back(std::move(entry));
  });
  reading.stepsBack = log.StepsBack();
  return reading;
}
