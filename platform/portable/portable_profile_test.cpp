// PortableProfileApi's kept copy of its last write: other writers' changes are never lost, and
// damaged files still take new keys.
#include "platform/portable/portable_profile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <random>
#include <string>

#include "tests/unit/profile_behaviour.h"

namespace fs = std::filesystem;

TEST(PortableProfileCopyTest, AnotherWritersChangeIsSeenByTheNextWrite) {
  struct Case {
    const char* name;
    std::function<void(const ScratchDirectory&, const std::string&)> change;
    std::string expected;
  };
  // Each case starts from "[S]\r\na=1\r\n" written through the object, changes the file behind
  // its back, then writes S/c=3 through the same object.
  const Case cases[] = {
      {"same size and same modification time",
       [](const ScratchDirectory& dir, const std::string& path) {
         fs::file_time_type before = fs::last_write_time(path);
         dir.WriteFile("t.ini", "[T]\r\nb=2\r\n");
         fs::last_write_time(path, before);
       },
       "[T]\r\nb=2\r\n[S]\r\nc=3\r\n"},
      {"lines appended", [](const ScratchDirectory& dir,
                            const std::string&) { dir.WriteFile("t.ini", "[S]\r\na=1\r\nb=2\r\n"); },
       "[S]\r\na=1\r\nb=2\r\nc=3\r\n"},
      {"file deleted", [](const ScratchDirectory&, const std::string& path) { fs::remove(path); },
       "[S]\r\nc=3\r\n"},
      {"blank lines added that a rewrite drops",
       [](const ScratchDirectory& dir, const std::string&) { dir.WriteFile("t.ini", "[S]\r\n\r\na=1\r\n\r\n"); },
       "[S]\r\na=1\r\nc=3\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScratchDirectory dir("copy");
    const std::string path = dir.Path("t.ini");
    PortableProfileApi profile;
    ASSERT_TRUE(profile.WriteString("S", "a", "1", path));
    c.change(dir, path);
    ASSERT_TRUE(profile.WriteString("S", "c", "3", path));
    EXPECT_EQ(HexBytes(dir.ReadFile("t.ini")), HexBytes(c.expected));
  }
}

TEST(PortableProfileCopyTest, DamagedFilesTakeNewKeys) {
  ScratchDirectory dir("damaged");
  const std::string path = dir.Path("mac.ini");
  PortableProfileApi files;
  const auto alnum = [](std::mt19937& random, size_t length) {
    std::string text;
    for (size_t i = 0; i < length; ++i) text += "ABCDEFabcdef0123456789"[random() % 22];
    return text;
  };
  for (uint32_t seed = 1; seed <= 60; ++seed) {
    std::mt19937 random(seed);
    const std::string text = SeededProfileText(seed);
    SCOPED_TRACE("seed " + std::to_string(seed) + ": " + HexBytes(text));
    dir.WriteFile("mac.ini", text);

    // A clean key written into the damaged file reads back, through this object and another.
    const std::string key = alnum(random, 1 + random() % 12);
    const std::string value = alnum(random, random() % 20);
    ASSERT_TRUE(files.WriteString("list", key, value, path));
    EXPECT_EQ(files.GetString("list", key, "dflt", path), value);
    PortableProfileApi fresh(false);
    EXPECT_EQ(fresh.GetString("list", key, "dflt", path), value);
  }
}
