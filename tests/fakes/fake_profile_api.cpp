// FakeProfileApi: parses the INI text anew at every call, so it always sees the current bytes.
#include "tests/fakes/fake_profile_api.h"

#include "common/text_rules.h"

namespace {

struct Line {
  std::string text;   // trimmed of spaces and tabs
  size_t begin = 0;   // offset of the line in the file
  size_t end = 0;     // offset just past its line break
};

std::string TrimBlanks(const std::string& text) {
  size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return std::string();
  size_t last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

std::vector<Line> SplitLines(const std::string& bytes) {
  std::vector<Line> lines;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t newline = bytes.find('\n', start);
    size_t stop = newline == std::string::npos ? bytes.size() : newline;
    Line line;
    line.text = TrimBlanks(bytes.substr(start, stop - start));
    line.begin = start;
    line.end = newline == std::string::npos ? bytes.size() : newline + 1;
    lines.push_back(line);
    start = line.end;
  }
  return lines;
}

bool IsSectionHeader(const std::string& text, std::string* name) {
  if (text.empty() || text[0] != '[') return false;
  size_t close = text.find(']');
  *name = TrimBlanks(text.substr(1, close == std::string::npos ? std::string::npos : close - 1));
  return true;
}

bool SplitKeyValue(const std::string& text, std::string* key, std::string* value) {
  size_t equals = text.find('=');
  if (equals == std::string::npos) return false;
  *key = TrimBlanks(text.substr(0, equals));
  *value = TrimBlanks(text.substr(equals + 1));
  return true;
}

std::string Unquote(const std::string& value) {
  if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0]) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

// Lines of the first section named section: indexes [first, last) into lines, and the index of
// its header; false when there is no such section.
bool FindSection(const std::vector<Line>& lines, const std::string& section, size_t* header,
                 size_t* first, size_t* last) {
  std::string name;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (!IsSectionHeader(lines[i].text, &name) || !EqualsIgnoringAsciiCase(name, section)) continue;
    *header = i;
    *first = i + 1;
    size_t j = i + 1;
    while (j < lines.size() && !IsSectionHeader(lines[j].text, &name)) ++j;
    *last = j;
    return true;
  }
  return false;
}

}  // namespace

std::string FakeProfileApi::GetString(const std::string& section, const std::string& key,
                                      const std::string& defaultValue, const std::string& path,
                                      uint32_t bufferSize) {
  log_.Add("GetString(" + section + ", " + key + ", " + path + ")");
  std::string result = defaultValue;
  auto file = files_.files.find(path);
  if (file != files_.files.end()) {
    std::vector<Line> lines = SplitLines(file->second);
    size_t header, first, last;
    if (FindSection(lines, section, &header, &first, &last)) {
      for (size_t i = first; i < last; ++i) {
        std::string lineKey, value;
        if (SplitKeyValue(lines[i].text, &lineKey, &value) && EqualsIgnoringAsciiCase(lineKey, key)) {
          result = Unquote(value);
          break;
        }
      }
    }
  }
  if (bufferSize == 0) return std::string();
  if (result.size() > bufferSize - 1) result.resize(bufferSize - 1);
  return result;
}

uint32_t FakeProfileApi::GetSection(const std::string& section, std::vector<char>* buffer,
                                    const std::string& path) {
  log_.Add("GetSection(" + section + ", " + path + ")");
  std::string data;
  auto file = files_.files.find(path);
  if (file != files_.files.end()) {
    std::vector<Line> lines = SplitLines(file->second);
    size_t header, first, last;
    if (FindSection(lines, section, &header, &first, &last)) {
      for (size_t i = first; i < last; ++i) {
        if (lines[i].text.empty() || lines[i].text[0] == ';') continue;
        data += lines[i].text;
        data += '\0';
      }
    }
  }
  const size_t size = buffer->size();
  if (size < 2) {
    if (size == 1) (*buffer)[0] = '\0';
    return 0;
  }
  if (data.size() + 1 <= size) {
    std::copy(data.begin(), data.end(), buffer->begin());
    (*buffer)[data.size()] = '\0';
    return static_cast<uint32_t>(data.size());
  }
  std::copy(data.begin(), data.begin() + (size - 2), buffer->begin());
  (*buffer)[size - 2] = '\0';
  (*buffer)[size - 1] = '\0';
  return static_cast<uint32_t>(size - 2);
}

bool FakeProfileApi::WriteString(const std::string& section, const std::string& key,
                                 const std::string& value, const std::string& path) {
  log_.Add("WriteString(" + section + ", " + key + ", " + value + ", " + path + ")");
  writes.push_back({section, key, value, path});
  if (!files_.CanWrite(path)) return false;
  std::string bytes = files_.Get(path);
  const std::string newLine = key + "=" + value + "\r\n";
  std::vector<Line> lines = SplitLines(bytes);
  size_t header, first, last;
  if (!FindSection(lines, section, &header, &first, &last)) {
    if (!bytes.empty() && bytes.back() != '\n') bytes += "\r\n";
    bytes += "[" + section + "]\r\n" + newLine;
  } else {
    bool replaced = false;
    for (size_t i = first; i < last && !replaced; ++i) {
      std::string lineKey, oldValue;
      if (SplitKeyValue(lines[i].text, &lineKey, &oldValue) && EqualsIgnoringAsciiCase(lineKey, key)) {
        bytes.replace(lines[i].begin, lines[i].end - lines[i].begin, newLine);
        replaced = true;
      }
    }
    if (!replaced) {
      // After the section's last non-empty line.
      size_t after = lines[header].end;
      for (size_t i = first; i < last; ++i) {
        if (!lines[i].text.empty()) after = lines[i].end;
      }
      std::string insert = newLine;
      if (after > 0 && bytes[after - 1] != '\n') insert = "\r\n" + insert;
      bytes.insert(after, insert);
    }
  }
  files_.files[path] = bytes;
  return true;
}
