// PortableProfileApi: parsing, lookup and write-through of profile files.
//
// How Windows treats profile text, as measured against Wine 8 running with code page 936:
// - The file is converted from the ANSI code page first. A GBK lead byte (0x81..0xFE) takes
//   the next byte with it; when that byte is no valid trail byte (0x40..0x7E, 0x80..0xFE) the
//   pair reads as one "?". A lead byte before a NUL or at the end of the file reads as "?".
//   A file that starts with the UTF-8 mark keeps the mark when rewritten.
// - Lines end at every CR and every LF. Spaces, tabs, VT, FF and SUB (0x1A) around names
//   and values are dropped; other control characters and the full-width space are not.
//   A line that is empty after that is forgotten.
// - "[" up to the last "]" of the line is a section header; the name is trimmed, and text
//   after "]" is ignored. "[" without "]" is an ordinary key line. A "]" (or a letter) that
//   is the second byte of a double-byte character is part of that character.
// - A key line splits at its first "="; without "=" the whole line is a key without value.
//   A line whose key part is empty is dropped when the line before it in the section also
//   has an empty key. A NUL ends a name or value: the rest of that line is lost.
// - Only the first section of a name counts, and in it the first key of a name; names
//   compare with single-byte ASCII letters folded only.
// - Every write reads the file, changes it and writes it out whole, so a rewrite also tidies
//   the lines it did not touch. The written section, key and value lose their leading spaces
//   only; trailing spaces stay until the file is read (and rewritten) again.
#include "platform/portable/portable_profile.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <utility>

namespace {

// Wine counts SUB (0x1A) among the blanks, besides space, tab, LF, VT, FF and CR.
bool IsProfileSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == '\x1A';
}

bool IsLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

bool IsTrailByte(unsigned char c) { return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFE); }

// Upper-cases the ASCII letters that stand as characters of their own; the second byte of
// a double-byte character keeps its value even where it looks like a letter.
std::string FoldName(const std::string& text) {
  std::string folded = text;
  for (size_t i = 0; i < folded.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(folded[i]);
    if (IsLeadByte(c) && i + 1 < folded.size()) {
      ++i;
    } else if (c >= 'a' && c <= 'z') {
      folded[i] = static_cast<char>(c - 'a' + 'A');
    }
  }
  return folded;
}

bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    unsigned char ca = static_cast<unsigned char>(a[i]);
    unsigned char cb = static_cast<unsigned char>(b[i]);
    if (IsLeadByte(ca) && i + 1 < a.size()) {
      if (ca != cb || a[i + 1] != b[i + 1]) return false;
      ++i;
      continue;
    }
    if (ca >= 'a' && ca <= 'z') ca = static_cast<unsigned char>(ca - 'a' + 'A');
    if (cb >= 'a' && cb <= 'z') cb = static_cast<unsigned char>(cb - 'a' + 'A');
    if (ca != cb) return false;
  }
  return true;
}

// The position of the last "]" that is a character of its own, or npos.
size_t LastClosingBracket(const std::string& line) {
  size_t found = std::string::npos;
  for (size_t i = 0; i < line.size(); ++i) {
    if (IsLeadByte(static_cast<unsigned char>(line[i])) && i + 1 < line.size()) {
      ++i;
    } else if (line[i] == ']') {
      found = i;
    }
  }
  return found;
}

// What a round trip through code page 936 makes of bytes. Arguments end at their first NUL
// and lose a lead byte at their very end; file text keeps NULs and shows such a byte as "?".
// lostLineEnds, when given, receives the position in the result of each "?" that swallowed a
// line end of the file (an LF, or a CR that no LF follows) before a further line, so lines can
// still be counted.
std::string ThroughCodePage(const std::string& bytes, bool argument,
                            std::vector<size_t>* lostLineEnds = nullptr) {
  std::string in = argument ? std::string(bytes.c_str()) : bytes;
  std::string out;
  out.reserve(in.size());
  size_t i = 0;
  while (i < in.size()) {
    unsigned char c = static_cast<unsigned char>(in[i]);
    if (!IsLeadByte(c)) {
      out += in[i];
      ++i;
      continue;
    }
    if (i + 1 >= in.size()) {
      if (!argument) out += '?';
      ++i;
      continue;
    }
    unsigned char t = static_cast<unsigned char>(in[i + 1]);
    if (t == 0) {
      out += '?';
      ++i;
    } else if (IsTrailByte(t)) {
      out += in[i];
      out += in[i + 1];
      i += 2;
    } else {
      // A line end that something follows; one at the very end of the file joins nothing.
      const bool endsLine = i + 2 < in.size() && (t == '\n' || (t == '\r' && in[i + 2] != '\n'));
      if (lostLineEnds && endsLine) lostLineEnds->push_back(out.size());
      out += '?';
      i += 2;
    }
  }
  return out;
}

std::string TrimProfileSpaces(const std::string& text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && IsProfileSpace(text[begin])) ++begin;
  while (end > begin && IsProfileSpace(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

std::string SkipLeadingSpaces(const std::string& text) {
  size_t begin = 0;
  while (begin < text.size() && IsProfileSpace(text[begin])) ++begin;
  return text.substr(begin);
}

std::string UpToNul(const std::string& text) { return std::string(text.c_str()); }

// A value or default enclosed in a matching pair of quotation marks loses them.
std::string WithoutQuotes(const std::string& text) {
  if (text.size() >= 2 && (text[0] == '"' || text[0] == '\'') && text.back() == text[0]) {
    return text.substr(1, text.size() - 2);
  }
  return text;
}

// The default loses trailing blanks, though never its first character.
std::string TidyDefault(const std::string& text) {
  size_t end = text.size();
  while (end > 1 && text[end - 1] == ' ') --end;
  return WithoutQuotes(text.substr(0, end));
}

// At most limit bytes, never ending in the first byte of a double-byte character.
std::string CutToBytes(const std::string& text, size_t limit) {
  if (text.size() <= limit) return text;
  size_t i = 0;
  while (i < text.size()) {
    size_t length = (IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) ? 2 : 1;
    if (i + length > limit) break;
    i += length;
  }
  return text.substr(0, i);
}

// The C library's files rather than the C++ streams: maclist.exe links this file, and the
// streams would bring the whole locale machinery into it.
struct FileFacts {
  bool exists = false;
  bool regular = false;
  uintmax_t size = 0;
  int64_t modified = 0;  // nanoseconds where the C library tells them, whole seconds on Windows
};

FileFacts StatFile(const std::string& path) {
  FileFacts facts;
  struct stat info;
  if (stat(path.c_str(), &info) != 0) return facts;
  facts.exists = true;
  facts.regular = S_ISREG(info.st_mode);
  facts.size = static_cast<uintmax_t>(info.st_size);
#ifdef _WIN32
  facts.modified = static_cast<int64_t>(info.st_mtime);
#else
  facts.modified = static_cast<int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
#endif
  return facts;
}

// The file's bytes; false (and nothing) when it is missing, a directory or unreadable.
bool ReadFileBytes(const std::string& path, std::string* bytes) {
  if (!StatFile(path).regular) return false;
  FILE* in = std::fopen(path.c_str(), "rb");
  if (in == nullptr) return false;
  std::string read;
  char chunk[16384];
  size_t count;
  while ((count = std::fread(chunk, 1, sizeof chunk, in)) > 0) read.append(chunk, count);
  const bool failed = std::ferror(in) != 0;
  std::fclose(in);
  if (failed) return false;
  *bytes = std::move(read);
  return true;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes, bool append) {
  FILE* out = std::fopen(path.c_str(), append ? "ab" : "wb");
  if (out == nullptr) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
  return (std::fclose(out) == 0) && written;
}

template <typename Text>
auto FindSection(Text* text, const std::string& name) -> decltype(&text->sections[0]) {
  for (auto& section : text->sections) {
    if (SameName(section.name, name)) return &section;
  }
  return nullptr;
}

template <typename Section>
auto FindLine(Section* section, const std::string& name) -> decltype(&section->lines[0]) {
  for (auto& line : section->lines) {
    if (SameName(line.name, name)) return &line;
  }
  return nullptr;
}

// The first and the last 256 bytes of a file (all of it, twice, when it is shorter).
// Modification times can be whole seconds (the MinGW runtime), so size and time alone would
// miss another program's rewrite of the same length within that second; its first or last
// lines will almost always differ.
constexpr size_t kEndBytes = 256;

std::string HeadOf(const std::string& bytes) { return bytes.substr(0, kEndBytes); }

std::string TailOf(const std::string& bytes) {
  return bytes.size() <= kEndBytes ? bytes : bytes.substr(bytes.size() - kEndBytes);
}

bool ReadFileEnds(const std::string& path, uintmax_t size, std::string* head, std::string* tail) {
  FILE* in = std::fopen(path.c_str(), "rb");
  if (in == nullptr) return false;
  const size_t length = static_cast<size_t>(size < kEndBytes ? size : kEndBytes);
  head->assign(length, '\0');
  tail->assign(length, '\0');
  bool ok = std::fread(&(*head)[0], 1, length, in) == length &&
            std::fseek(in, static_cast<long>(size - length), SEEK_SET) == 0 &&
            std::fread(&(*tail)[0], 1, length, in) == length;
  std::fclose(in);
  return ok;
}

ProfileText LoadForRead(const std::string& path) {
  std::string bytes;
  if (!ReadFileBytes(path, &bytes)) return ParseProfileText(std::string());
  return ParseProfileText(bytes);
}

void AppendLineText(const ProfileLine& line, std::string* out) {
  *out += line.name;
  if (line.hasValue) {
    *out += '=';
    *out += line.value;
  }
  *out += "\r\n";
}

bool SameLine(const ProfileLine& a, const ProfileLine& b) {
  return a.name == b.name && a.hasValue == b.hasValue && a.value == b.value;
}

}  // namespace

ProfileText ParseProfileText(const std::string& bytes) {
  ProfileText result;
  result.sections.emplace_back();
  std::string text;
  std::vector<size_t> lostLineEnds;
  if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
    result.utf8Mark = true;
    text = bytes.substr(3);
  } else {
    text = ThroughCodePage(bytes, false, &lostLineEnds);
  }

  // Line numbers as an editor counts them: CR LF, a lone CR and a lone LF each end one line.
  size_t fileLine = 1;
  size_t nextLost = 0;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string::npos) end = text.size();
    size_t begin = pos;
    pos = end + 1;
    const size_t lineNumber = fileLine;
    size_t joined = 0;
    while (nextLost < lostLineEnds.size() && lostLineEnds[nextLost] < end) ++joined, ++nextLost;
    fileLine += joined;
    if (end < text.size() && (text[end] == '\n' || pos >= text.size() || text[pos] != '\n')) {
      ++fileLine;
    }
    while (begin < end && IsProfileSpace(text[begin])) ++begin;
    if (begin == end) continue;
    std::string line = text.substr(begin, end - begin);
    ProfileSectionText& current = result.sections.back();

    if (line[0] == '[') {
      size_t close = LastClosingBracket(line);
      if (close != std::string::npos && close > 0) {
        ProfileSectionText section;
        section.name = UpToNul(TrimProfileSpaces(line.substr(1, close - 1)));
        section.fileLine = lineNumber;
        section.joinedLines = joined;
        result.sections.push_back(std::move(section));
        continue;
      }
    }

    ProfileLine entry;
    entry.fileLine = lineNumber;
    entry.joinedLines = joined;
    size_t equals = line.find('=');
    if (equals == std::string::npos) {
      entry.name = UpToNul(TrimProfileSpaces(line));
    } else {
      std::string rawName = TrimProfileSpaces(line.substr(0, equals));
      if (rawName.empty() && !current.lines.empty() && current.lines.back().name.empty()) continue;
      entry.name = UpToNul(rawName);
      entry.hasValue = true;
      entry.value = UpToNul(TrimProfileSpaces(line.substr(equals + 1)));
    }
    current.lines.push_back(std::move(entry));
  }
  return result;
}

std::string SerializeProfileText(const ProfileText& text) {
  std::string out;
  if (text.utf8Mark) out += "\xEF\xBB\xBF";
  for (const ProfileSectionText& section : text.sections) {
    if (!section.name.empty()) out += "[" + section.name + "]\r\n";
    for (const ProfileLine& line : section.lines) AppendLineText(line, &out);
  }
  return out;
}

std::string ReadProfileString(const ProfileText& text, const std::string& section,
                              const std::string& key, const std::string& defaultValue,
                              uint32_t bufferSize) {
  if (bufferSize == 0) return std::string();
  std::string sectionName = TrimProfileSpaces(ThroughCodePage(section, true));
  std::string keyName = TrimProfileSpaces(ThroughCodePage(key, true));

  std::string result = TidyDefault(ThroughCodePage(defaultValue, true));
  if (const ProfileSectionText* found = FindSection(&text, sectionName)) {
    const ProfileLine* line = FindLine(found, keyName);
    if (line && line->hasValue) result = WithoutQuotes(line->value);
  }
  return CutToBytes(result, bufferSize - 1);
}

uint32_t ReadProfileSection(const ProfileText& text, const std::string& section,
                            std::vector<char>* buffer) {
  const size_t size = buffer->size();
  if (size == 0) return 0;
  std::string sectionName = ThroughCodePage(section, true);

  // Lines without a name and comment lines are left out; the rest keep their spelling.
  std::string packed;
  if (const ProfileSectionText* found = FindSection(&text, sectionName)) {
    for (const ProfileLine& line : found->lines) {
      if (line.name.empty() && !line.hasValue) continue;
      if (!line.name.empty() && line.name[0] == ';') continue;
      packed += line.name;
      if (line.hasValue) packed += "=" + line.value;
      packed += '\0';
    }
  }

  char* out = buffer->data();
  if (packed.size() + 1 < size) {
    std::copy(packed.begin(), packed.end(), out);
    out[packed.size()] = '\0';
    if (packed.empty()) out[1] = '\0';
    return static_cast<uint32_t>(packed.size());
  }
  // Too small: as much as fits before two NULs, cut wherever that falls.
  if (size <= 2) {
    std::fill(out, out + size, '\0');
    return 0;
  }
  std::copy(packed.begin(), packed.begin() + static_cast<std::ptrdiff_t>(size - 2), out);
  out[size - 2] = '\0';
  out[size - 1] = '\0';
  return static_cast<uint32_t>(size - 2);
}

PortableProfileApi::PortableProfileApi(bool reuseLastWrite) : reuseLastWrite_(reuseLastWrite) {}

std::string PortableProfileApi::GetString(const std::string& section, const std::string& key,
                                          const std::string& defaultValue,
                                          const std::string& path, uint32_t bufferSize) {
  if (bufferSize == 0) return std::string();
  return ReadProfileString(LoadForRead(path), section, key, defaultValue, bufferSize);
}

uint32_t PortableProfileApi::GetSection(const std::string& section, std::vector<char>* buffer,
                                        const std::string& path) {
  if (buffer->empty()) return 0;
  return ReadProfileSection(LoadForRead(path), section, buffer);
}

bool PortableProfileApi::LoadForWrite(const std::string& path, ProfileText* text,
                                      KeyIndex* index, bool* bytesMatchText, std::string* head,
                                      std::string* tail) {
  const FileFacts facts = StatFile(path);
  if (facts.exists && !facts.regular) return false;
  if (!facts.exists) {
    last_.valid = false;
    *text = ParseProfileText(std::string());
    *bytesMatchText = true;
    head->clear();
    tail->clear();
    return true;
  }
  if (reuseLastWrite_ && last_.valid && last_.path == path) {
    std::string fileHead;
    std::string fileTail;
    if (facts.size == last_.size && facts.modified == last_.modified &&
        ReadFileEnds(path, facts.size, &fileHead, &fileTail) && fileHead == last_.head &&
        fileTail == last_.tail) {
      *text = std::move(last_.text);
      *index = std::move(last_.index);
      *head = std::move(fileHead);
      *tail = std::move(fileTail);
      last_.valid = false;
      *bytesMatchText = true;
      return true;
    }
  }
  last_.valid = false;
  std::string bytes;
  if (!ReadFileBytes(path, &bytes)) return false;
  *text = ParseProfileText(bytes);
  *bytesMatchText = bytes.empty();
  head->clear();
  tail->clear();
  return true;
}

void PortableProfileApi::Remember(const std::string& path, ProfileText text, KeyIndex index,
                                  std::string head, std::string tail) {
  last_.valid = false;
  if (!reuseLastWrite_) return;
  const FileFacts facts = StatFile(path);
  if (!facts.exists) return;
  last_.size = facts.size;
  last_.modified = facts.modified;
  last_.head = std::move(head);
  last_.tail = std::move(tail);
  last_.path = path;
  last_.text = std::move(text);
  last_.index = std::move(index);
  last_.valid = true;
}

bool PortableProfileApi::WriteString(const std::string& section, const std::string& key,
                                     const std::string& value, const std::string& path) {
  const std::string sectionName = SkipLeadingSpaces(ThroughCodePage(section, true));
  const std::string keyName = SkipLeadingSpaces(ThroughCodePage(key, true));
  ProfileLine written;
  written.name = keyName;
  written.hasValue = true;
  written.value = SkipLeadingSpaces(ThroughCodePage(value, true));

  // bytesMatchText: the file holds exactly what the parsed text would be written as, so
  // text added at the end of the parsed text can be appended to the file as it stands.
  ProfileText text;
  KeyIndex index;
  bool bytesMatchText = false;
  std::string head;
  std::string tail;
  if (!LoadForWrite(path, &text, &index, &bytesMatchText, &head, &tail)) return false;

  // Where the line goes: a new section at the end, a new last line of its section, or the
  // value of the line that has the key already.
  ProfileSectionText* target = FindSection(&text, TrimProfileSpaces(sectionName));
  std::string appended;
  bool appendsAtEnd = false;
  if (!target) {
    ProfileSectionText added;
    added.name = sectionName;
    added.lines.push_back(written);
    text.sections.push_back(std::move(added));
    appended = "[" + sectionName + "]\r\n";
    AppendLineText(written, &appended);
    appendsAtEnd = true;
  } else {
    // The last section is the one a save appends to: its keys are looked up in the index.
    const size_t sectionPos = static_cast<size_t>(target - text.sections.data());
    const bool lastSection = sectionPos + 1 == text.sections.size();
    ProfileLine* line = nullptr;
    if (lastSection) {
      if (index.section != sectionPos) {
        index.section = sectionPos;
        index.lines.clear();
        for (size_t i = 0; i < target->lines.size(); ++i) {
          index.lines.emplace(FoldName(target->lines[i].name), i);
        }
      }
      auto found = index.lines.find(FoldName(TrimProfileSpaces(keyName)));
      if (found != index.lines.end()) line = &target->lines[found->second];
    } else {
      line = FindLine(target, TrimProfileSpaces(keyName));
    }
    if (line) {
      line->hasValue = true;
      line->value = written.value;
    } else {
      target->lines.push_back(written);
      if (lastSection) index.lines.emplace(FoldName(written.name), target->lines.size() - 1);
      AppendLineText(written, &appended);
      appendsAtEnd = lastSection;
    }
  }

  if (appendsAtEnd && bytesMatchText) {
    if (!WriteFileBytes(path, appended, true)) {
      last_.valid = false;
      return false;
    }
    // The copy stays usable only if reading the appended text back gives what was added.
    ProfileText reread = ParseProfileText(appended);
    const ProfileSectionText& added = reread.sections.back();
    bool same = !keyName.empty() && added.lines.size() == 1 && SameLine(added.lines[0], written) &&
                (target ? reread.sections.size() == 1
                        : reread.sections.size() == 2 && added.name == sectionName);
    if (same) {
      Remember(path, std::move(text), std::move(index), HeadOf(head + appended),
               TailOf(tail + appended));
    } else {
      last_.valid = false;
    }
    return true;
  }

  std::string bytes = SerializeProfileText(text);
  if (!WriteFileBytes(path, bytes, false)) {
    last_.valid = false;
    return false;
  }
  // Text that reads back differently (trailing spaces, line breaks in a value) leaves no copy.
  ProfileText reread = ParseProfileText(bytes);
  if (SerializeProfileText(reread) == bytes) {
    Remember(path, std::move(reread), KeyIndex(), HeadOf(bytes), TailOf(bytes));
  } else {
    last_.valid = false;
  }
  return true;
}
