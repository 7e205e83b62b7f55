// Fuzz target: the profile writer. A file and a run of writes (and of bytes appended by another
// program) go to two files: one through the writer that keeps its last parse, one through a
// writer that reads the whole file again for every write. After every step both files hold the
// same bytes.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/portable/portable_profile.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/scratch_directory.h"

namespace fs = std::filesystem;

namespace {

// Every step writes and reads both files.
const ScratchDirectory& Scratch() {
  static const ScratchDirectory dir("fuzz-profile-write", FuzzScratchBase());
  return dir;
}

void Append(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::app) << bytes;
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
  const ScratchDirectory& scratch = Scratch();
  const std::string kept = scratch.Path("kept.ini");
  const std::string fresh = scratch.Path("fresh.ini");
  std::error_code ignored;
  fs::remove(kept, ignored);
  fs::remove(fresh, ignored);
  if (input.ConsumeBool()) {
    const std::string initial = input.ConsumeRandomLengthString(512);
    scratch.WriteFile("kept.ini", initial);
    scratch.WriteFile("fresh.ini", initial);
  }

  PortableProfileApi keepsParse(true);
  PortableProfileApi readsAgain(false);
  std::string story;
  for (int step = 0; step < 24 && input.remaining_bytes() > 0; ++step) {
    if (input.ConsumeIntegralInRange<int>(0, 15) == 0) {
      // Another program appends to the file: the kept parse must notice.
      const std::string extra = input.ConsumeRandomLengthString(64);
      Append(kept, extra);
      Append(fresh, extra);
      story += "append " + HexBytes(extra) + "\n";
      continue;
    }
    const std::string section = Name(input);
    const std::string key = Name(input);
    const std::string value = input.ConsumeRandomLengthString(32);
    story += "write [" + HexBytes(section) + "] " + HexBytes(key) + " = " + HexBytes(value) + "\n";
    const bool keptOk = keepsParse.WriteString(section, key, value, kept);
    const bool freshOk = readsAgain.WriteString(section, key, value, fresh);
    FUZZ_EXPECT(keptOk == freshOk, story);
    const std::string keptBytes = scratch.ReadFile("kept.ini");
    const std::string freshBytes = scratch.ReadFile("fresh.ini");
    FUZZ_EXPECT(keptBytes == freshBytes,
                story + "kept:  " + HexBytes(keptBytes) + "\nfresh: " + HexBytes(freshBytes));
  }
  return 0;
}
