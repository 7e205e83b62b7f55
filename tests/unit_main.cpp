// Entry of the unit test program (native and under Wine).
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

int main(int argc, char** argv) {
  // Child role for the process tests: a program that runs for a given time whatever its input
  // (a child reading the console would end at once when the tests run without standard input).
  if (argc == 3 && std::strcmp(argv[1], "--sleep-ms") == 0) {
    std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(argv[2])));
    return 0;
  }
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
