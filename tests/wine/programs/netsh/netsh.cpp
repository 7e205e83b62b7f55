// Stand-in netsh for the end-to-end tests: records its raw command line and changes nothing.
#include "tests/wine/command_record.h"

int main() {
  // A missing record shows in the test that reads the log; commands.err says why.
  return AppendCommandRecord() ? 0 : 1;
}
