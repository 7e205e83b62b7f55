// PortableFileApi: existence tests, deletion and whole-file input and output over std::filesystem.
#include "platform/portable/portable_files.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <utility>

namespace fs = std::filesystem;

PortableFileApi::PortableFileApi(std::string modulePath) : modulePath_(std::move(modulePath)) {}

std::string PortableFileApi::ModulePath() { return modulePath_; }

bool PortableFileApi::IsExistingFile(const std::string& path) {
  std::error_code error;
  fs::file_status status = fs::status(fs::path(path), error);
  return fs::exists(status) && !fs::is_directory(status);
}

bool PortableFileApi::DeleteFile(const std::string& path) {
  // DeleteFileA never removes a directory; std::filesystem::remove would remove an empty one.
  if (!IsExistingFile(path)) return false;
  std::error_code error;
  return fs::remove(fs::path(path), error);
}

bool PortableFileApi::IsExistingDirectory(const std::string& path) {
  std::error_code error;
  return fs::is_directory(fs::path(path), error);
}

bool PortableFileApi::DeleteAtNextStart(const std::string& path) {
  std::error_code error;
  if (!fs::exists(fs::path(path), error)) return false;
  pendingDeletions_.push_back(path);
  return true;
}

std::string PortableFileApi::TempPath() {
  std::error_code error;
  fs::path temp = fs::temp_directory_path(error);
  if (error) return std::string();
  std::string text = temp.string();
  // GetTempPathA ends its answer with the separator.
  char separator = static_cast<char>(fs::path::preferred_separator);
  if (text.empty() || (text.back() != separator && text.back() != '/')) text += separator;
  return text;
}

bool PortableFileApi::ReadWholeFile(const std::string& path, std::string* bytes) {
  std::error_code error;
  if (!fs::is_regular_file(fs::path(path), error)) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::string read((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return false;
  *bytes = std::move(read);
  return true;
}

bool PortableFileApi::WriteWholeFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.flush();
  out.close();
  return !out.fail();
}

bool PortableFileApi::RenameReplacing(const std::string& from, const std::string& to) {
  // rename() would replace an empty directory on POSIX; MoveFileExA never does.
  if (IsExistingDirectory(to) || !IsExistingFile(from)) return false;
  std::error_code error;
  fs::rename(fs::path(from), fs::path(to), error);
  return !error;
}
