// Fuzz target: the DHCP log import through its one entry point, every reader. The first byte
// picks the format and whether the other readers may be tried, the rest is the file. Rows come
// out one per MAC text, numbered from 001, and the report counts them. The same lines also go
// through the year choice of syslog stamps: each stamp lands at most two months before the one
// above it, and at most a year after it.
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <set>
#include <string>

#include "common/text_rules.h"
#include "generator/log_import.h"
#include "generator/log_readers/server_log_lines.h"
#include "generator/log_readers/text_lines.h"
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

// Seconds since 1970 of a 14-digit key (yyyyMMddHHmmss).
long long KeySeconds(const std::string& key) {
  const auto number = [&](size_t at, size_t count) { return std::stoll(key.substr(at, count)); };
  long long year = number(0, 4);
  const long long month = number(4, 2), day = number(6, 2);
  year -= month <= 2 ? 1 : 0;
  const long long era = year / 400;
  const long long yearOfEra = year - era * 400;
  const long long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const long long days = era * 146097 + yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 +
                         dayOfYear - 719468;
  return days * 86400 + number(8, 2) * 3600 + number(10, 2) * 60 + number(12, 2);
}

// The lines that start with a month name carry a syslog stamp or none (then they keep the key
// of the line above); the others are left out, so that no ISO stamp sets the key between.
void CheckYearChoice(const std::string& bytes) {
  ServerLogReader reader;
  std::string last;
  ForEachTextLine(bytes, [&](std::string_view line, size_t) {
    static const std::string kMonths = "JanFebMarAprMayJunJulAugSepOctNovDec";
    const size_t month = line.size() < 3 ? std::string::npos : kMonths.find(line.substr(0, 3));
    if (month == std::string::npos || month % 3 != 0) return;
    const std::string key = reader.Read(line).timeKey;
    FUZZ_EXPECT(key.size() == 14 && key.find_first_not_of("0123456789") == std::string::npos,
                "key " + key + " of " + std::string(line));
    // Before 1970 or after 9999 there is no key: the zero key stands for it.
    if (!last.empty() && last != "00000000000000" && key != "00000000000000") {
      const long long step = KeySeconds(key) - KeySeconds(last);
      FUZZ_EXPECT(step >= -62 * 86400LL && step <= 367 * 86400LL,
                  last + " then " + key + " for " + std::string(line));
    }
    last = key;
  });
}

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
  CheckYearChoice(bytes);
  return 0;
}
