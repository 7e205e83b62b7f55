// Cutting a log's text into numbered lines: at CR, as Brevane reads Windows-made logs, or at any
// line end, for the lease files of Linux servers.
#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

// The text up to its first NUL, which ends every log text.
inline std::string_view TextBeforeNul(std::string_view text) {
  const size_t end = text.find('\0');
  return end == std::string_view::npos ? text : text.substr(0, end);
}

// visit(line, number) for each line ending at CR: CR LF is one line end, a lone LF stays inside
// its line. Numbers count from 1. A text ending with a line end has no empty line after it.
template <class Visit>
size_t ForEachCrLine(std::string_view text, Visit visit) {
  text = TextBeforeNul(text);
  size_t pos = 0;
  size_t number = 0;
  while (pos < text.size()) {
    const size_t cr = text.find('\r', pos);
    if (cr == std::string_view::npos) {
      visit(text.substr(pos), ++number);
      break;
    }
    visit(text.substr(pos, cr - pos), ++number);
    pos = cr + 1;
    if (pos < text.size() && text[pos] == '\n') ++pos;
  }
  return number;
}

// The same with CR LF, LF and CR each ending a line, as files written on any system do.
template <class Visit>
size_t ForEachTextLine(std::string_view text, Visit visit) {
  text = TextBeforeNul(text);
  const char* const data = text.data();
  const size_t size = text.size();
  size_t pos = 0;
  size_t number = 0;
  while (pos < size) {
    size_t end = pos;
    while (end < size && data[end] != '\n' && data[end] != '\r') ++end;
    visit(text.substr(pos, end - pos), ++number);
    if (end < size && data[end] == '\r' && end + 1 < size && data[end + 1] == '\n') ++end;
    pos = end + 1;
  }
  return number;
}

// The number of lines ForEachTextLine visits, counted with memchr: for a reader that finds its
// marker nowhere in a large file.
inline size_t CountTextLines(std::string_view text) {
  text = TextBeforeNul(text);
  const char* const begin = text.data();
  const char* const end = begin + text.size();
  size_t ends = 0;
  for (const char* p = begin; (p = static_cast<const char*>(std::memchr(p, '\n', end - p))); ++p) {
    ++ends;
  }
  for (const char* p = begin; (p = static_cast<const char*>(std::memchr(p, '\r', end - p))); ++p) {
    if (p + 1 == end || p[1] != '\n') ++ends;  // CR LF is one line end, counted at its LF
  }
  const bool lastEnded = !text.empty() && (text.back() == '\n' || text.back() == '\r');
  return ends + (text.empty() || lastEnded ? 0 : 1);
}

// Characters with a code below 33 removed at both ends, as TrimText does, without copying.
inline std::string_view TrimView(std::string_view text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && static_cast<unsigned char>(text[begin]) < 33) ++begin;
  while (end > begin && static_cast<unsigned char>(text[end - 1]) < 33) --end;
  return text.substr(begin, end - begin);
}
