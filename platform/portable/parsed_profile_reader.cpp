// ParsedProfileReader: reads go to the parsed text, everything else to the system's functions.
#include "platform/portable/parsed_profile_reader.h"

ParsedProfileReader::ParsedProfileReader(const std::string& path, const std::string& bytes)
    : path_(path), text_(ParseProfileText(bytes)) {}

std::string ParsedProfileReader::GetString(const std::string& section, const std::string& key,
                                           const std::string& defaultValue,
                                           const std::string& path, uint32_t bufferSize) {
  if (path != path_) return SystemProfileApi().GetString(section, key, defaultValue, path, bufferSize);
  return ReadProfileString(text_, section, key, defaultValue, bufferSize);
}

uint32_t ParsedProfileReader::GetSection(const std::string& section, std::vector<char>* buffer,
                                         const std::string& path) {
  if (path != path_) return SystemProfileApi().GetSection(section, buffer, path);
  return ReadProfileSection(text_, section, buffer);
}

bool ParsedProfileReader::WriteString(const std::string& section, const std::string& key,
                                      const std::string& value, const std::string& path) {
  return SystemProfileApi().WriteString(section, key, value, path);
}
