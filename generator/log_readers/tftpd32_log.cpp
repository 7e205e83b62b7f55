// TFTPD32 log: the "Rcvd DHCP" lines read one by one.
#include <string>

#include "common/text_rules.h"
#include "generator/generator_texts.h"
#include "generator/log_readers/log_readers.h"
#include "generator/log_readers/text_lines.h"

namespace {

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

}  // namespace

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

LogReading ReadTftpdLog(std::string_view text) {
  LogReading reading;
  reading.lines = ForEachCrLine(text, [&](std::string_view line, size_t number) {
    LogEntry entry;
    if (!ReadTftpdLine(line, &entry)) return;
    entry.line = number;
    reading.entries.push_back(std::move(entry));
  });
  return reading;
}
