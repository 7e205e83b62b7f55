// Byte-exact comparison of texts for tests: a mismatch is printed as hex, so GBK bytes show.
#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/hex_bytes.h"

// EXPECT_TRUE(SameBytes(actual, expected)).
inline ::testing::AssertionResult SameBytes(const std::string& actual, const std::string& expected) {
  if (actual == expected) return ::testing::AssertionSuccess();
  size_t at = 0;
  while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) ++at;
  return ::testing::AssertionFailure()
         << "bytes differ at offset " << at << " (lengths " << actual.size() << " and "
         << expected.size() << ")\n  actual:   " << HexBytes(actual)
         << "\n  expected: " << HexBytes(expected);
}

// Both lists equal, element by element, with each differing element shown as hex.
inline ::testing::AssertionResult SameByteLists(const std::vector<std::string>& actual,
                                                const std::vector<std::string>& expected) {
  ::testing::AssertionResult result = ::testing::AssertionSuccess();
  bool failed = actual.size() != expected.size();
  std::string report;
  if (failed) {
    report += "lengths " + std::to_string(actual.size()) + " and " +
              std::to_string(expected.size()) + "\n";
  }
  for (size_t i = 0; i < actual.size() || i < expected.size(); ++i) {
    const std::string a = i < actual.size() ? actual[i] : "<none>";
    const std::string e = i < expected.size() ? expected[i] : "<none>";
    if (a == e) continue;
    failed = true;
    report += "[" + std::to_string(i) + "]\n  actual:   " + a + "\n              " +
              HexBytes(a) + "\n  expected: " + e + "\n              " + HexBytes(e) + "\n";
  }
  if (!failed) return result;
  return ::testing::AssertionFailure() << report;
}
