// The mac.ini list file: Brevane's key-by-key save and Tolvik's reading rules.
#include "common/list_file.h"

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

}  // namespace

void WriteListFile(ProfileApi& profile, FileApi& files, const std::string& path,
                   const ListFields& fields, const std::vector<ListEntry>& rows) {
  // A directory of that name stays; the outcome of deleting a file is not examined.
  if (files.IsExistingFile(path)) files.DeleteFile(path);

  profile.WriteString("Config", "Gateway", TrimText(fields.gateway), path);
  profile.WriteString("Config", "Gwmetric", TrimText(fields.metric), path);
  profile.WriteString("Config", "Mask", TrimText(fields.mask), path);
  profile.WriteString("Config", "DNS1", TrimText(fields.dns1), path);
  profile.WriteString("Config", "DNS2", TrimText(fields.dns2), path);

  // Whether a membership is written depends on the text as typed: a name of spaces only
  // still gives a line, with an empty value.
  if (fields.membership == MembershipChoice::Workgroup && !fields.workgroup.empty()) {
    profile.WriteString("Config", "WorkGroup", TrimText(fields.workgroup), path);
  } else if (fields.membership == MembershipChoice::Domain && !fields.domain.empty()) {
    profile.WriteString("Config", "Domain", TrimText(fields.domain), path);
    profile.WriteString("Config", "Username", TrimText(fields.username), path);
    profile.WriteString("Config", "password", TrimText(fields.password), path);
  }

  // The section comes into being with its first line; a repeated MAC text replaces the value
  // of the earlier line in place.
  for (const ListEntry& row : rows) {
    profile.WriteString("list", row.Mac, row.Ip + "," + row.ComputerName, path);
  }
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
  content.lines = ReadWholeSection(profile, "list", path);
  return content;
}

std::string ReadListValue(ProfileApi& profile, const std::string& path, const std::string& mac) {
  return profile.GetString("list", mac, "", path, kValueBufferSize);
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
