// Collation: the order of digit and hexadecimal texts, case ignored, in the portable comparison
// and in this build's system comparison (CompareStringA when the tests run on Windows).
#include "platform/portable/portable_collation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

int Sign(int value) { return (value > 0) - (value < 0); }

struct Named {
  const char* name;
  CollationApi* collation;
};

std::vector<Named> Collations() {
  static PortableCollationApi portable;
  return {{"portable", &portable}, {"system", &SystemCollationApi()}};
}

TEST(Collation, DigitAndHexTextsCompareInCharacterOrderIgnoringCase) {
  struct Case {
    const char* a;
    const char* b;
    int expected;
  };
  const Case cases[] = {
      {"0", "9", -1},
      {"9", "A", -1},
      {"A", "F", -1},
      {"F", "a", 1},  // "a" is "A"
      {"f", "A", 1},
      {"000B294E573A", "000b294e573a", 0},
      {"000B294E573A", "000B29112233", 1},
      {"00E0FD3A1B01", "00E0FD3A1B0A", -1},
      {"100", "1000", -1},  // a text before every longer text it begins
      {"1000", "101", -1},  // no numeric reading: "1000" stands between "100" and "101"
      {"0105000001000", "1230235959999", -1},
      {"1012140327593", "1012140329015", -1},
      {"20070520090500", "20070520090500", 0},
      {"", "0", -1},
      {"", "", 0},
  };
  for (const Named& named : Collations()) {
    for (const Case& c : cases) {
      EXPECT_EQ(Sign(named.collation->Compare(c.a, c.b)), c.expected)
          << named.name << ": " << c.a << " vs " << c.b;
      EXPECT_EQ(Sign(named.collation->Compare(c.b, c.a)), -c.expected)
          << named.name << ": " << c.b << " vs " << c.a;
    }
  }
}

TEST(PortableCollation, SymbolsBeforeDigitsBeforeLettersBeforeGbk) {
  // Windows sorts punctuation before digits and digits before letters, unlike byte order for
  // "_", "[" or "~"; GBK characters come after the Latin letters.
  const std::vector<std::string> ordered = {"\x01", "-", "_", "~", "0", "9", "A", "z",
                                            "\xB0\xA1", "\xD6\xD0"};
  for (size_t i = 0; i + 1 < ordered.size(); ++i) {
    EXPECT_LT(PortableCompareText(ordered[i], ordered[i + 1]), 0) << i;
    EXPECT_GT(PortableCompareText(ordered[i + 1], ordered[i]), 0) << i;
  }
  // Only the letters "a".."z" fold: a GBK trail byte in that range is part of a character.
  EXPECT_GT(PortableCompareText("\xB0\x61", "\xB0\x41"), 0);
  EXPECT_EQ(PortableCompareText("\xB0\xA1" "a", "\xB0\xA1" "A"), 0);
  EXPECT_EQ(PortableCompareText("PC-a", "pc-A"), 0);
  EXPECT_NE(PortableCompareText("\xC1", "\xE1"), 0);
}

}  // namespace
