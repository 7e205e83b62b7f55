// Times Brevane's save of 5,000 rows through the portable profile functions, and checks that
// the output is byte for byte what rewriting the whole file at every key gives.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "common/list_file.h"
#include "platform/portable/portable_files.h"
#include "platform/portable/portable_profile.h"

namespace fs = std::filesystem;

namespace {

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

double SaveSeconds(ProfileApi& profile, const std::string& path, const ListFields& fields,
                   const std::vector<ListEntry>& rows) {
  PortableFileApi files(path);
  auto start = std::chrono::steady_clock::now();
  WriteListFile(profile, files, path, fields, rows);
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

std::vector<ListEntry> Rows(int count) {
  std::vector<ListEntry> rows;
  for (int n = 1; n <= count; ++n) {
    char mac[16];
    std::snprintf(mac, sizeof mac, "00E0FD%06X", static_cast<unsigned>(n));
    rows.push_back({mac, "10.0." + std::to_string(n / 256) + "." + std::to_string(n % 256),
                    "COMPUTER" + std::to_string(n)});
  }
  return rows;
}

// What writing every key in turn gives for distinct MAC texts: the Config lines, then the list.
std::string KeyByKeyText(const std::vector<ListEntry>& rows) {
  std::string text =
      "[Config]\r\nGateway=192.168.0.254\r\nGwmetric=0\r\nMask=255.255.255.0\r\nDNS1=DHCP\r\n"
      "DNS2=\r\nWorkGroup=WORKGROUP\r\n";
  if (!rows.empty()) text += "[list]\r\n";
  for (const ListEntry& row : rows) text += row.Mac + "=" + row.Ip + "," + row.ComputerName + "\r\n";
  return text;
}

}  // namespace

// Usage: list_save_bench [rows, default 5000] [rows also saved by rewriting, default 1000]
int main(int argc, char** argv) {
  const int rowCount = argc > 1 ? std::atoi(argv[1]) : 5000;
  const int rewriteCount = argc > 2 ? std::atoi(argv[2]) : 1000;
  fs::path dir = fs::temp_directory_path() /
                 ("tolvik-list-save-bench-" +
                  std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
  fs::create_directories(dir);
  const std::string fast = (dir / "fast.ini").string();
  const std::string fastSmall = (dir / "fast-small.ini").string();
  const std::string naive = (dir / "naive.ini").string();

  ListFields fields;
  fields.gateway = "192.168.0.254";
  fields.metric = "0";
  fields.mask = "255.255.255.0";
  fields.dns1 = "DHCP";
  fields.workgroup = "WORKGROUP";
  const std::vector<ListEntry> rows = Rows(rowCount);
  const std::vector<ListEntry> fewerRows = Rows(rewriteCount);

  PortableProfileApi appending(true);
  double fastSeconds = SaveSeconds(appending, fast, fields, rows);
  bool sameAsKeyByKey = ReadBytes(fast) == KeyByKeyText(rows);

  PortableProfileApi appendingAgain(true);
  PortableProfileApi rewriting(false);
  SaveSeconds(appendingAgain, fastSmall, fields, fewerRows);
  double naiveSeconds = SaveSeconds(rewriting, naive, fields, fewerRows);
  bool sameAsRewriting = ReadBytes(fastSmall) == ReadBytes(naive);

  std::printf("save of %d rows with appended lines: %.3f s (%zu bytes), %s the key-by-key text\n",
              rowCount, fastSeconds, static_cast<size_t>(fs::file_size(fast)),
              sameAsKeyByKey ? "identical to" : "DIFFERENT from");
  std::printf("save of %d rows rewriting the file per key: %.3f s, appended output %s\n",
              rewriteCount, naiveSeconds, sameAsRewriting ? "identical" : "DIFFERENT");
  fs::remove_all(dir);
  return sameAsKeyByKey && sameAsRewriting && fastSeconds < 0.5 ? 0 : 1;
}
