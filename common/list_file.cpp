// The mac.ini list file: Brevane's save (composed text, atomic replace) and Tolvik's reading rules.
#include "common/list_file.h"

#include <unordered_map>
#include <utility>

#include "common/text_rules.h"

namespace {

constexpr uint32_t kValueBufferSize = 4096;
constexpr uint32_t kFirstSectionBufferSize = 32767;
// A section larger than this is left cut; no list of machines comes near it.
constexpr uint32_t kLargestSectionBufferSize = 1u << 30;

std::string ReadValue(ProfileApi& profile, const std::string& path, const char* section,
                      const char* key, const char* defaultValue) {
  return profile.GetString(section, key, defaultValue, path, kValueBufferSize);
}

// One key of the save: section, key and value as handed to WritePrivateProfileStringA.
struct ProfileWrite {
  const char* section;
  std::string key;
  std::string value;
};

// The save's writes in order. Whether a membership is written depends on the text as typed: a
// name of spaces only still gives a line, with an empty value.
std::vector<ProfileWrite> SaveWrites(const ListFields& fields, const std::vector<ListEntry>& rows) {
  std::vector<ProfileWrite> writes;
  writes.reserve(rows.size() + 8);
  writes.push_back({"Config", "Gateway", TrimText(fields.gateway)});
  writes.push_back({"Config", "Gwmetric", TrimText(fields.metric)});
  writes.push_back({"Config", "Mask", TrimText(fields.mask)});
  writes.push_back({"Config", "DNS1", TrimText(fields.dns1)});
  writes.push_back({"Config", "DNS2", TrimText(fields.dns2)});
  if (fields.membership == MembershipChoice::Workgroup && !fields.workgroup.empty()) {
    writes.push_back({"Config", "WorkGroup", TrimText(fields.workgroup)});
  } else if (fields.membership == MembershipChoice::Domain && !fields.domain.empty()) {
    writes.push_back({"Config", "Domain", TrimText(fields.domain)});
    writes.push_back({"Config", "Username", TrimText(fields.username)});
    writes.push_back({"Config", "password", TrimText(fields.password)});
  }
  if (!TrimText(fields.report).empty()) {
    writes.push_back({"Config", "report", TrimText(fields.report)});
  }
  for (const ListEntry& row : rows) {
    writes.push_back({"list", row.Mac, row.Ip + "," + row.ComputerName});
  }
  return writes;
}

// Blanks the profile functions drop around names and values (SUB, 0x1A, among them).
bool IsProfileBlank(unsigned char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == 0x1A;
}

// Text that every profile function keeps byte for byte: no control byte (which covers line
// breaks, NUL and the blanks), no DEL, and only whole GBK characters, a lead byte 0x81..0xFE
// followed by a trail byte 0x40..0x7E or 0x80..0xFE. Anything else goes through the code page
// conversion in ways not pinned down here.
bool IsSteadyText(const std::string& text) {
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c < 0x20 || c == 0x7F || c == 0x80 || c == 0xFF) return false;
    if (c >= 0x81) {
      if (i + 1 >= text.size()) return false;
      const unsigned char t = static_cast<unsigned char>(text[i + 1]);
      if (!((t >= 0x40 && t <= 0x7E) || (t >= 0x80 && t <= 0xFE))) return false;
      ++i;
    }
  }
  return true;
}

// A key whose line reads back as that key: printable ASCII only (Windows folds the case of other
// letters by rules of its own), not empty, no "=" (the line would split there), not starting
// with "[" (a section header) or ";" (a comment to some readers), no blank at either end.
bool IsPlainKey(const std::string& key) {
  if (key.empty() || key[0] == '[' || key[0] == ';') return false;
  for (char c : key) {
    if (c < 0x21 || c > 0x7E || c == '=') return false;
  }
  return true;
}

}  // namespace

bool ComposeListText(const ListFields& fields, const std::vector<ListEntry>& rows,
                     std::string* text) {
  // Each write of Windows reads the file, changes it and writes it whole: a new section goes at
  // the end, a new key at the end of its section, a known key (ASCII case folded) keeps its
  // line and place and takes the new value. The value loses its leading blanks. Values with
  // trailing blanks are not composed: Wine keeps them on the line just written and drops them
  // when it next reads the file, and where its cache lets that happen is not certain.
  const std::vector<ProfileWrite> writes = SaveWrites(fields, rows);
  struct Section {
    std::string name;
    std::vector<std::pair<std::string, std::string>> lines;
    std::unordered_map<std::string, size_t> lineOfKey;
  };
  std::vector<Section> sections;
  for (const ProfileWrite& write : writes) {
    size_t begin = 0;
    while (begin < write.value.size() &&
           IsProfileBlank(static_cast<unsigned char>(write.value[begin]))) {
      ++begin;
    }
    const std::string value = write.value.substr(begin);
    if (!IsPlainKey(write.key) || !IsSteadyText(value)) return false;
    if (!value.empty() && value.back() == ' ') return false;
    Section* section = nullptr;
    for (Section& known : sections) {
      if (EqualsIgnoringAsciiCase(known.name, write.section)) section = &known;
    }
    if (!section) {
      sections.push_back(Section{write.section, {}, {}});
      section = &sections.back();
    }
    auto found = section->lineOfKey.emplace(UpperAscii(write.key), section->lines.size());
    if (found.second) {
      section->lines.emplace_back(write.key, value);
    } else {
      section->lines[found.first->second].second = value;
    }
  }

  std::string out;
  size_t size = 0;
  for (const Section& section : sections) {
    size += section.name.size() + 4;
    for (const auto& line : section.lines) size += line.first.size() + line.second.size() + 3;
  }
  out.reserve(size);
  for (const Section& section : sections) {
    out += "[" + section.name + "]\r\n";
    for (const auto& line : section.lines) {
      out += line.first;
      out += '=';
      out += line.second;
      out += "\r\n";
    }
  }
  text->swap(out);
  return true;
}

bool WriteListKeyByKey(ProfileApi& profile, const std::string& path, const ListFields& fields,
                       const std::vector<ListEntry>& rows) {
  for (const ProfileWrite& write : SaveWrites(fields, rows)) {
    if (!profile.WriteString(write.section, write.key, write.value, path)) return false;
  }
  return true;
}

SaveProblem WriteListFile(ProfileApi& profile, FileApi& files, const std::string& path,
                          const ListFields& fields, const std::vector<ListEntry>& rows) {
  const std::string temporary = path + kTemporarySuffix;
  if (temporary.size() > kMaxPathLength) return SaveProblem::PathTooLong;
  // The rename would refuse a directory anyway; asking first names the real reason.
  if (files.IsExistingDirectory(path)) return SaveProblem::TargetIsDirectory;

  std::string text;
  if (!ComposeListText(fields, rows, &text)) {
    // Texts that cannot be composed for certain are written by the profile functions
    // themselves, into a fresh temporary file, and then rewritten whole so they are flushed.
    if (files.IsExistingFile(temporary) && !files.DeleteFile(temporary)) {
      return SaveProblem::TemporaryNotCreated;
    }
    const bool written = WriteListKeyByKey(profile, temporary, fields, rows);
    if (!written || !files.ReadWholeFile(temporary, &text)) {
      const bool created = files.IsExistingFile(temporary);
      files.DeleteFile(temporary);
      return created ? SaveProblem::WriteFailed : SaveProblem::TemporaryNotCreated;
    }
  }
  if (!files.WriteWholeFile(temporary, text)) {
    const bool created = files.IsExistingFile(temporary);
    files.DeleteFile(temporary);
    return created ? SaveProblem::WriteFailed : SaveProblem::TemporaryNotCreated;
  }
  if (!files.RenameReplacing(temporary, path)) {
    files.DeleteFile(temporary);
    return SaveProblem::ReplaceRefused;
  }
  return SaveProblem::None;
}

ListFileContent ReadListFile(ProfileApi& profile, const std::string& path) {
  ListFileContent content;
  ListSettings& s = content.settings;
  s.Mask = ReadValue(profile, path, "config", "mask", "255.255.255.0");
  s.Gateway = ReadValue(profile, path, "config", "gateway", "");
  s.Gwmetric = ReadValue(profile, path, "config", "gwmetric", "1");
  s.Domain = ReadValue(profile, path, "config", "domain", "");
  s.DNS1 = UpperAscii(ReadValue(profile, path, "config", "dns1", ""));
  s.DNS2 = ReadValue(profile, path, "config", "dns2", "");
  s.WorkGroup = ReadValue(profile, path, "config", "workgroup", "");
  s.Username = ReadValue(profile, path, "config", "username", "");
  s.password = ReadValue(profile, path, "config", "password", "");
  s.report = ReadValue(profile, path, "config", "report", "");
  content.lines = ReadWholeSection(profile, "list", path);
  return content;
}

std::string ReadListValue(ProfileApi& profile, const std::string& path, const std::string& mac) {
  return profile.GetString("list", mac, "", path, kValueBufferSize);
}

std::string ReadJoinPassword(ProfileApi& profile, const std::string& path, const std::string& mac) {
  return profile.GetString(kJoinSection, mac, "", path, kValueBufferSize);
}

void SplitEntryValue(const std::string& value, std::string* ip, std::string* computerName) {
  size_t comma = value.find(',');
  if (comma == std::string::npos) {
    *ip = UpperAscii(value);
    computerName->clear();
    return;
  }
  *ip = UpperAscii(value.substr(0, comma));
  *computerName = value.substr(comma + 1);
}

std::vector<std::string> ReadWholeSection(ProfileApi& profile, const std::string& section,
                                          const std::string& path) {
  // The section function answers size - 2 when the lines did not fit; a fixed buffer would
  // silently lose every line past its end, so read again with twice the room.
  std::vector<char> buffer;
  uint32_t size = kFirstSectionBufferSize;
  uint32_t copied = 0;
  for (;;) {
    buffer.assign(size, '\0');
    copied = profile.GetSection(section, &buffer, path);
    if (copied != size - 2 || size >= kLargestSectionBufferSize) break;
    size = size > kLargestSectionBufferSize / 2 ? kLargestSectionBufferSize : size * 2;
  }

  std::vector<std::string> lines;
  size_t end = copied < buffer.size() ? copied : buffer.size();
  size_t begin = 0;
  while (begin < end) {
    size_t nul = begin;
    while (nul < end && buffer[nul] != '\0') ++nul;
    if (nul == begin) break;  // the closing NUL of the section
    lines.emplace_back(buffer.data() + begin, nul - begin);
    begin = nul + 1;
  }
  return lines;
}
