// Text rules: trimming, ASCII upper-casing, number reading and zero padding.
#include "common/program_directory.h"
#include "common/text_rules.h"

#include <gtest/gtest.h>

TEST(TextRules, TrimRemovesCodesBelow33AtBothEndsOnly) {
  EXPECT_EQ(TrimText(" \t\r\n\x01 192.168.0.1 \x1f"), "192.168.0.1");
  EXPECT_EQ(TrimText("a b"), "a b");
  EXPECT_EQ(TrimText("   "), "");
  EXPECT_EQ(TrimText(""), "");
  // GBK bytes are all above 127 and are never trimmed.
  EXPECT_EQ(TrimText(" \xB1\xBE\xB5\xD8 "), "\xB1\xBE\xB5\xD8");
}

TEST(TextRules, UpperCasingTouchesOnlyAsciiLetters) {
  EXPECT_EQ(UpperAscii("dhcp,pc1-\xB1\xBE"), "DHCP,PC1-\xB1\xBE");
  // A GBK trail byte in the range a..z would be changed: the rule is bytewise on purpose.
  EXPECT_EQ(UpperAscii("\x81\x61"), "\x81\x41");
  EXPECT_EQ(UpperAscii("{}[]`@"), "{}[]`@");
}

TEST(TextRules, ReadNumberTakesSignAndLeadingDigits) {
  struct Case { const char* text; long long expected; };
  const Case cases[] = {
      {"", 0}, {"abc", 0}, {"12abc", 12}, {"+7", 7}, {"-15x", -15}, {"-", 0},
      {" 5", 0}, {"007", 7}, {"255.1", 255}, {"99999999999999999999999", 9223372036854775807LL},
  };
  for (const Case& c : cases) EXPECT_EQ(ReadNumber(c.text), c.expected) << c.text;
}

TEST(TextRules, ZeroPadFillsButNeverCuts) {
  EXPECT_EQ(ZeroPad(1, 3), "001");
  EXPECT_EQ(ZeroPad(999, 3), "999");
  EXPECT_EQ(ZeroPad(1000, 3), "1000");
  EXPECT_EQ(ZeroPad(12, 1), "12");
  EXPECT_EQ(ZeroPad(0, 5), "00000");
}

TEST(TextRules, KeyComparisonIgnoresOnlyAsciiCase) {
  EXPECT_TRUE(EqualsIgnoringAsciiCase("Gwmetric", "gwmetric"));
  EXPECT_FALSE(EqualsIgnoringAsciiCase("mask", "mask "));
  EXPECT_FALSE(EqualsIgnoringAsciiCase("\xC1", "\xE1"));
}

TEST(TextRules, ProgramDirectoryCutsAtTheLastBackslashCharacter) {
  struct Case { const char* path; const char* expected; };
  const Case cases[] = {
      {"C:\\Tools\\Tolvik.exe", "C:\\Tools\\"},
      {"Tolvik.exe", ""},
      // "\xB6\x5C" and "\xD5\x5C" are one GBK character each; their 0x5C is no backslash.
      {"C:\\\xB6\x5C\\Tolvik.exe", "C:\\\xB6\x5C\\"},
      {"C:\\Tools\\\xD5\x5C.exe", "C:\\Tools\\"},
      {"\\\\server\\share\\B.exe", "\\\\server\\share\\"},
  };
  for (const Case& c : cases) EXPECT_EQ(ProgramDirectory(c.path), c.expected) << c.path;
}
