// Tests of Win32FileApi under Windows (Wine), checked against the portable implementation.
#include "platform/win32/win32_files.h"

#include "platform/portable/portable_files.h"
#include "tests/fakes/byte_text.h"

#include <windows.h>

// <windows.h> maps DeleteFile to DeleteFileA; the interface's method keeps its own name.
#undef DeleteFile

namespace {

TEST(Win32FileApi, TempPathEndsInABackslashAndModulePathNamesThisProgram) {
  Win32FileApi files;
  const std::string temp = files.TempPath();
  ASSERT_FALSE(temp.empty());
  EXPECT_EQ(temp.back(), '\\');
  const std::string module = files.ModulePath();
  EXPECT_TRUE(files.IsExistingFile(module)) << module;
  EXPECT_NE(module.find("unit_tests.exe"), std::string::npos) << module;
}

struct WriteCase {
  const char* name;
  std::string relativePath;  // under a fresh directory in the temporary directory
  std::string bytes;
  bool writes;
  // The portable implementation reaches files through std::filesystem, whose narrow paths are
  // not ANSI-code-page paths under MinGW, so it is compared on ASCII names only.
  bool compareWithPortable = true;
};

TEST(Win32FileApi, WritesReadsAndDeletesWholeFilesLikeThePortableOne) {
  Win32FileApi files;
  const std::string root = files.TempPath() + "tolvik files test\\";
  CreateDirectoryA(root.c_str(), nullptr);
  CreateDirectoryA((root + "sub").c_str(), nullptr);
  std::string allBytes;
  for (int i = 0; i < 256; ++i) allBytes += static_cast<char>(i);
  const WriteCase cases[] = {
      {"plain", "a.txt", "cd C:\\\r\ndel \"x\"\r\n", true},
      {"empty", "empty.bat", "", true},
      {"every byte", "bytes.bin", allBytes, true},
      {"GBK name", "\xB1\xBE\xB5\xD8.ini", "[x]\r\n", true, false},
      {"large", "large.bin", std::string(3 << 20, 'z'), true},
      {"missing directory", "no such dir\\a.txt", "x", false},
      {"a directory", "sub", "x", false},
  };
  for (const WriteCase& c : cases) {
    const std::string path = root + c.relativePath;
    EXPECT_EQ(files.WriteWholeFile(path, c.bytes), c.writes) << c.name;
    EXPECT_EQ(files.IsExistingFile(path), c.writes) << c.name;
    std::string read = "unchanged";
    EXPECT_EQ(files.ReadWholeFile(path, &read), c.writes) << c.name;
    if (c.writes) {
      EXPECT_TRUE(read == c.bytes) << c.name;
    }
    if (c.writes && c.compareWithPortable) {
      // The portable implementation reads the same bytes and sees the same file.
      PortableFileApi portable(files.ModulePath());
      std::string portableRead;
      EXPECT_TRUE(portable.ReadWholeFile(path, &portableRead)) << c.name;
      EXPECT_TRUE(portableRead == c.bytes) << c.name;
      EXPECT_TRUE(portable.IsExistingFile(path)) << c.name;
    }
    if (c.writes) {
      EXPECT_TRUE(files.DeleteFile(path)) << c.name;
      EXPECT_FALSE(files.IsExistingFile(path)) << c.name;
      EXPECT_FALSE(files.DeleteFile(path)) << c.name;
    }
  }
  EXPECT_FALSE(files.IsExistingFile(root + "sub"));  // a directory is no file
  RemoveDirectoryA((root + "sub").c_str());
  RemoveDirectoryA(root.c_str());
}

}  // namespace
