// CompareStringA against the portable comparison on digit and hexadecimal texts (Windows only),
// and WideCharToMultiByte into code page 936.
#include "platform/win32/win32_collation.h"

#include <gtest/gtest.h>

#include "tests/fakes/byte_text.h"

#include <random>
#include <string>

#include "platform/portable/portable_collation.h"
#include "platform/win32/win32_code_page.h"

namespace {

int Sign(int value) { return (value > 0) - (value < 0); }

TEST(Win32Collation, AgreesWithThePortableOrderOnDigitAndHexTexts) {
  // Fixed seed: random texts of digits and hexadecimal letters of both cases, of lengths 0 to
  // 14, with a common start so that the comparison often runs deep into both texts.
  const char kAlphabet[] = "0123456789ABCDEFabcdef";
  std::mt19937 random(20261207);
  Win32CollationApi windows;
  int mismatches = 0;
  for (int i = 0; i < 20000 && mismatches < 10; ++i) {
    std::string common(random() % 8, '0');
    for (char& c : common) c = kAlphabet[random() % 22];
    std::string a = common;
    std::string b = common;
    for (size_t n = random() % 7; n > 0; --n) a += kAlphabet[random() % 22];
    for (size_t n = random() % 7; n > 0; --n) b += kAlphabet[random() % 22];
    int expected = Sign(PortableCompareText(a, b));
    int got = Sign(windows.Compare(a, b));
    if (got != expected) {
      ++mismatches;
      ADD_FAILURE() << a << " vs " << b << ": CompareStringA " << got << ", portable " << expected;
    }
  }
}

TEST(Win32CodePage, ConvertsIntoGbk) {
  struct Case {
    std::u16string text;
    std::string expected;
  };
  const Case cases[] = {
      {u"000b294e573a\t2026/12/5 9:05:00\r\n", "000b294e573a\t2026/12/5 9:05:00\r\n"},
      {u"\u4fdd\u7559(\u6d3b\u52a8)", "\xB1\xA3\xC1\xF4(\xBB\xEE\xB6\xAF)"},  // 保留(活动)
      {u"\u5ba2\u6237\u7aef IP", "\xBF\xCD\xBB\xA7\xB6\xCB IP"},              // 客户端 IP
      {u"", ""},
  };
  Win32CodePageApi codePage;
  for (const Case& c : cases) {
    std::string got = codePage.Utf16ToAnsi(c.text);
    EXPECT_EQ(got, c.expected) << HexBytes(got) << " vs " << HexBytes(c.expected);
  }
}

}  // namespace
