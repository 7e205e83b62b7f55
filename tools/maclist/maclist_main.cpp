// maclist: the command-line companion of Tolvik and Brevane (generate, check, plan).
#include <cstdio>
#include <string>
#include <vector>

#include "platform/profile_api.h"
#include "platform/console_text.h"
#include "tools/maclist/maclist_commands.h"

int main(int argc, char** argv) {
  std::vector<std::string> arguments(argv + 1, argv + argc);
  std::string out;
  std::string err;
  UseBinaryStandardOutput();
  const int code = RunMaclist(arguments, SystemProfileApi(), &out, &err);
  std::fwrite(out.data(), 1, out.size(), stdout);
  std::fflush(stdout);
  std::fwrite(err.data(), 1, err.size(), stderr);
  return code;
}
