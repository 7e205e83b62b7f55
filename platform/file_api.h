// Files and paths: own program path, existence tests, deletion, whole-file reading and writing,
// replacing one file by another.
#pragma once

#include <string>

class FileApi {
 public:
  virtual ~FileApi() = default;

  // GetModuleFileNameA for the running program: its full path.
  virtual std::string ModulePath() = 0;

  // GetFileAttributesA says the path exists and is not a directory.
  virtual bool IsExistingFile(const std::string& path) = 0;

  // GetFileAttributesA says the path exists and is a directory.
  virtual bool IsExistingDirectory(const std::string& path) = 0;

  // DeleteFileA.
  virtual bool DeleteFile(const std::string& path) = 0;

  // MoveFileExA(path, no new name, MOVEFILE_DELAY_UNTIL_REBOOT).
  virtual bool DeleteAtNextStart(const std::string& path) = 0;

  // GetTempPathA, as Windows returns it.
  virtual std::string TempPath() = 0;

  // Reads the whole file as bytes; false when it cannot be opened or read.
  virtual bool ReadWholeFile(const std::string& path, std::string* bytes) = 0;

  // Creates or overwrites the file with bytes and flushes it to the disk; false unless every
  // byte was written.
  virtual bool WriteWholeFile(const std::string& path, const std::string& bytes) = 0;

  // Puts the file from in the place of to in one step, replacing a file there:
  // MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH), so to is either
  // the old file or all of from; where that call is not implemented (Windows 9x) DeleteFileA(to),
  // then MoveFileA. A directory at to is never removed; false when from did not take its place.
  virtual bool RenameReplacing(const std::string& from, const std::string& to) = 0;
};
