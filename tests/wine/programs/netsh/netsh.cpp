// Stand-in netsh for the end-to-end tests: records its raw command line and changes nothing.
#include "tests/wine/command_record.h"

int main() {
  AppendCommandRecord();  // a missing record shows in the test that reads the log
  return 0;
}
