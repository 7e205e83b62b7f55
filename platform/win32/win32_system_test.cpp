// Tests of Win32SystemApi under Windows (Wine): only calls that change nothing on the machine.
#include "platform/win32/win32_system.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

TEST(Win32SystemApi, ComputerNameHonoursTheStatedBufferSize) {
  Win32SystemApi system;
  char expected[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD size = sizeof expected;
  ASSERT_TRUE(GetComputerNameA(expected, &size));
  EXPECT_EQ(system.ComputerName(16), std::string(expected));
  // A size too small for the name (and its NUL) fails: the text is empty, never cut.
  EXPECT_EQ(system.ComputerName(static_cast<uint32_t>(strlen(expected))), "");
}

struct PrivilegeCase {
  const char* privilege;
  bool known;
};

TEST(Win32SystemApi, EnablePrivilegeFailsOnlyForAnUnknownName) {
  const PrivilegeCase cases[] = {
      {"SeShutdownPrivilege", true},
      {"SeRemoteShutdownPrivilege", true},
      {"SeNoSuchPrivilegeAtAll", false},
  };
  Win32SystemApi system;
  for (const PrivilegeCase& c : cases) {
    EXPECT_EQ(system.EnablePrivilege("", c.privilege), c.known) << c.privilege;
  }
}

TEST(Win32SystemApi, VersionAndCommandLineComeFromWindows) {
  Win32SystemApi system;
  EXPECT_EQ(system.Version(), GetVersion());
  EXPECT_EQ(system.Version() & 0x80000000u, 0u);  // an NT-family system
  EXPECT_NE(system.CommandLine().find("unit_tests"), std::string::npos);
}

}  // namespace
