// Times "maclist check" on a clean list of 10,000 machines (or the count given): reading as
// Tolvik reads, line numbers and every rule; "--mark" starts the file with the UTF-8 byte-order
// mark an editor may add. Prints the best of five runs and the findings (there must be none).
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/profile_api.h"
#include "tools/maclist/list_check.h"
#include "platform/profile_api.h"

namespace fs = std::filesystem;

int main(int argc, char** argv) {
  const int machines = argc > 1 ? std::atoi(argv[1]) : 10000;
  const bool mark = argc > 2 && std::string(argv[2]) == "--mark";
  std::string text = std::string(mark ? "\xEF\xBB\xBF" : "") +
      "[Config]\r\nGateway=10.0.0.1\r\nGwmetric=0\r\nMask=255.255.0.0\r\nDNS1=DHCP\r\nDNS2=\r\n"
      "WorkGroup=WORKGROUP\r\n[list]\r\n";
  for (int n = 1; n <= machines; ++n) {
    char line[96];
    // Addresses 10.0.x.1 to 10.0.x.250, never ending in 0 or 255.
    std::snprintf(line, sizeof line, "00E0FD%06X=10.0.%d.%d,PC%05d\r\n", static_cast<unsigned>(n),
                  n / 250, n % 250 + 1, n);
    text += line;
  }
  const fs::path path = fs::temp_directory_path() / "maclist-check-bench.ini";
  std::ofstream(path, std::ios::binary) << text;

  double best = 1e9;
  size_t findings = 0;
  for (int run = 0; run < 5; ++run) {
    const auto start = std::chrono::steady_clock::now();
    // As "maclist check" reads: the file's bytes, then the list through the system's reader.
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto reader = SystemProfileReaderOf(path.string(), bytes);
    const auto result = CheckList(*reader, path.string(), bytes);
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    if (ms < best) best = ms;
    findings = result.size();
    if (run == 0 && !result.empty()) std::fputs(FindingsText(path.string(), result).c_str(), stdout);
  }
  fs::remove(path);
  std::printf("check of %d machines (%zu bytes%s): best of 5 runs %.1f ms, %zu findings\n", machines,
              text.size(), mark ? ", UTF-8 mark" : "", best, findings);
  return findings == 0 ? 0 : 1;
}
