// DHCP log import: lines, rule T, rule W, time keys and the import into the list rows.
#include "generator/log_import.h"

#include <algorithm>

#include "common/text_rules.h"
#include "generator/generator_texts.h"

namespace {

// Calls visit(line) for each line of text as CutLogLines cuts it, without copying the text.
template <class Visit>
void ForEachLine(std::string_view text, Visit visit) {
  size_t end = text.find('\0');
  if (end != std::string_view::npos) text = text.substr(0, end);
  size_t pos = 0;
  while (pos < text.size()) {
    size_t cr = text.find('\r', pos);
    if (cr == std::string_view::npos) {
      visit(text.substr(pos));
      return;
    }
    visit(text.substr(pos, cr - pos));
    pos = cr + 1;
    if (pos < text.size() && text[pos] == '\n') ++pos;
  }
}

// Removes the first `times` occurrences of c, scanning once (a line may be a megabyte long).
void RemoveFirst(std::string& text, char c, int times) {
  size_t out = 0;
  for (size_t in = 0; in < text.size(); ++in) {
    if (times > 0 && text[in] == c) {
      --times;
      continue;
    }
    text[out++] = text[in];
  }
  text.resize(out);
}

// Characters from `first` (0-based), at most count of them; nothing when the text is shorter.
std::string_view Chars(std::string_view text, size_t first, size_t count) {
  if (first >= text.size()) return std::string_view();
  return text.substr(first, count);
}

bool IsDigit(std::string_view text, size_t pos) {
  return pos < text.size() && text[pos] >= '0' && text[pos] <= '9';
}

// Reads the decimal number at pos. Returns 0 when there is none, 1 when it has at most
// maxDigits digits, 2 when it has more (a month of "123", or the year of "12/5/2026" read as a
// day), which is no number of the pattern.
int ReadDigits(std::string_view text, size_t& pos, size_t maxDigits, int* value) {
  size_t begin = pos;
  int result = 0;
  while (IsDigit(text, pos) && pos - begin < maxDigits) {
    result = result * 10 + (text[pos] - '0');
    ++pos;
  }
  *value = result;
  if (pos == begin) return 0;
  return IsDigit(text, pos) ? 2 : 1;
}

bool ReadSeparator(std::string_view text, size_t& pos, char a, char b) {
  if (pos < text.size() && (text[pos] == a || text[pos] == b)) {
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

// Field 5 of a lease list line cut at tabs (or commas): the text after the fourth separator up
// to the fifth one or the line's end, and field 3 the same way.
void CutFields(std::string_view line, char separator, std::string_view* field3,
               std::string_view* field5) {
  *field3 = std::string_view();
  *field5 = std::string_view();
  size_t begin = 0;
  for (int field = 1; field <= 5; ++field) {
    size_t end = line.find(separator, begin);
    std::string_view text =
        line.substr(begin, end == std::string_view::npos ? std::string_view::npos : end - begin);
    if (field == 3) *field3 = text;
    if (field == 5) *field5 = text;
    if (end == std::string_view::npos) return;
    begin = end + 1;
  }
}

// Rule W for one line after the heading: false for an empty line; otherwise the entry, whose
// MAC text may be empty. position counts the entries before it.
bool ReadLeaseLine(std::string_view line, size_t position, bool cutAtCommas, LogEntry* entry) {
  if (line.empty()) return false;
  char separator = '\t';
  if (cutAtCommas && line.find('\t') == std::string_view::npos) separator = ',';
  std::string_view date;
  std::string_view mac;
  CutFields(line, separator, &date, &mac);
  entry->mac = UpperAscii(std::string(mac));
  entry->timeKey = LeaseTimeKey(date, position);
  return true;
}

// Rule T or rule W over a text, handing each entry (empty MAC texts included) to sink.
template <class Sink>
void CollectEntries(std::string_view text, LogFormat format, bool cutAtCommas, Sink sink) {
  bool heading = true;
  size_t position = 0;
  ForEachLine(text, [&](std::string_view line) {
    LogEntry entry;
    if (format == LogFormat::Tftpd32) {
      if (ReadTftpdLine(line, &entry)) sink(std::move(entry));
    } else if (heading) {
      heading = false;
    } else if (ReadLeaseLine(line, position, cutAtCommas, &entry)) {
      ++position;
      sink(std::move(entry));
    }
  });
}

// Appends one row per entry with a MAC text: the time key in the sequence cell for now.
void AppendRows(std::string_view text, LogFormat format, bool cutAtCommas, ListModel& model) {
  CollectEntries(text, format, cutAtCommas, [&](LogEntry&& entry) {
    if (entry.mac.empty()) return;
    ListRow row;
    row.cells[kColumnSequence] = std::move(entry.timeKey);
    row.cells[kColumnMac] = std::move(entry.mac);
    model.rows.push_back(std::move(row));
  });
}

bool HasUtf16ByteOrderMark(const std::string& bytes) {
  return bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE';
}

// The bytes after the mark as little-endian UTF-16 units (an odd last byte is no unit),
// converted to the ANSI code page.
std::string ConvertUtf16Le(const std::string& bytes, CodePageApi& codePage) {
  std::u16string units;
  units.reserve((bytes.size() - 2) / 2);
  for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
    unsigned low = static_cast<unsigned char>(bytes[i]);
    unsigned high = static_cast<unsigned char>(bytes[i + 1]);
    units.push_back(static_cast<char16_t>(low | (high << 8)));
  }
  return codePage.Utf16ToAnsi(units);
}

}  // namespace

std::vector<std::string> CutLogLines(const std::string& bytes) {
  std::vector<std::string> lines;
  ForEachLine(bytes, [&](std::string_view line) { lines.emplace_back(line); });
  return lines;
}

bool ReadTftpdLine(std::string_view line, LogEntry* entry) {
  if (line.find(generator_texts::kTftpdReceivedMarker) == std::string_view::npos) return false;
  size_t mac = line.find(generator_texts::kTftpdMacMarker);
  std::string_view from = mac == std::string_view::npos ? line : line.substr(mac);
  // "Mac" and the character after it.
  std::string text(Chars(from, 4, std::string_view::npos));
  RemoveFirst(text, ':', 5);
  size_t space = text.find(' ');
  entry->mac = UpperAscii(text.substr(0, space));
  std::string rest = space == std::string::npos ? std::string() : text.substr(space + 1);
  RemoveFirst(rest, '[', 1);
  RemoveFirst(rest, ']', 1);
  // Day and month stand as DD/MM: the key reads month, day, then the time.
  std::string key;
  key.append(Chars(rest, 3, 2));
  key.append(Chars(rest, 0, 2));
  key.append(Chars(rest, 6, std::string_view::npos));
  RemoveFirst(key, ':', 3);
  RemoveFirst(key, '.', 1);
  entry->timeKey = std::move(key);
  return true;
}

std::string LeaseTimeKey(std::string_view text, size_t position) {
  // Parts are read in order; the first that is missing or out of pattern ends the reading and
  // it and all parts after it count as zero.
  int parts[6] = {0, 0, 0, 0, 0, 0};
  const size_t maxDigits[6] = {4, 2, 2, 2, 2, 2};
  bool tooLong = false;
  size_t pos = 0;
  for (int i = 0; i < 6; ++i) {
    if (i == 1 || i == 2) {
      if (!ReadSeparator(text, pos, '-', '/')) break;
    } else if (i == 3) {
      if (!ReadSeparator(text, pos, ' ', ' ')) break;
    } else if (i > 3) {
      if (!ReadSeparator(text, pos, ':', ':')) break;
    }
    int read = ReadDigits(text, pos, maxDigits[i], &parts[i]);
    if (read == 0) break;
    if (read == 2) {
      tooLong = true;
      break;
    }
  }
  int year = parts[0], month = parts[1], day = parts[2];
  int hour = parts[3], minute = parts[4], second = parts[5];
  bool valid = !tooLong && year >= 1 && month >= 1 && month <= 12 && day >= 1 &&
               day <= DaysInMonth(year, month) && hour <= 23 && minute <= 59 && second <= 59;
  if (!valid) return "99999999999999" + ZeroPad(static_cast<long long>(position), 10);
  // Every part is in range here, so each fills exactly its width.
  char key[14];
  const int widths[6] = {4, 2, 2, 2, 2, 2};
  size_t at = sizeof key;
  for (int i = 5; i >= 0; --i) {
    for (int digit = 0, value = parts[i]; digit < widths[i]; ++digit, value /= 10) {
      key[--at] = static_cast<char>('0' + value % 10);
    }
  }
  return std::string(key, sizeof key);
}

std::vector<LogEntry> CollectTftpdEntries(const std::vector<std::string>& lines) {
  std::vector<LogEntry> entries;
  for (const std::string& line : lines) {
    LogEntry entry;
    if (ReadTftpdLine(line, &entry)) entries.push_back(std::move(entry));
  }
  return entries;
}

std::vector<LogEntry> CollectWindowsDhcpEntries(const std::vector<std::string>& lines,
                                                bool cutAtCommas) {
  std::vector<LogEntry> entries;
  for (size_t i = 1; i < lines.size(); ++i) {
    LogEntry entry;
    if (ReadLeaseLine(lines[i], entries.size(), cutAtCommas, &entry)) {
      entries.push_back(std::move(entry));
    }
  }
  return entries;
}

bool ImportLogBytes(const std::string& bytes, LogFormat format, ListModel& model,
                    CollationApi& collation, CodePageApi& codePage) {
  model.rows.clear();
  AppendRows(bytes, format, false, model);
  if (model.rows.empty()) {
    bool utf16 = HasUtf16ByteOrderMark(bytes);
    if (utf16) {
      AppendRows(ConvertUtf16Le(bytes, codePage), format,
                 format == LogFormat::WindowsDhcpServer, model);
    } else if (format == LogFormat::WindowsDhcpServer) {
      AppendRows(bytes, format, true, model);
    }
  }

  model.direction = SortDirection::Ascending;
  SortRows(model, kColumnMac, true, collation);
  // One row per MAC text: a row whose MAC text equals the one above it goes. The sort is
  // stable, so the row that stays is the machine's first entry in the log.
  auto last = std::unique(model.rows.begin(), model.rows.end(),
                          [](const ListRow& above, const ListRow& row) {
                            return above.cells[kColumnMac] == row.cells[kColumnMac];
                          });
  model.rows.erase(last, model.rows.end());
  SortRows(model, kColumnSequence, true, collation);
  for (size_t i = 0; i < model.rows.size(); ++i) {
    model.rows[i].cells[kColumnSequence] = ZeroPad(static_cast<long long>(i + 1), 3);
  }
  return !model.rows.empty();
}

bool ImportLogBytes(const std::string& bytes, LogFormat format, ListModel& model,
                    CollationApi& collation) {
  return ImportLogBytes(bytes, format, model, collation, SystemCodePageApi());
}
