// Seeded random and mutated profile texts through every read operation: no crash, and the
// answers keep the size rules, and damaged files still take new keys.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "common/list_file.h"
#include "common/text_rules.h"
#include "platform/portable/portable_profile.h"
#include "tests/unit/profile_behaviour.h"

namespace {

std::string Alnum(std::mt19937& random, size_t length) {
  static const char kChars[] = "ABCDEFabcdef0123456789";
  std::string text;
  for (size_t i = 0; i < length; ++i) text += kChars[random() % (sizeof kChars - 1)];
  return text;
}

// The portable reads over text held in memory, so thousands of texts need no file each.
class MemoryProfile : public ProfileApi {
 public:
  explicit MemoryProfile(const std::string& bytes) : text_(ParseProfileText(bytes)) {}
  std::string GetString(const std::string& section, const std::string& key,
                        const std::string& defaultValue, const std::string&,
                        uint32_t bufferSize) override {
    return ReadProfileString(text_, section, key, defaultValue, bufferSize);
  }
  uint32_t GetSection(const std::string& section, std::vector<char>* buffer,
                      const std::string&) override {
    return ReadProfileSection(text_, section, buffer);
  }
  bool WriteString(const std::string&, const std::string&, const std::string&,
                   const std::string&) override {
    ADD_FAILURE() << "reads only";
    return false;
  }

 private:
  ProfileText text_;
};

const char* const kSections[] = {"list", "Config", "", "[", "x"};
const char* const kKeys[] = {"00E0FD3A1B01", "mask", "dns1", "", "=", "x"};


}  // namespace

TEST(PortableProfileFuzzTest, RandomAndMutatedTextsKeepTheReadRules) {
  for (uint32_t seed = 1; seed <= 2000; ++seed) {
    std::mt19937 random(seed);
    const std::string text = SeededProfileText(seed);
    SCOPED_TRACE("seed " + std::to_string(seed) + ": " + HexBytes(text));
    MemoryProfile profile(text);

    for (const char* section : kSections) {
      std::vector<char> whole(4096, '#');  // the texts are far shorter
      uint32_t wholeCount = profile.GetSection(section, &whole, "");
      ASSERT_LT(wholeCount, whole.size() - 1);
      ASSERT_EQ(whole[wholeCount], '\0');

      // A smaller buffer gives a prefix of the whole answer, never more than size - 2 bytes.
      uint32_t size = 1 + random() % 24;
      std::vector<char> small(size, '#');
      uint32_t smallCount = profile.GetSection(section, &small, "");
      ASSERT_LE(smallCount, size >= 2 ? size - 2 : 0u);
      if (smallCount < size) {
        ASSERT_EQ(small[smallCount], '\0');
      }
      ASSERT_EQ(std::string(small.data(), smallCount), std::string(whole.data(), smallCount));

      // The whole-section read returns exactly those lines (once per text: it starts with a
      // buffer of 32,767 bytes).
      if (section == kSections[seed % 5]) {
        std::string joined;
        for (const std::string& line : ReadWholeSection(profile, section, "")) joined += line + '\0';
        ASSERT_EQ(HexBytes(joined), HexBytes(std::string(whole.data(), wholeCount)));
      }

      for (const char* key : kKeys) {
        std::string value = profile.GetString(section, key, "dflt", "", 4096);
        uint32_t cut = 1 + random() % 6;
        std::string shorter = profile.GetString(section, key, "dflt", "", cut);
        ASSERT_LE(shorter.size(), cut - 1);
        ASSERT_EQ(shorter, value.substr(0, shorter.size()));
      }
    }
    // Every fifth text through the list-file read. The mask default is not empty, so an empty
    // mask must come from a mask line.
    if (seed % 5 == 0) {
      ListFileContent content = ReadListFile(profile, "");
      if (content.settings.Mask.empty()) {
        ASSERT_NE(UpperAscii(text).find("MASK"), std::string::npos);
      }
    }
  }
}

TEST(PortableProfileFuzzTest, DamagedFilesTakeNewKeys) {
  ScratchDirectory dir("fuzz");
  const std::string path = dir.Path("mac.ini");
  PortableProfileApi files;
  for (uint32_t seed = 1; seed <= 60; ++seed) {
    std::mt19937 random(seed);
    const std::string text = SeededProfileText(seed);
    SCOPED_TRACE("seed " + std::to_string(seed) + ": " + HexBytes(text));
    dir.WriteFile("mac.ini", text);

    // A clean key written into the damaged file reads back, through this object and another.
    const std::string key = Alnum(random, 1 + random() % 12);
    const std::string value = Alnum(random, random() % 20);
    ASSERT_TRUE(files.WriteString("list", key, value, path));
    EXPECT_EQ(files.GetString("list", key, "dflt", path), value);
    PortableProfileApi fresh(false);
    EXPECT_EQ(fresh.GetString("list", key, "dflt", path), value);
  }
}
