// FakeFileApi: whole files held as byte strings keyed by their exact path.
#include "tests/fakes/fake_file_api.h"

std::string FakeFileApi::ModulePath() {
  log_.Add("ModulePath()");
  return modulePath;
}

bool FakeFileApi::IsExistingFile(const std::string& path) {
  log_.Add("IsExistingFile(" + path + ")");
  return files.count(path) != 0 && directories.count(path) == 0;
}

bool FakeFileApi::DeleteFile(const std::string& path) {
  log_.Add("DeleteFile(" + path + ")");
  if (failingDeletes.count(path) != 0 || files.count(path) == 0) return false;
  files.erase(path);
  return true;
}

bool FakeFileApi::IsExistingDirectory(const std::string& path) {
  log_.Add("IsExistingDirectory(" + path + ")");
  return directories.count(path) != 0;
}

bool FakeFileApi::DeleteAtNextStart(const std::string& path) {
  log_.Add("DeleteAtNextStart(" + path + ")");
  return true;
}

std::string FakeFileApi::TempPath() {
  log_.Add("TempPath()");
  return tempPath;
}

bool FakeFileApi::ReadWholeFile(const std::string& path, std::string* bytes) {
  log_.Add("ReadWholeFile(" + path + ")");
  auto found = files.find(path);
  if (found == files.end()) return false;
  *bytes = found->second;
  return true;
}

bool FakeFileApi::WriteWholeFile(const std::string& path, const std::string& bytes) {
  log_.Add("WriteWholeFile(" + path + ", " + std::to_string(bytes.size()) + ")");
  written.push_back(path);
  if (!CanWrite(path)) return false;
  auto shortened = shortWrites.find(path);
  if (shortened != shortWrites.end() && shortened->second < bytes.size()) {
    files[path] = bytes.substr(0, shortened->second);
    return false;
  }
  files[path] = bytes;
  return true;
}

bool FakeFileApi::RenameReplacing(const std::string& from, const std::string& to) {
  log_.Add("RenameReplacing(" + from + ", " + to + ")");
  if (files.count(from) == 0 || failingRenames.count(to) != 0 || !CanWrite(to)) return false;
  files[to] = files[from];
  files.erase(from);
  return true;
}

std::string FakeFileApi::Get(const std::string& path) const {
  auto found = files.find(path);
  return found == files.end() ? std::string() : found->second;
}

bool FakeFileApi::CanWrite(const std::string& path) const {
  if (failingWrites.count(path) != 0 || directories.count(path) != 0) return false;
  const size_t slash = path.rfind('\\');
  const std::string directory = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  return missingDirectories.count(directory) == 0;
}
