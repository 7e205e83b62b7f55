// ScratchDirectory: a fresh directory under the temporary directory, removed by the destructor.
#pragma once

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

class ScratchDirectory {
 public:
  // The label and a time stamp name the directory, so parallel test runs never share one.
  explicit ScratchDirectory(const std::string& label = "test",
                            const std::filesystem::path& base = std::filesystem::temp_directory_path()) {
    static int serial = 0;
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    root_ = base / ("tolvik-" + label + "-" + std::to_string(stamp) + "-" + std::to_string(++serial));
    std::filesystem::create_directories(root_);
  }
  ~ScratchDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;

  std::string Path(const std::string& fileName) const { return (root_ / fileName).string(); }

  // The file's bytes; "<missing>" or "<directory>" when there is no file of that name.
  std::string ReadFile(const std::string& fileName) const {
    std::error_code error;
    if (std::filesystem::is_directory(root_ / fileName, error)) return "<directory>";
    std::ifstream in(Path(fileName), std::ios::binary);
    if (!in) return "<missing>";
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  // Writes the file and returns its path.
  std::string WriteFile(const std::string& fileName, const std::string& bytes) const {
    std::ofstream out(Path(fileName), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return Path(fileName);
  }

  size_t EntryCount() const {
    size_t count = 0;
    for (auto it = std::filesystem::directory_iterator(root_);
         it != std::filesystem::directory_iterator(); ++it) {
      ++count;
    }
    return count;
  }

 private:
  std::filesystem::path root_;
};
