// Fuzz target: maclist status reading a report anyone on the LAN may have written. The first
// byte chooses whether the list holds the report's MAC and whether a twin in other letter case
// lies beside it; the rest is the report. Every machine gets one line, the terminal sees no
// control byte, the JSON is UTF-8 without raw control bytes, and no report is trusted unless it
// says done consistently.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/fuzz/fuzz_check.h"
#include "tests/scratch_directory.h"
#include "tools/maclist/status_command.h"

namespace {

// True when text is well-formed UTF-8 (no overlong forms, no surrogates, at most U+10FFFF).
bool IsUtf8(const std::string& text) {
  for (size_t i = 0; i < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    const size_t length = c < 0x80 ? 1 : c >= 0xC2 && c <= 0xDF ? 2 : c >= 0xE0 && c <= 0xEF ? 3
                                                               : c >= 0xF0 && c <= 0xF4 ? 4 : 0;
    if (length == 0 || i + length > text.size()) return false;
    unsigned long point = length == 1 ? c : c & (0x7F >> length);
    for (size_t k = 1; k < length; ++k) {
      const unsigned char next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      point = (point << 6) | (next & 0x3F);
    }
    const unsigned long least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (point < least[length] || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) {
      return false;
    }
    i += length;
  }
  return true;
}

bool HasControlByte(const std::string& text) {
  for (char c : text) {
    if (c != '\n' && (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)) return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  static const ScratchDirectory dir("fuzz-status-reports", FuzzScratchBase());
  const bool listed = data[0] & 1;
  const bool twin = data[0] & 2;
  const std::string report(reinterpret_cast<const char*>(data) + 1, size - 1);
  const std::string list = dir.WriteFile(
      "mac.ini", std::string("[list]\r\n") + (listed ? "00E0FD3A1B01" : "00E0FD3A1B02") +
                     "=192.168.0.1,PC001\r\n");
  dir.WriteFile("tolvik-00E0FD3A1B01.ini", report);
  const std::string twinPath = dir.Path("tolvik-00e0fd3a1b01.ini");
  if (twin) {
    dir.WriteFile("tolvik-00e0fd3a1b01.ini", report);
  } else {
    std::remove(twinPath.c_str());
  }

  std::vector<MachineStatus> machines;
  std::string error;
  FUZZ_EXPECT(CollectStatus(list, dir.Path(""), &machines, &error), error);
  FUZZ_EXPECT(machines.size() == (listed ? 1u : 2u), HexBytes(report));
  const MachineStatus& reported = machines[listed ? 0 : 1];
  if (twin) FUZZ_EXPECT(reported.state == MachineState::kConflicting, HexBytes(report));
  if (reported.state == MachineState::kDone) {
    FUZZ_EXPECT(reported.result == "done" && reported.failedSteps.empty(), HexBytes(report));
  }

  const std::string text = StatusText(machines);
  FUZZ_EXPECT(std::count(text.begin(), text.end(), '\n') == static_cast<long>(machines.size() + 1),
              text);
  FUZZ_EXPECT(!HasControlByte(text), HexBytes(text));
  const std::string json = StatusJson(machines);
  FUZZ_EXPECT(IsUtf8(json) && !HasControlByte(json), HexBytes(json));
  const std::string page = StatusHtml(list, machines);
  FUZZ_EXPECT(IsUtf8(page), HexBytes(page));
  return 0;
}
