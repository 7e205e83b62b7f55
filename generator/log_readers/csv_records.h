// Comma-separated records as PowerShell's Export-Csv and Kea write them.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "common/text_rules.h"
#include "generator/log_readers/text_lines.h"

// The index of the heading's column of that name (ASCII case and surrounding blanks ignored),
// kNoColumn when the heading has none.
constexpr size_t kNoColumn = static_cast<size_t>(-1);
inline size_t CsvColumnOf(const std::vector<std::string>& heading, const char* name) {
  for (size_t i = 0; i < heading.size(); ++i) {
    if (EqualsIgnoringAsciiCase(std::string(TrimView(heading[i])), name)) return i;
  }
  return kNoColumn;
}

// Calls visit(fields, line) for each record of text, until it returns false: fields cut at commas; a field that starts
// with '"' runs to the closing quote, "" standing for one quote, and may span line ends. Records
// end at CR LF, LF, CR or a run of NULs; an empty line is a record of one empty field. line
// counts from 1, as ForEachTextLine counts.
template <class Visit>
void ForEachCsvRecord(std::string_view text, Visit visit);

// Implementation below: a template, so that every reader's loop stays inline.
namespace csv_detail {
inline bool IsLineEnd(char c) { return c == '\r' || c == '\n' || c == '\0'; }
}  // namespace csv_detail

template <class Visit>
void ForEachCsvRecord(std::string_view text, Visit visit) {
  std::vector<std::string> fields;
  size_t pos = 0;
  size_t line = 1;
  const size_t size = text.size();
  auto endLine = [&](size_t& at) {
    at = PastLineEnd(text, at);
    ++line;
  };
  while (pos < size) {
    const size_t recordLine = line;
    fields.clear();
    for (;;) {
      std::string field;
      if (pos < size && text[pos] == '"') {
        ++pos;
        while (pos < size) {
          if (text[pos] == '"') {
            if (pos + 1 < size && text[pos + 1] == '"') {
              field.push_back('"');
              pos += 2;
              continue;
            }
            ++pos;
            break;
          }
          if (csv_detail::IsLineEnd(text[pos])) {
            const size_t before = pos;
            endLine(pos);
            field.append(text.substr(before, pos - before));
            continue;
          }
          field.push_back(text[pos++]);
        }
      }
      const size_t begin = pos;
      while (pos < size && text[pos] != ',' && !csv_detail::IsLineEnd(text[pos])) ++pos;
      field.append(text.substr(begin, pos - begin));
      fields.push_back(std::move(field));
      if (pos < size && text[pos] == ',') {
        ++pos;
        continue;
      }
      break;
    }
    if (!visit(fields, recordLine)) return;
    if (pos < size) endLine(pos);
  }
}
