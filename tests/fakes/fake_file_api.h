// FakeFileApi: an in-memory file system (exact path bytes as keys) with scripted failures.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/file_api.h"
#include "tests/fakes/call_log.h"

// Log entries: "ModulePath()", "IsExistingFile(<path>)", "DeleteFile(<path>)",
// "DeleteAtNextStart(<path>)", "TempPath()", "ReadWholeFile(<path>)",
// "WriteWholeFile(<path>, <byte count>)", "RenameReplacing(<from>, <to>)",
// "IsExistingDirectory(<path>)".
class FakeFileApi : public FileApi {
 public:
  explicit FakeFileApi(CallLog& log) : log_(log) {}

  std::string ModulePath() override;
  bool IsExistingFile(const std::string& path) override;
  bool IsExistingDirectory(const std::string& path) override;
  bool DeleteFile(const std::string& path) override;
  bool DeleteAtNextStart(const std::string& path) override;
  std::string TempPath() override;
  bool ReadWholeFile(const std::string& path, std::string* bytes) override;
  bool WriteWholeFile(const std::string& path, const std::string& bytes) override;
  bool RenameReplacing(const std::string& from, const std::string& to) override;

  // Test set-up and inspection; none of these is logged.
  void Put(const std::string& path, const std::string& bytes) { files[path] = bytes; }
  bool Has(const std::string& path) const { return files.count(path) != 0; }
  std::string Get(const std::string& path) const;
  // Whether a write to path may go ahead (its directory exists, it is not scripted to fail).
  bool CanWrite(const std::string& path) const;

  std::string modulePath = "C:\\Tolvik\\Tolvik.exe";
  std::string tempPath = "C:\\TEMP\\";

  std::map<std::string, std::string> files;      // path -> bytes
  std::set<std::string> directories;             // paths that are directories (no trailing "\")
  // Directories that do not exist: a write to a path directly inside one (the text up to and
  // including the last "\" equals the entry) fails and leaves no file.
  std::set<std::string> missingDirectories;
  std::set<std::string> failingWrites;           // these paths cannot be written at all
  // Writes to these paths store only the first N bytes and report failure (a full disk).
  std::map<std::string, size_t> shortWrites;
  std::set<std::string> failingDeletes;          // DeleteFile fails, the file stays
  std::set<std::string> failingRenames;          // RenameReplacing to these paths fails (read-only)

  std::vector<std::string> written;              // paths WriteWholeFile was asked to write

 private:
  CallLog& log_;
};
