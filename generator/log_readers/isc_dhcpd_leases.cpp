// ISC dhcpd.leases: the lease blocks with a hardware address, keyed by their start time.
#include <string>
#include <vector>

#include "generator/log_readers/lease_dates.h"
#include "generator/log_readers/log_readers.h"
#include "generator/log_readers/mac_text.h"
#include "generator/log_readers/text_lines.h"

namespace {

// The file is read statement by statement: words up to ";", "{" or "}", with quoted strings
// (a uid may hold any byte, escaped) and "#" comments to the end of the line skipped; a run of
// NULs is a line end.
class StatementScanner {
 public:
  explicit StatementScanner(std::string_view text) : text_(text) {}

  // Reads the next statement's words and its end character; false at the end of the text.
  bool Next(std::vector<std::string_view>* words, char* end, size_t* line) {
    words->clear();
    *line = 0;
    while (pos_ < text_.size()) {
      const char c = text_[pos_];
      if (c == '\n' || c == '\r' || c == '\0') {
        pos_ = PastLineEnd(text_, pos_);
        ++line_;
      } else if (c == ' ' || c == '\t') {
        ++pos_;
      } else if (c == '#') {
        while (pos_ < text_.size() && text_[pos_] != '\n' && text_[pos_] != '\r' &&
               text_[pos_] != '\0') {
          ++pos_;
        }
      } else if (c == ';' || c == '{' || c == '}') {
        ++pos_;
        *end = c;
        if (*line == 0) *line = line_;
        return true;
      } else {
        if (*line == 0) *line = line_;
        words->push_back(Word());
      }
    }
    *end = '\0';
    return !words->empty();
  }

 private:
  std::string_view Word() {
    const size_t begin = pos_;
    if (text_[pos_] == '"') {
      ++pos_;
      while (pos_ < text_.size() && text_[pos_] != '"') {
        if (text_[pos_] == '\\') ++pos_;
        if (pos_ < text_.size() && text_[pos_] == '\n') ++line_;
        ++pos_;
      }
      if (pos_ < text_.size()) ++pos_;
      return text_.substr(begin, pos_ - begin);
    }
    while (pos_ < text_.size()) {
      const char c = text_[pos_];
      if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\0' || c == ';' || c == '{' ||
          c == '}' || c == '"' || c == '#') {
        break;
      }
      ++pos_;
    }
    return text_.substr(begin, pos_ - begin);
  }

  std::string_view text_;
  size_t pos_ = 0;
  size_t line_ = 1;
};

// "starts 4 2026/12/03 08:15:02" or "starts epoch 1764749702": the 14-digit key, or empty.
std::string StartsKey(const std::vector<std::string_view>& words) {
  std::string key;
  long long seconds = 0;
  if (words.size() >= 3 && words[1] == "epoch") {
    if (ReadEpochSeconds(words[2], &seconds) && EpochTimeKey(seconds, &key)) return key;
    return std::string();
  }
  if (words.size() >= 4) {
    key = LeaseTimeKey(std::string(words[2]) + " " + std::string(words[3]), 0);
    if (key.size() == 14) return key;
  }
  return std::string();
}

}  // namespace

LogReading ReadIscDhcpdLeases(std::string_view text) {
  LogReading reading;
  reading.entries.reserve(text.size() / 200);
  StatementScanner scanner(text);
  std::vector<std::string_view> words;
  char end = '\0';
  size_t line = 0;
  int depth = 0;
  bool inLease = false;
  std::string starts, mac;
  size_t macLine = 0;
  while (scanner.Next(&words, &end, &line)) {
    if (end == '{') {
      if (depth == 0) {
        inLease = words.size() >= 2 && words[0] == "lease";
        starts.clear();
        mac.clear();
        macLine = 0;
      }
      ++depth;
    } else if (end == '}') {
      if (depth > 0) --depth;
      if (depth == 0 && inLease && macLine != 0) {
        LogEntry entry;
        if (!NormalizeMacText(mac, &entry.mac)) entry.mac = mac;
        entry.line = macLine;
        entry.timeKey = starts.empty() ? std::string(kUndatedKey) : starts;
        reading.entries.push_back(std::move(entry));
      }
      if (depth == 0) inLease = false;
    } else if (inLease && depth == 1 && !words.empty()) {
      if (words[0] == "starts") {
        starts = StartsKey(words);
      } else if (words[0] == "hardware" && words.size() >= 3 && words[1] == "ethernet") {
        mac = std::string(words[2]);
        macLine = line;
      }
    }
  }
  reading.lines = ForEachTextLine(text, [](std::string_view, size_t) {});
  return reading;
}
