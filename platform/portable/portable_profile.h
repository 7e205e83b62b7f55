// PortableProfileApi: the three profile-string functions over real files, without Windows.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/profile_api.h"

// One line of a section as the profile functions see it: a key with or without "=" value.
struct ProfileLine {
  std::string name;
  bool hasValue = false;
  std::string value;
  // Where the line stands in the file read: its first line number (1-based), and how many
  // following lines of the file the code-page conversion joined to it (a lone GBK lead byte at
  // the end of a line takes the line end with it). Zero for lines not read from a file.
  size_t fileLine = 0;
  size_t joinedLines = 0;
};

struct ProfileSectionText {
  std::string name;
  std::vector<ProfileLine> lines;
  size_t fileLine = 0;  // the header's line number, as for ProfileLine
  size_t joinedLines = 0;
};

// A parsed profile file. sections[0] is the unnamed part before the first header; it always
// exists, so a later "[]" header can never be found by name.
struct ProfileText {
  bool utf8Mark = false;  // the file began with the UTF-8 byte-order mark, kept on rewriting
  std::vector<ProfileSectionText> sections;
};

// Reads profile text the way Windows does (as observed with Wine 8 and code page 936):
// lines end at CR or LF, blank lines vanish, spaces around names and values are dropped,
// a NUL ends the text of a name or value, malformed double-byte pairs read as "?".
ProfileText ParseProfileText(const std::string& bytes);

// The file bytes Windows writes for a parsed profile: CR LF line ends, no header for an
// unnamed section, a line without "=" for a key that had none.
std::string SerializeProfileText(const ProfileText& text);

// The two reads over text already parsed; PortableProfileApi parses the file and calls them.
std::string ReadProfileString(const ProfileText& text, const std::string& section,
                              const std::string& key, const std::string& defaultValue,
                              uint32_t bufferSize);
uint32_t ReadProfileSection(const ProfileText& text, const std::string& section,
                            std::vector<char>* buffer);

class PortableProfileApi : public ProfileApi {
 public:
  // reuseLastWrite keeps the parsed copy of the file this object wrote last, so that a key
  // appended at the end of the file costs one appended line instead of a rewrite. Turned off,
  // every write reads, changes and rewrites the whole file.
  explicit PortableProfileApi(bool reuseLastWrite = true);

  std::string GetString(const std::string& section, const std::string& key,
                        const std::string& defaultValue, const std::string& path,
                        uint32_t bufferSize = 4096) override;
  uint32_t GetSection(const std::string& section, std::vector<char>* buffer,
                      const std::string& path) override;
  bool WriteString(const std::string& section, const std::string& key, const std::string& value,
                   const std::string& path) override;

 private:
  // Where each key of one section stands (upper-cased name to its first line), so that a save
  // of thousands of keys does not search the section line by line for every key.
  struct KeyIndex {
    size_t section = static_cast<size_t>(-1);
    std::unordered_map<std::string, size_t> lines;
  };

  struct LastWrite {
    bool valid = false;
    std::string path;
    uintmax_t size = 0;
    int64_t modified = 0;
    std::string head;  // the first and the last bytes of the file as written
    std::string tail;
    ProfileText text;
    KeyIndex index;
  };

  bool LoadForWrite(const std::string& path, ProfileText* text, KeyIndex* index,
                    bool* bytesMatchText, std::string* head, std::string* tail);
  void Remember(const std::string& path, ProfileText text, KeyIndex index, std::string head,
                std::string tail);

  bool reuseLastWrite_;
  LastWrite last_;
};
