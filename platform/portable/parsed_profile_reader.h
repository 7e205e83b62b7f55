// ParsedProfileReader: the portable profile rules over one file's bytes, parsed once.
#pragma once

#include <string>

#include "platform/portable/portable_profile.h"
#include "platform/profile_api.h"

// Reads the profile strings of path from bytes, the file's content, parsed once: the same rules
// PortableProfileApi applies, without parsing the whole file again for every key read. Any
// other path, and every write, goes to the system's profile functions.
class ParsedProfileReader : public ProfileApi {
 public:
  ParsedProfileReader(const std::string& path, const std::string& bytes);

  std::string GetString(const std::string& section, const std::string& key,
                        const std::string& defaultValue, const std::string& path,
                        uint32_t bufferSize) override;
  uint32_t GetSection(const std::string& section, std::vector<char>* buffer,
                      const std::string& path) override;
  bool WriteString(const std::string& section, const std::string& key, const std::string& value,
                   const std::string& path) override;

 private:
  const std::string path_;
  const ProfileText text_;
};
