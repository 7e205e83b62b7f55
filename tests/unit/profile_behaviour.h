// Profile behaviour cases shared by every ProfileApi implementation of a build.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/profile_api.h"
#include "tests/hex_bytes.h"
#include "tests/scratch_directory.h"

struct ProfileOp {
  enum Kind { kGetString, kGetSection, kWrite };
  Kind kind;
  std::string section;
  std::string key;
  std::string text;      // the default (kGetString) or the value (kWrite)
  uint32_t size;         // the buffer size handed over (reads)
  std::string expected;  // the text read, the section bytes before the final NUL, or the file
  bool writeSucceeds;    // kWrite only
};

struct ProfileCase {
  const char* name;
  bool fileExists;
  std::string initial;  // the file's bytes before the operations
  std::vector<ProfileOp> ops;
  bool directoryAtPath = false;  // a directory stands where the file would be
};

struct ProfileImplementation {
  const char* name;
  std::unique_ptr<ProfileApi> (*make)();
};

std::vector<ProfileCase> ProfileCases();

// A random profile text (pieces of list files, line ends, NULs, stray bytes) or a damaged
// list file, the same for the same seed.
std::string SeededProfileText(uint32_t seed);

class ProfileBehaviourTest
    : public testing::TestWithParam<std::tuple<ProfileImplementation, ProfileCase>> {};

// Machine lists, large and small, read and written through each implementation.
class ListFileBehaviourTest : public testing::TestWithParam<ProfileImplementation> {};

std::string ProfileTestName(
    const testing::TestParamInfo<std::tuple<ProfileImplementation, ProfileCase>>& info);
