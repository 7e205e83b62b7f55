// The list reader on Windows: Windows' own profile functions, as Tolvik reads the list.
#include "tools/maclist/list_reader.h"

namespace {

class SystemProfileReader : public ProfileApi {
 public:
  std::string GetString(const std::string& section, const std::string& key,
                        const std::string& defaultValue, const std::string& path,
                        uint32_t bufferSize) override {
    return SystemProfileApi().GetString(section, key, defaultValue, path, bufferSize);
  }
  uint32_t GetSection(const std::string& section, std::vector<char>* buffer,
                      const std::string& path) override {
    return SystemProfileApi().GetSection(section, buffer, path);
  }
  bool WriteString(const std::string& section, const std::string& key, const std::string& value,
                   const std::string& path) override {
    return SystemProfileApi().WriteString(section, key, value, path);
  }
};

}  // namespace

std::unique_ptr<ProfileApi> MakeListReader(const std::string&, const std::string&) {
  return std::make_unique<SystemProfileReader>();
}
