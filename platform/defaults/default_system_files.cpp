// SystemFiles, FullPath and FilesInDirectory outside Windows: the standard library.
#include <filesystem>
#include <system_error>

#include "platform/portable/portable_files.h"
#include "platform/system_files.h"

namespace fs = std::filesystem;

FileApi& SystemFiles() {
  static PortableFileApi files{std::string()};
  return files;
}

std::string FullPath(const std::string& path) {
  if (path.empty()) return std::string();
  std::error_code code;
  const fs::path full = fs::absolute(fs::path(path), code);
  return code ? std::string() : full.string();
}

bool FilesInDirectory(const std::string& directory, std::vector<std::string>* names) {
  names->clear();
  std::error_code code;
  fs::directory_iterator entries(fs::path(directory), code);
  if (code) return false;
  for (const fs::directory_entry& entry : entries) {
    if (entry.is_regular_file(code)) names->push_back(entry.path().filename().string());
  }
  return true;
}
