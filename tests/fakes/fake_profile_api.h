// FakeProfileApi: records the profile-string calls and runs them on PortableProfileApi over
// the INI texts held by a FakeFileApi.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/portable/portable_profile.h"
#include "platform/profile_api.h"
#include "tests/fakes/call_log.h"
#include "tests/fakes/fake_file_api.h"
#include "tests/scratch_directory.h"

// Each call copies the file's bytes from the FakeFileApi into a scratch file, lets the portable
// emulation (the one held to Windows' behaviour) read or change it, and copies a written file
// back; so a deleted or fetched file is seen at once, and a write the FakeFileApi refuses fails.
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

 private:
  std::string Mirror(const std::string& path);  // the scratch file holding path's bytes

  CallLog& log_;
  FakeFileApi& files_;
  std::unique_ptr<ScratchDirectory> scratch_;  // made at the first call: most tests make none
  PortableProfileApi portable_{false};
};
