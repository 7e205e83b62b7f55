// FileApi on Windows: module path, attributes, deletion, delayed deletion and whole-file I/O.
#pragma once

#include "platform/file_api.h"

class Win32FileApi : public FileApi {
 public:
  std::string ModulePath() override;
  bool IsExistingFile(const std::string& path) override;
  bool IsExistingDirectory(const std::string& path) override;
  bool DeleteFile(const std::string& path) override;
  bool DeleteAtNextStart(const std::string& path) override;
  std::string TempPath() override;
  bool ReadWholeFile(const std::string& path, std::string* bytes) override;
  bool WriteWholeFile(const std::string& path, const std::string& bytes) override;
  bool RenameReplacing(const std::string& from, const std::string& to) override;
};
