// Fuzz target: maclist's list check. The first byte asks for the older client's reach, the rest
// is the file. Every finding but "no machines" names a line of the file, and both reports form.
#include <cstddef>
#include <cstdint>
#include <string>

#include "tests/fuzz/fuzz_check.h"
#include "tools/maclist/list_check.h"
#include "platform/profile_api.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const bool olderClient = data[0] & 1;
  const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  // The reader parses these bytes; the path only names them.
  const std::string path = "/nonexistent/fuzz/mac.ini";
  const auto reader = SystemProfileReaderOf(path, bytes);
  const std::vector<ListFinding> findings = CheckList(*reader, path, bytes, olderClient);

  const size_t lines = FileLines(bytes);
  for (const ListFinding& f : findings) {
    if (f.code == "no-machines") continue;
    FUZZ_EXPECT(f.line >= 1 && f.line <= lines,
                f.code + " on line " + std::to_string(f.line) + " of " + std::to_string(lines) +
                    ": " + f.message + "\n" + HexBytes(bytes));
  }
  FUZZ_EXPECT(FindingsText("mac.ini", findings).size() >= findings.size(), HexBytes(bytes));
  FUZZ_EXPECT(FindingsJson("mac.ini", findings).size() > findings.size(), HexBytes(bytes));
  return 0;
}
