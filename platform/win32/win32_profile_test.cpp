// The shared profile and list-file cases against Windows' own profile functions, and random
// texts read by both implementations.
#include "platform/win32/win32_profile.h"

#include <cstdlib>

#include "platform/portable/portable_profile.h"
#include "tests/unit/profile_behaviour.h"

namespace {

std::unique_ptr<ProfileApi> MakeWin32() { return std::make_unique<Win32ProfileApi>(); }

const ProfileImplementation kWin32{"Win32", MakeWin32};

}  // namespace

INSTANTIATE_TEST_SUITE_P(Win32, ProfileBehaviourTest,
                         testing::Combine(testing::Values(kWin32), testing::ValuesIn(ProfileCases())),
                         ProfileTestName);
INSTANTIATE_TEST_SUITE_P(Win32, ListFileBehaviourTest, testing::Values(kWin32),
                         [](const testing::TestParamInfo<ProfileImplementation>& info) {
                           return std::string(info.param.name);
                         });

TEST(Win32ProfileAgreementTest, PortableReadsDamagedFilesAsWindowsDoes) {
  // Seeded random and damaged texts: every read of the portable functions must answer what
  // Windows' own functions answer for the same file, and a write must leave the same bytes.
  ScratchDirectory dir("agree");
  const std::string path = dir.Path("mac.ini");
  Win32ProfileApi windows;
  PortableProfileApi portable;
  const char* const sections[] = {"list", "Config", "", "x"};
  const char* const keys[] = {"00E0FD3A1B01", "mask", "dns1", "", "x"};
  // TOLVIK_AGREEMENT_SEEDS asks for a longer run (each seed costs about 0.1 s under Wine).
  const char* requested = std::getenv("TOLVIK_AGREEMENT_SEEDS");
  const uint32_t seeds = requested ? static_cast<uint32_t>(std::strtoul(requested, nullptr, 10)) : 100;
  for (uint32_t seed = 1; seed <= seeds; ++seed) {
    const std::string text = SeededProfileText(seed);
    SCOPED_TRACE("seed " + std::to_string(seed) + ": " + HexBytes(text));
    dir.WriteFile("mac.ini", text);
    for (const char* section : sections) {
      std::vector<char> fromWindows(32767, '#');
      std::vector<char> fromPortable(32767, '#');
      uint32_t count = windows.GetSection(section, &fromWindows, path);
      EXPECT_EQ(portable.GetSection(section, &fromPortable, path), count) << section;
      EXPECT_EQ(HexBytes(std::string(fromPortable.data(), count)),
                HexBytes(std::string(fromWindows.data(), count)))
          << section;
      for (const char* key : keys) {
        EXPECT_EQ(HexBytes(portable.GetString(section, key, "dflt", path)),
                  HexBytes(windows.GetString(section, key, "dflt", path)))
            << section << "/" << key;
      }
    }

    // One write into the same text by each: the files must come out the same.
    const char* const writeSections[] = {"list", "Config", " list ", "New"};
    const char* const writeKeys[] = {"00E0FD3A1B01", "MASK", " dns1 ", "k"};
    const char* const values[] = {"192.168.0.9,PC9", "", "  v  ", "\xC5\xE4", "a=b"};
    const std::string section = writeSections[seed % 4];
    const std::string key = writeKeys[(seed / 4) % 4];
    const std::string value = values[(seed / 16) % 5];
    dir.WriteFile("w.ini", text);
    dir.WriteFile("p.ini", text);
    EXPECT_TRUE(windows.WriteString(section, key, value, dir.Path("w.ini")));
    EXPECT_TRUE(portable.WriteString(section, key, value, dir.Path("p.ini")));
    EXPECT_EQ(HexBytes(dir.ReadFile("p.ini")), HexBytes(dir.ReadFile("w.ini")))
        << "[" << section << "] " << key << "=" << value;
  }
}
