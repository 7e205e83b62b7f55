// maclist's own file handling outside Windows: the standard library.
#include <filesystem>
#include <system_error>

#include "platform/portable/portable_files.h"
#include "tools/maclist/system_files.h"

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

std::string DirectoryPart(const std::string& fullPath) {
  const size_t slash = fullPath.rfind('/');
  return slash == std::string::npos ? std::string() : fullPath.substr(0, slash + 1);
}

bool IsDirectoryPath(const std::string& path) {
  std::error_code code;
  return fs::is_directory(fs::path(path), code);
}

bool MoveReplacing(const std::string& from, const std::string& to) {
  std::error_code code;
  fs::rename(fs::path(from), fs::path(to), code);
  return !code;
}
