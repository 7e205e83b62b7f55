// FakeProfileApi: the three profile-string functions over the INI texts held by a FakeFileApi.
#pragma once

#include <string>
#include <vector>

#include "platform/profile_api.h"
#include "tests/fakes/call_log.h"
#include "tests/fakes/fake_file_api.h"

// A simple model of the Windows profile functions, enough for the logic's tests: lines end in
// LF or CR LF; "[name]" opens a section; "key=value" lines, key and value trimmed of spaces and
// tabs, one pair of enclosing double or single quotes removed from the value; section and key
// names compare without regard to ASCII case; the first matching line wins. Files live in the
// FakeFileApi, so a deleted or fetched file is seen at once.
// Log entries: "GetString(<section>, <key>, <path>)", "GetSection(<section>, <path>)",
// "WriteString(<section>, <key>, <value>, <path>)".
class FakeProfileApi : public ProfileApi {
 public:
  FakeProfileApi(CallLog& log, FakeFileApi& files) : log_(log), files_(files) {}

  std::string GetString(const std::string& section, const std::string& key,
                        const std::string& defaultValue, const std::string& path,
                        uint32_t bufferSize = 4096) override;
  uint32_t GetSection(const std::string& section, std::vector<char>* buffer,
                      const std::string& path) override;
  bool WriteString(const std::string& section, const std::string& key, const std::string& value,
                   const std::string& path) override;

  struct Write {
    std::string section, key, value, path;
  };
  std::vector<Write> writes;  // every WriteString call, successful or not

 private:
  CallLog& log_;
  FakeFileApi& files_;
};
