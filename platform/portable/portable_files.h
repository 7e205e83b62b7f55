// PortableFileApi: file operations with the C++ standard library only (works in every build).
#pragma once

#include <string>
#include <vector>

#include "platform/file_api.h"

class PortableFileApi : public FileApi {
 public:
  // modulePath is what ModulePath reports as the running program's full path.
  explicit PortableFileApi(std::string modulePath);

  std::string ModulePath() override;
  bool IsExistingFile(const std::string& path) override;
  bool IsExistingDirectory(const std::string& path) override;
  bool DeleteFile(const std::string& path) override;
  // There is no next start here: the path is only noted (see PendingDeletions) when it names
  // an existing file, as Windows accepts the request only for a path it can find.
  bool DeleteAtNextStart(const std::string& path) override;
  std::string TempPath() override;
  bool ReadWholeFile(const std::string& path, std::string* bytes) override;
  bool WriteWholeFile(const std::string& path, const std::string& bytes) override;
  bool RenameReplacing(const std::string& from, const std::string& to) override;

  const std::vector<std::string>& PendingDeletions() const { return pendingDeletions_; }

 private:
  std::string modulePath_;
  std::vector<std::string> pendingDeletions_;
};
