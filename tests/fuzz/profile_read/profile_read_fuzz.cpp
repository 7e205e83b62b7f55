// Fuzz target: the profile reader. Any bytes parse; each line keeps a number within the file and
// in file order; the two reads keep to their buffers, and a short section buffer gets a prefix of
// what a large one gets.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/portable/portable_profile.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

void CheckSectionRead(const ProfileText& text, const std::string& name, const std::string& input) {
  // Every line of the section fits into the file's size and a few bytes more.
  std::vector<char> whole(input.size() + 16, 'x');
  const uint32_t wholeCopied = ReadProfileSection(text, name, &whole);
  FUZZ_EXPECT(wholeCopied + 2 < whole.size(), HexBytes(input));
  for (size_t size : {0, 1, 2, 3, 8, 40}) {
    std::vector<char> buffer(size, 'x');
    const uint32_t copied = ReadProfileSection(text, name, &buffer);
    if (size == 0) {
      FUZZ_EXPECT(copied == 0, HexBytes(input));
      continue;
    }
    FUZZ_EXPECT(copied < size && (size < 2 || copied <= size - 2), HexBytes(input));
    FUZZ_EXPECT(buffer[copied] == '\0', HexBytes(input));
    FUZZ_EXPECT(copied <= wholeCopied &&
                    std::string(buffer.data(), copied) == std::string(whole.data(), copied),
                HexBytes(input));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const ProfileText text = ParseProfileText(bytes);
  FUZZ_EXPECT(!text.sections.empty(), HexBytes(bytes));

  const size_t lines = FileLines(bytes);
  size_t last = 0;
  std::vector<std::string> names = {"config", "list"};
  for (size_t s = 0; s < text.sections.size(); ++s) {
    const ProfileSectionText& section = text.sections[s];
    if (s > 0) {
      FUZZ_EXPECT(section.fileLine > last && section.fileLine + section.joinedLines <= lines,
                  HexBytes(bytes));
      last = section.fileLine + section.joinedLines;
      if (names.size() < 4) names.push_back(section.name);
    }
    for (const ProfileLine& line : section.lines) {
      FUZZ_EXPECT(line.fileLine > last && line.fileLine + line.joinedLines <= lines, HexBytes(bytes));
      last = line.fileLine + line.joinedLines;
      if (names.size() < 6) names.push_back(line.name);
    }
  }

  for (const std::string& section : names) {
    CheckSectionRead(text, section, bytes);
    for (const std::string& key : names) {
      for (uint32_t bufferSize : {1u, 5u, 4096u}) {
        const std::string value = ReadProfileString(text, section, key, "default", bufferSize);
        FUZZ_EXPECT(value.size() < bufferSize, HexBytes(bytes));
      }
    }
  }

  // What is written out reads back with no section that was not there. Left out: text without
  // the UTF-8 mark whose first GBK characters are written as the bytes EF BB BF ..., which the
  // reader then takes for the mark.
  const std::string written = SerializeProfileText(text);
  if (text.utf8Mark || written.compare(0, 3, "\xEF\xBB\xBF") != 0) {
    const ProfileText reread = ParseProfileText(written);
    size_t named = 0;
    for (const ProfileSectionText& section : text.sections) named += !section.name.empty();
    FUZZ_EXPECT(reread.sections.size() <= named + 1, HexBytes(bytes));
  }
  return 0;
}
