// PortableFileApi: what Windows' file functions answer for files, directories and missing paths.
#include "platform/portable/portable_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/unit/profile_behaviour.h"

namespace fs = std::filesystem;

TEST(PortableFileApiTest, FilesDirectoriesAndMissingPaths) {
  ScratchDirectory dir("files");
  dir.WriteFile("file.ini", "x");
  fs::create_directory(dir.Path("dir.ini"));
  PortableFileApi files(dir.Path("Tolvik.exe"));

  struct Case {
    std::string path;
    bool exists;
    bool deleted;
    bool stillThere;
  };
  const Case cases[] = {
      {dir.Path("file.ini"), true, true, false},
      {dir.Path("dir.ini"), false, false, true},  // DeleteFileA never removes a directory
      {dir.Path("missing.ini"), false, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(files.IsExistingFile(c.path), c.exists);
    EXPECT_EQ(files.DeleteFile(c.path), c.deleted);
    EXPECT_EQ(fs::exists(c.path), c.stillThere);
  }
  EXPECT_EQ(files.ModulePath(), dir.Path("Tolvik.exe"));
}

TEST(PortableFileApiTest, WholeFilesKeepEveryByte) {
  ScratchDirectory dir("bytes");
  PortableFileApi files(dir.Path("Tolvik.exe"));
  const std::string bytes = std::string("a\0\r\n\xFF\x81", 6) + std::string(70000, 'z');
  ASSERT_TRUE(files.WriteWholeFile(dir.Path("f.bin"), bytes));
  std::string read = "stale";
  ASSERT_TRUE(files.ReadWholeFile(dir.Path("f.bin"), &read));
  EXPECT_EQ(read, bytes);

  read = "stale";
  EXPECT_FALSE(files.ReadWholeFile(dir.Path("missing.bin"), &read));
  EXPECT_EQ(read, "stale");
  fs::create_directory(dir.Path("d"));
  EXPECT_FALSE(files.ReadWholeFile(dir.Path("d"), &read));
  EXPECT_FALSE(files.WriteWholeFile(dir.Path("d"), "x"));
  EXPECT_FALSE(files.WriteWholeFile(dir.Path("f.bin") + "/inside", "x"));
}

TEST(PortableFileApiTest, DeletionAtNextStartIsNotedForExistingPathsOnly) {
  ScratchDirectory dir("pending");
  dir.WriteFile("Tolvik.exe", "MZ");
  PortableFileApi files(dir.Path("Tolvik.exe"));
  EXPECT_TRUE(files.DeleteAtNextStart(dir.Path("Tolvik.exe")));
  EXPECT_FALSE(files.DeleteAtNextStart(dir.Path("missing.exe")));
  EXPECT_EQ(files.PendingDeletions(), std::vector<std::string>{dir.Path("Tolvik.exe")});
  EXPECT_TRUE(fs::exists(dir.Path("Tolvik.exe")));  // nothing is deleted now

  std::string temp = files.TempPath();
  ASSERT_FALSE(temp.empty());
  EXPECT_TRUE(temp.back() == '/' || temp.back() == '\\') << temp;
  EXPECT_TRUE(fs::is_directory(temp)) << temp;
}
