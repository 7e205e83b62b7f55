// FakeProfileApi: the FakeFileApi's bytes go through PortableProfileApi on a scratch file.
#include "tests/fakes/fake_profile_api.h"

#include <filesystem>

std::string FakeProfileApi::Mirror(const std::string& path) {
  if (!scratch_) scratch_ = std::make_unique<ScratchDirectory>("profile");
  const std::string mirror = scratch_->Path("profile.ini");
  if (files_.Has(path)) {
    scratch_->WriteFile("profile.ini", files_.Get(path));
  } else {
    std::error_code ignored;
    std::filesystem::remove(mirror, ignored);
  }
  return mirror;
}

std::string FakeProfileApi::GetString(const std::string& section, const std::string& key,
                                      const std::string& defaultValue, const std::string& path,
                                      uint32_t bufferSize) {
  log_.Add("GetString(" + section + ", " + key + ", " + path + ")");
  return portable_.GetString(section, key, defaultValue, Mirror(path), bufferSize);
}

uint32_t FakeProfileApi::GetSection(const std::string& section, std::vector<char>* buffer,
                                    const std::string& path) {
  log_.Add("GetSection(" + section + ", " + path + ")");
  return portable_.GetSection(section, buffer, Mirror(path));
}

bool FakeProfileApi::WriteString(const std::string& section, const std::string& key,
                                 const std::string& value, const std::string& path) {
  log_.Add("WriteString(" + section + ", " + key + ", " + value + ", " + path + ")");
  if (!files_.CanWrite(path)) return false;
  if (!portable_.WriteString(section, key, value, Mirror(path))) return false;
  files_.files[path] = scratch_->ReadFile("profile.ini");
  return true;
}
