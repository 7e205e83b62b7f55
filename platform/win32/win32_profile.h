// Win32ProfileApi: the profile-string functions of Windows itself.
#pragma once

#include "platform/profile_api.h"

class Win32ProfileApi : public ProfileApi {
 public:
  std::string GetString(const std::string& section, const std::string& key,
                        const std::string& defaultValue, const std::string& path,
                        uint32_t bufferSize = 4096) override;
  uint32_t GetSection(const std::string& section, std::vector<char>* buffer,
                      const std::string& path) override;
  bool WriteString(const std::string& section, const std::string& key, const std::string& value,
                   const std::string& path) override;
};
