// Times Brevane's save through the Win32 file layer against the key-by-key save through
// Windows' own WritePrivateProfileStringA, in the same run, and checks that both give the same
// bytes. Run by hand: list_save_bench.exe [row counts, default 1000 5000 20000]
#include <windows.h>
// <windows.h> maps DeleteFile to DeleteFileA; the file interface keeps its own name.
#undef DeleteFile

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/list_file.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_profile.h"

namespace {

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Rows as an import and a generation give them: distinct MAC texts, counted addresses, names.
std::vector<ListEntry> Rows(int count) {
  std::vector<ListEntry> rows;
  for (int n = 1; n <= count; ++n) {
    char mac[16];
    std::snprintf(mac, sizeof mac, "00E0FD%06X", static_cast<unsigned>(n));
    char name[24];
    std::snprintf(name, sizeof name, "COMPUTER%05d", n);
    rows.push_back({mac, "10." + std::to_string(n / 65536) + "." + std::to_string(n / 256 % 256) +
                             "." + std::to_string(n % 256),
                    name});
  }
  return rows;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<int> counts;
  for (int i = 1; i < argc; ++i) counts.push_back(std::atoi(argv[i]));
  if (counts.empty()) counts = {1000, 5000, 20000};

  Win32FileApi files;
  Win32ProfileApi profile;
  const std::string dir =
      files.TempPath() + "list-save-bench-" + std::to_string(GetCurrentProcessId()) + "\\";
  CreateDirectoryA(dir.c_str(), nullptr);
  const std::string saved = dir + "mac.ini";
  const std::string baseline = dir + "keybykey.ini";

  ListFields fields;
  fields.gateway = "192.168.0.254";
  fields.metric = "0";
  fields.mask = "255.255.255.0";
  fields.dns1 = "DHCP";
  fields.workgroup = "WORKGROUP";

  bool allSame = true;
  for (int count : counts) {
    const std::vector<ListEntry> rows = Rows(count);
    files.WriteWholeFile(saved, "[list]\r\nOLD=1\r\n");  // the save replaces an older list
    files.DeleteFile(baseline);

    LARGE_INTEGER t0, t1, t2;
    QueryPerformanceCounter(&t0);
    const SaveProblem problem = WriteListFile(profile, files, saved, fields, rows);
    QueryPerformanceCounter(&t1);
    const bool baselineWritten = WriteListKeyByKey(profile, baseline, fields, rows);
    QueryPerformanceCounter(&t2);

    std::string savedBytes, baselineBytes;
    files.ReadWholeFile(saved, &savedBytes);
    files.ReadWholeFile(baseline, &baselineBytes);
    const bool same = problem == SaveProblem::None && baselineWritten && savedBytes == baselineBytes;
    allSame = allSame && same;
    const double save = Seconds(t0, t1);
    const double keyByKey = Seconds(t1, t2);
    std::printf("%6d rows: save %.4f s, key-by-key %.3f s, %.0fx faster, %zu bytes %s\n", count,
                save, keyByKey, save > 0 ? keyByKey / save : 0.0, savedBytes.size(),
                same ? "identical" : "DIFFERENT");
    std::fflush(stdout);
  }
  files.DeleteFile(saved);
  files.DeleteFile(baseline);
  RemoveDirectoryA(dir.c_str());
  return allSame ? 0 : 1;
}
