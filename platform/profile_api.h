// Profile-string operations (the three Windows INI functions both programs use).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class ProfileApi {
 public:
  virtual ~ProfileApi() = default;

  // GetPrivateProfileStringA with a buffer of bufferSize bytes: the value of the first line of
  // section whose key matches without case, or defaultValue; at most bufferSize - 1 bytes.
  virtual std::string GetString(const std::string& section, const std::string& key,
                                const std::string& defaultValue, const std::string& path,
                                uint32_t bufferSize = 4096) = 0;

  // GetPrivateProfileSectionA: fills buffer (its size is the size handed to Windows) with the
  // section's lines, each followed by a NUL, and one more NUL at the end; returns the count of
  // bytes copied, not counting the final NUL. A buffer that is too small gives size - 2.
  virtual uint32_t GetSection(const std::string& section, std::vector<char>* buffer,
                              const std::string& path) = 0;

  // WritePrivateProfileStringA: creates the file and section as needed, replaces the value of
  // an existing key in place or appends the line as the section's last line.
  virtual bool WriteString(const std::string& section, const std::string& key,
                           const std::string& value, const std::string& path) = 0;
};

// The implementation of this build: Windows' own functions on Windows, the portable one elsewhere.
ProfileApi& SystemProfileApi();

// A reader of one file whose bytes the caller has already read (the list check reads every key
// of a long list): Windows' own functions on Windows, which read the file as Tolvik does;
// elsewhere the portable rules over the bytes, parsed once (ParsedProfileReader).
std::unique_ptr<ProfileApi> SystemProfileReaderOf(const std::string& path, const std::string& bytes);
