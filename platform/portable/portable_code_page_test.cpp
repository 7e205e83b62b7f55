// The portable UTF-16 to ANSI conversion: ASCII exact, every other character one "?".
#include "platform/portable/portable_code_page.h"

#include <gtest/gtest.h>

#include "tests/fakes/byte_text.h"

#include <string>

namespace {

TEST(PortableCodePage, KeepsAsciiAndMarksEverythingElse) {
  struct Case {
    std::u16string text;
    std::string expected;
  };
  const Case cases[] = {
      {u"", ""},
      {u"Client IP Address\tName\r\n000b294e573a", "Client IP Address\tName\r\n000b294e573a"},
      {u"2026/12/5 9:05:00", "2026/12/5 9:05:00"},
      {std::u16string(u"a\0b", 3), std::string("a\0b", 3)},  // U+0000 stays a NUL, which ends a log
      {u"\u4fdd\u7559(\u6d3b\u52a8)", "\?\?(\?\?)"},             // 保留(活动)
      {u"\u00e9\u007f\u0080", "?\x7F?"},
      {u"x\U0001F600y", "x?y"},                      // a surrogate pair is one character
      {std::u16string(1, char16_t(0xD800)) + u"z", "?z"},  // a lone surrogate too
      {u"\uFEFFA", "?A"},
  };
  PortableCodePageApi codePage;
  for (const Case& c : cases) {
    std::string got = codePage.Utf16ToAnsi(c.text);
    EXPECT_EQ(got, c.expected) << HexBytes(got) << " vs " << HexBytes(c.expected);
  }
}

}  // namespace
