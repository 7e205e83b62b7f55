// Cutting a log's text into numbered lines: at CR, as Brevane reads Windows-made logs, or at any
// line end, for the lease files of Linux servers. A run of NUL bytes (what a file system leaves
// of the blocks a crash did not write) ends a line too, and reading goes on after it.
#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

// Where the line end at pos ends: CR LF is one line end, and so is a run of NULs. NULs right
// after a line end belong to it, so that the lines are numbered as an editor shows them.
inline size_t PastLineEnd(std::string_view text, size_t pos) {
  if (text[pos] == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n') ++pos;
  while (pos + 1 < text.size() && text[pos + 1] == '\0') ++pos;
  return pos + 1;
}

// visit(line, number) for each line ending at CR: CR LF is one line end, a lone LF stays inside
// its line. Numbers count from 1. A text ending with a line end has no empty line after it.
template <class Visit>
size_t ForEachCrLine(std::string_view text, Visit visit) {
  size_t pos = 0;
  size_t number = 0;
  while (pos < text.size()) {
    size_t end = pos;
    while (end < text.size() && text[end] != '\r' && text[end] != '\0') ++end;
    visit(text.substr(pos, end - pos), ++number);
    if (end == text.size()) break;
    pos = PastLineEnd(text, end);
  }
  return number;
}

// The same with CR LF, LF and CR each ending a line, as files written on any system do.
template <class Visit>
size_t ForEachTextLine(std::string_view text, Visit visit) {
  const char* const data = text.data();
  const size_t size = text.size();
  size_t pos = 0;
  size_t number = 0;
  while (pos < size) {
    size_t end = pos;
    while (end < size && data[end] != '\n' && data[end] != '\r' && data[end] != '\0') ++end;
    visit(text.substr(pos, end - pos), ++number);
    if (end == size) break;
    pos = PastLineEnd(text, end);
  }
  return number;
}

// The number of lines ForEachTextLine visits, counted with memchr: for a reader that finds its
// marker nowhere in a large file.
inline size_t CountTextLines(std::string_view text) {
  const char* const begin = text.data();
  const char* const end = begin + text.size();
  size_t ends = 0;
  for (const char* p = begin; (p = static_cast<const char*>(std::memchr(p, '\n', end - p))); ++p) {
    ++ends;
  }
  for (const char* p = begin; (p = static_cast<const char*>(std::memchr(p, '\r', end - p))); ++p) {
    if (p + 1 == end || p[1] != '\n') ++ends;  // CR LF is one line end, counted at its LF
  }
  for (const char* p = begin; (p = static_cast<const char*>(std::memchr(p, '\0', end - p)));) {
    // A run of NULs is one line end, unless it follows one.
    if (p == begin || (p[-1] != '\n' && p[-1] != '\r')) ++ends;
    while (p < end && *p == '\0') ++p;
  }
  const bool lastEnded = !text.empty() && (text.back() == '\n' || text.back() == '\r' ||
                                           text.back() == '\0');
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
