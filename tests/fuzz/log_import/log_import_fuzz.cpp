// Fuzz target: the DHCP log import through its one entry point, every reader. The first byte
// picks the format and whether the other readers may be tried, the rest is the file. Rows come
// out one per MAC text, numbered from 001, and the report counts them.
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <set>
#include <string>

#include "common/text_rules.h"
#include "generator/log_import.h"
#include "platform/portable/portable_code_page.h"
#include "platform/portable/portable_collation.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

// Every format the import reads; a new reader is fuzzed once it is listed here (at the end, so
// that the seeds' first bytes keep choosing the formats they were written for).
const LogFormat kFormats[] = {LogFormat::Tftpd32, LogFormat::WindowsDhcpServer,
                              LogFormat::PowerShell, LogFormat::Kea, LogFormat::Dnsmasq,
                              LogFormat::IscDhcpd, LogFormat::PlainList, LogFormat::Auto,
                              LogFormat::DnsmasqLog, LogFormat::IscDhcpdLog, LogFormat::KeaLog};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const LogFormat format = kFormats[data[0] % std::size(kFormats)];
  const OtherReaders others = (data[0] / std::size(kFormats)) % 2 ? OtherReaders::Skip
                                                                  : OtherReaders::Try;
  const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);

  PortableCollationApi collation;
  PortableCodePageApi codePage;
  ListModel model;
  model.rows.resize(3);  // rows of an earlier import are replaced
  ImportReport report;
  const bool imported = ImportLogBytes(bytes, format, model, collation, codePage, &report, others);

  FUZZ_EXPECT(imported == !model.rows.empty(), HexBytes(bytes));
  FUZZ_EXPECT(report.rows == model.rows.size(), HexBytes(bytes));
  std::set<std::string> macs;
  for (size_t i = 0; i < model.rows.size(); ++i) {
    const ListRow& row = model.rows[i];
    FUZZ_EXPECT(row.cells[kColumnSequence] == ZeroPad(static_cast<long long>(i + 1), 3),
                HexBytes(bytes));
    // Only a MAC text a PC can match reaches the list: twelve upper-case hexadecimal digits.
    const std::string& mac = row.cells[kColumnMac];
    FUZZ_EXPECT(mac.size() == 12 && mac.find_first_not_of("0123456789ABCDEF") == std::string::npos,
                "MAC " + HexBytes(mac) + " from " + HexBytes(bytes));
    FUZZ_EXPECT(macs.insert(row.cells[kColumnMac]).second,
                "MAC " + HexBytes(row.cells[kColumnMac]) + " twice in " + HexBytes(bytes));
  }
  return 0;
}
