// The list reader outside Windows: the portable profile rules over the file parsed once.
#include "tools/maclist/list_reader.h"

#include "common/text_rules.h"
#include "platform/portable/portable_profile.h"

namespace {

class ParsedProfileReader : public ProfileApi {
 public:
  ParsedProfileReader(const std::string& path, const std::string& bytes)
      : path_(path), text_(ParseProfileText(bytes)) {}

  std::string GetString(const std::string& section, const std::string& key,
                        const std::string& defaultValue, const std::string& path,
                        uint32_t bufferSize) override {
    if (path != path_) return SystemProfileApi().GetString(section, key, defaultValue, path, bufferSize);
    return ReadProfileString(text_, section, key, defaultValue, bufferSize);
  }
  uint32_t GetSection(const std::string& section, std::vector<char>* buffer,
                      const std::string& path) override {
    if (path != path_) return SystemProfileApi().GetSection(section, buffer, path);
    return ReadProfileSection(text_, section, buffer);
  }
  // The check reads only; a write goes to the file as it would anywhere else.
  bool WriteString(const std::string& section, const std::string& key, const std::string& value,
                   const std::string& path) override {
    return SystemProfileApi().WriteString(section, key, value, path);
  }

 private:
  const std::string path_;
  const ProfileText text_;
};

}  // namespace

std::unique_ptr<ProfileApi> MakeListReader(const std::string& path, const std::string& bytes) {
  return std::make_unique<ParsedProfileReader>(path, bytes);
}
