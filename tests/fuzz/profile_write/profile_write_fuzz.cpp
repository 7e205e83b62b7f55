// Fuzz target: the profile writer. A file and a run of writes (and of bytes appended by another
// program) go to two files: one through the writer that keeps its last parse, one through a
// writer that reads the whole file again for every write. After every step both files hold the
// same bytes.
#include <fuzzer/FuzzedDataProvider.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <iterator>
#include <fstream>
#include <iterator>
#include <string>

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

std::string Bytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void Put(const fs::path& path, const std::string& bytes, bool append) {
  std::ofstream(path, std::ios::binary | (append ? std::ios::app : std::ios::trunc)) << bytes;
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
  const fs::path kept = Scratch() / "kept.ini";
  const fs::path fresh = Scratch() / "fresh.ini";
  std::error_code ignored;
  fs::remove(kept, ignored);
  fs::remove(fresh, ignored);
  if (input.ConsumeBool()) {
    const std::string initial = input.ConsumeRandomLengthString(512);
    Put(kept, initial, false);
    Put(fresh, initial, false);
  }

  PortableProfileApi keepsParse(true);
  PortableProfileApi readsAgain(false);
  std::string story;
  for (int step = 0; step < 24 && input.remaining_bytes() > 0; ++step) {
    if (input.ConsumeIntegralInRange<int>(0, 15) == 0) {
      // Another program appends to the file: the kept parse must notice.
      const std::string extra = input.ConsumeRandomLengthString(64);
      Put(kept, extra, true);
      Put(fresh, extra, true);
      story += "append " + FuzzHex(extra) + "\n";
      continue;
    }
    const std::string section = Name(input);
    const std::string key = Name(input);
    const std::string value = input.ConsumeRandomLengthString(32);
    story += "write [" + FuzzHex(section) + "] " + FuzzHex(key) + "= " + FuzzHex(value) + "\n";
    const bool keptOk = keepsParse.WriteString(section, key, value, kept.string());
    const bool freshOk = readsAgain.WriteString(section, key, value, fresh.string());
    FUZZ_EXPECT(keptOk == freshOk, story);
    const std::string keptBytes = Bytes(kept);
    const std::string freshBytes = Bytes(fresh);
    FUZZ_EXPECT(keptBytes == freshBytes,
                story + "kept:  " + FuzzHex(keptBytes) + "\nfresh: " + FuzzHex(freshBytes));
  }
  return 0;
}
