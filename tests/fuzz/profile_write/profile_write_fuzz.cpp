// Fuzz target: the profile writer. A file and a run of writes (and of bytes appended by another
// program) go to two files: one through the writer that keeps its last parse, one through a
// writer that reads the whole file again for every write. After every step both files hold the
// same bytes.
#include <fcntl.h>
#include <fuzzer/FuzzedDataProvider.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "platform/portable/portable_profile.h"
#include "tests/fuzz/fuzz_check.h"

namespace fs = std::filesystem;

namespace {

// A directory of this process, removed when it exits.
struct ScratchDirectory {
  fs::path path;
  ~ScratchDirectory() {
    std::error_code ignored;
    fs::remove_all(path, ignored);
  }
};

const fs::path& Scratch() {
  static const ScratchDirectory dir{[] {
    // Memory-backed where there is one: every step writes and reads both files.
    std::error_code error;
    const fs::path base = fs::is_directory("/dev/shm", error) ? fs::path("/dev/shm")
                                                              : fs::temp_directory_path();
    fs::path path = base / ("fuzz-profile-write-" + std::to_string(getpid()));
    fs::create_directories(path);
    return path;
  }()};
  return dir.path;
}

// The file reads and writes of the target itself use plain system calls and a stack buffer:
// a stream's heap buffer, filled and faulted in anew under the address sanitizer, cost more
// than the writes checked.
std::string Bytes(const std::string& path) {
  std::string bytes;
  const int fd = open(path.c_str(), O_RDONLY);
  if (fd < 0) return bytes;
  char buffer[1024];
  ssize_t got;
  while ((got = read(fd, buffer, sizeof buffer)) > 0) bytes.append(buffer, static_cast<size_t>(got));
  close(fd);
  return bytes;
}

void Put(const std::string& path, const std::string& bytes, bool append) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | (append ? O_APPEND : O_TRUNC), 0644);
  if (fd < 0) return;
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t put = write(fd, bytes.data() + done, bytes.size() - done);
    if (put <= 0) break;
    done += static_cast<size_t>(put);
  }
  close(fd);
}

// One step of a run, written out only when an expectation fails.
struct Step {
  bool append = false;
  std::string section;
  std::string key;
  std::string value;  // the bytes appended, for an append
};

std::string Story(const std::vector<Step>& steps) {
  std::string story;
  for (const Step& step : steps) {
    if (step.append) {
      story += "append " + FuzzHex(step.value) + "\n";
    } else {
      story += "write [" + FuzzHex(step.section) + "] " + FuzzHex(step.key) + "= " +
               FuzzHex(step.value) + "\n";
    }
  }
  return story;
}

// Names that meet often, so writes land on existing sections and keys; or any bytes.
std::string Name(FuzzedDataProvider& input) {
  static const char* const kNames[] = {"Config", "list", "LIST", "Gateway", "00E0FD3A1B01",
                                       " list ", "", "k"};
  const uint8_t pick = input.ConsumeIntegral<uint8_t>();
  if (pick < 2 * std::size(kNames)) return kNames[pick % std::size(kNames)];
  return input.ConsumeRandomLengthString(24);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  static const std::string kept = (Scratch() / "kept.ini").string();
  static const std::string fresh = (Scratch() / "fresh.ini").string();
  unlink(kept.c_str());
  unlink(fresh.c_str());
  if (input.ConsumeBool()) {
    const std::string initial = input.ConsumeRandomLengthString(512);
    Put(kept, initial, false);
    Put(fresh, initial, false);
  }

  PortableProfileApi keepsParse(true);
  PortableProfileApi readsAgain(false);
  std::vector<Step> steps;
  steps.reserve(24);
  for (int n = 0; n < 24 && input.remaining_bytes() > 0; ++n) {
    Step step;
    if (input.ConsumeIntegralInRange<int>(0, 15) == 0) {
      // Another program appends to the file: the kept parse must notice.
      step.append = true;
      step.value = input.ConsumeRandomLengthString(64);
      Put(kept, step.value, true);
      Put(fresh, step.value, true);
      steps.push_back(std::move(step));
      continue;
    }
    step.section = Name(input);
    step.key = Name(input);
    step.value = input.ConsumeRandomLengthString(32);
    const bool keptOk = keepsParse.WriteString(step.section, step.key, step.value, kept);
    const bool freshOk = readsAgain.WriteString(step.section, step.key, step.value, fresh);
    steps.push_back(std::move(step));
    FUZZ_EXPECT(keptOk == freshOk, Story(steps));
    const std::string keptBytes = Bytes(kept);
    const std::string freshBytes = Bytes(fresh);
    FUZZ_EXPECT(keptBytes == freshBytes, Story(steps) + "kept:  " + FuzzHex(keptBytes) +
                                             "\nfresh: " + FuzzHex(freshBytes));
  }
  return 0;
}
