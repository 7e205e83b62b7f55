// DHCP log import: choosing the reader, the MAC check and the ordering of the rows.
#include "generator/log_import.h"

#include <algorithm>
#include <cstdint>
#include <unordered_set>

#include "common/text_rules.h"
#include "generator/log_readers/text_lines.h"

namespace {

// How the rows of a reader's entries are ordered.
enum class RowOrder {
  // Each machine at its first entry in the file; equal time keys (machines seen in the same
  // second) go in MAC order, as the window's locale sort puts them: the TFTPD32 log and the
  // Windows lease list.
  FirstInFile,
  // Each machine at its earliest time key (14-digit texts), equal keys in file order: also right
  // when the entries come from several files of one server.
  EarliestTime,
};

LogReading ReadWindowsLeaseListCutAtCommas(std::string_view text) {
  return ReadWindowsLeaseList(text, true);
}

// Every format, one row each: its name on maclist's command line, its description, its reader,
// how its rows are ordered, and whether its file keeps only each lease's latest state (the
// lease files of dnsmasq, ISC dhcpd and Kea: a renewal moves a machine later, a restart or
// cleanup rewrites the file, dnsmasq forgets released leases; the servers' logs keep the
// order). The rows stand in the order in which the other readers are tried: the logs before the
// lease files, and the plain list, which takes any MAC-like text, last.
struct LogFormatRow {
  LogFormat format;
  const char* name;
  const char* description;
  LogReading (*read)(std::string_view text);
  RowOrder order;
  bool keepsOnlyLatestLeases;
};

const LogFormatRow kLogFormats[] = {
    {LogFormat::Tftpd32, "tftpd32", "TFTPD32 log", ReadTftpdLog, RowOrder::FirstInFile, false},
    {LogFormat::DnsmasqLog, "dnsmasq-log", "dnsmasq log, its DHCPACK lines", ReadDnsmasqLog,
     RowOrder::EarliestTime, false},
    {LogFormat::IscDhcpdLog, "isc-log", "ISC dhcpd log, its DHCPACK lines", ReadIscDhcpdLog,
     RowOrder::EarliestTime, false},
    {LogFormat::KeaLog, "kea-log", "Kea log, its DHCP4_LEASE_ALLOC lines", ReadKeaLog,
     RowOrder::EarliestTime, false},
    {LogFormat::WindowsDhcpServer, "windows", "Windows DHCP Server lease list",
     ReadWindowsLeaseListCutAtCommas, RowOrder::FirstInFile, false},
    {LogFormat::PowerShell, "powershell", "PowerShell Get-DhcpServerv4Lease export",
     ReadPowerShellLeases, RowOrder::EarliestTime, false},
    {LogFormat::Kea, "kea", "Kea lease file", ReadKeaLeases, RowOrder::EarliestTime, true},
    {LogFormat::Dnsmasq, "dnsmasq", "dnsmasq leases file", ReadDnsmasqLeases,
     RowOrder::EarliestTime, true},
    {LogFormat::IscDhcpd, "isc", "ISC dhcpd.leases file", ReadIscDhcpdLeases,
     RowOrder::EarliestTime, true},
    {LogFormat::PlainList, "plain", "plain list of MAC addresses", ReadPlainMacList,
     RowOrder::EarliestTime, false},
};

// The row of a format; null for Auto, which names no reader.
const LogFormatRow* RowOf(LogFormat format) {
  for (const LogFormatRow& row : kLogFormats) {
    if (row.format == format) return &row;
  }
  return nullptr;
}

bool HasUtf16ByteOrderMark(const std::string& bytes) {
  return bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE';
}

bool HasUtf8ByteOrderMark(const std::string& bytes) {
  return bytes.size() >= 3 && bytes[0] == '\xEF' && bytes[1] == '\xBB' && bytes[2] == '\xBF';
}

// The bytes after the mark as little-endian UTF-16 units (an odd last byte is no unit),
// converted to the ANSI code page.
std::string ConvertUtf16Le(const std::string& bytes, CodePageApi& codePage) {
  std::u16string units;
  units.reserve((bytes.size() - 2) / 2);
  for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
    const unsigned low = static_cast<unsigned char>(bytes[i]);
    const unsigned high = static_cast<unsigned char>(bytes[i + 1]);
    units.push_back(static_cast<char16_t>(low | (high << 8)));
  }
  return codePage.Utf16ToAnsi(units);
}

// The file's text for the readers of other servers: without a byte-order mark, converted from
// UTF-16LE when so marked. Made once, on first use.
class FileText {
 public:
  FileText(const std::string& bytes, CodePageApi& codePage) : bytes_(bytes), codePage_(codePage) {}
  bool Utf16() const { return HasUtf16ByteOrderMark(bytes_); }
  std::string_view Text() {
    if (Utf16()) {
      if (!converted_) {
        text_ = ConvertUtf16Le(bytes_, codePage_);
        converted_ = true;
      }
      return text_;
    }
    std::string_view text = bytes_;
    if (HasUtf8ByteOrderMark(bytes_)) text.remove_prefix(3);
    return text;
  }

 private:
  const std::string& bytes_;
  CodePageApi& codePage_;
  std::string text_;
  bool converted_ = false;
};

// The entries whose MAC text is a MAC address, normalised, counted into report.
std::vector<LogEntry> CheckMacTexts(LogReading reading, ImportReport* report) {
  std::vector<LogEntry>& entries = reading.entries;
  report->lines = reading.lines;
  report->stepsBack = reading.stepsBack;
  report->entries = entries.size();
  report->withoutMac = 0;
  report->leftOut.clear();
  std::string mac;
  size_t kept = 0;
  for (LogEntry& entry : entries) {
    if (entry.mac.empty()) {
      ++report->withoutMac;
    } else if (NormalizeMacText(entry.mac, &mac)) {
      entry.mac = mac;
      if (&entries[kept] != &entry) entries[kept] = std::move(entry);
      ++kept;
    } else {
      report->leftOut.push_back(LeftOutLine{entry.line, entry.mac.substr(0, 64)});
    }
  }
  entries.resize(kept);
  return std::move(entries);
}

// Reads with one reader; first (true) for the chosen reader, which reads the bytes as they stand
// before the converted text, as Brevane always has.
std::vector<LogEntry> ReadWith(const LogFormatRow& reader, bool first, const std::string& bytes,
                               FileText& text, ImportReport* report) {
  report->convertedFromUtf16 = false;
  std::vector<LogEntry> entries;
  const LogFormat format = reader.format;
  if (first && (format == LogFormat::Tftpd32 || format == LogFormat::WindowsDhcpServer)) {
    entries = CheckMacTexts(format == LogFormat::Tftpd32 ? ReadTftpdLog(bytes)
                                                         : ReadWindowsLeaseList(bytes, false),
                            report);
    if (!entries.empty()) return entries;
    // The TFTPD32 reader reads the converted text only from a UTF-16 file.
    if (format == LogFormat::Tftpd32 && !text.Utf16()) return entries;
  }
  report->convertedFromUtf16 = text.Utf16();
  return CheckMacTexts(reader.read(text.Text()), report);
}

}  // namespace

const char* LogFormatName(LogFormat format) {
  const LogFormatRow* row = RowOf(format);
  return row ? row->name : "auto";
}

const char* LogFormatDescription(LogFormat format) {
  const LogFormatRow* row = RowOf(format);
  return row ? row->description : "no reader";
}

bool LogFormatFromName(const std::string& name, LogFormat* format) {
  if (EqualsIgnoringAsciiCase(name, "auto")) {
    *format = LogFormat::Auto;
    return true;
  }
  for (const LogFormatRow& row : kLogFormats) {
    if (EqualsIgnoringAsciiCase(name, row.name)) {
      *format = row.format;
      return true;
    }
  }
  return false;
}

bool KeepsOnlyLatestLeases(LogFormat reader) {
  const LogFormatRow* row = RowOf(reader);
  return row != nullptr && row->keepsOnlyLatestLeases;
}

void AppendLogFile(std::string* joined, const std::string& file) {
  if (!joined->empty() && joined->back() != '\n' && joined->back() != '\r') joined->push_back('\n');
  joined->append(file);
}

std::vector<std::string> CutLogLines(const std::string& bytes) {
  std::vector<std::string> lines;
  ForEachCrLine(bytes, [&](std::string_view line, size_t) { lines.emplace_back(line); });
  return lines;
}

bool ImportLogBytes(const std::string& bytes, LogFormat format, ListModel& model,
                    CollationApi& collation, CodePageApi& codePage, ImportReport* report,
                    OtherReaders others) {
  ImportReport ownReport;
  ImportReport& steps = report ? *report : ownReport;
  steps = ImportReport();
  model.rows.clear();

  // The chosen reader first, then the others in their fixed order.
  std::vector<const LogFormatRow*> order;
  const LogFormatRow* chosen = RowOf(format);
  if (chosen != nullptr) order.push_back(chosen);
  if (chosen == nullptr || others == OtherReaders::Try) {
    for (const LogFormatRow& reader : kLogFormats) {
      if (&reader != chosen) order.push_back(&reader);
    }
  }
  FileText text(bytes, codePage);
  std::vector<LogEntry> entries;
  for (size_t i = 0; i < order.size(); ++i) {
    entries = ReadWith(*order[i], i == 0 && chosen != nullptr, bytes, text, &steps);
    steps.reader = order[i]->format;
    if (!entries.empty()) break;
    if (i + 1 < order.size()) steps.triedBefore.push_back(order[i]->format);
  }

  // Ordered by the time key first where the earliest entry counts (the 14-digit keys compare
  // as plain character order, as the locale comparison would). The TFTPD32 log and the lease
  // list keep file order here and are sorted by the locale below.
  const bool firstInFile = RowOf(steps.reader)->order == RowOrder::FirstInFile;
  if (!firstInFile) {
    std::stable_sort(entries.begin(), entries.end(), [](const LogEntry& a, const LogEntry& b) {
      return a.timeKey < b.timeKey;
    });
  }
  // One machine per MAC text. (The checked MAC texts are upper-case hexadecimal, so equal texts
  // are exactly the ones the locale comparison finds equal.)
  {
    std::vector<bool> first(entries.size());
    {
      std::unordered_set<std::string_view> seen;
      seen.reserve(entries.size());
      for (size_t i = 0; i < entries.size(); ++i) first[i] = seen.insert(entries[i].mac).second;
    }
    size_t kept = 0;
    for (size_t i = 0; i < entries.size(); ++i) {
      if (!first[i]) continue;
      if (kept != i) entries[kept] = std::move(entries[i]);
      ++kept;
    }
    steps.repeats = entries.size() - kept;
    entries.resize(kept);
  }
  model.rows.resize(entries.size());
  for (size_t i = 0; i < entries.size(); ++i) {
    model.rows[i].cells[kColumnSequence] = std::move(entries[i].timeKey);
    model.rows[i].cells[kColumnMac] = std::move(entries[i].mac);
  }
  model.direction = SortDirection::Ascending;
  if (firstInFile) {
    SortRows(model, kColumnMac, true, collation);
    SortRows(model, kColumnSequence, true, collation);
  }
  for (size_t i = 0; i < model.rows.size(); ++i) {
    model.rows[i].cells[kColumnSequence] = ZeroPad(static_cast<long long>(i + 1), 3);
  }
  steps.rows = model.rows.size();
  return !model.rows.empty();
}

bool ImportLogBytes(const std::string& bytes, LogFormat format, ListModel& model,
                    CollationApi& collation) {
  return ImportLogBytes(bytes, format, model, collation, SystemCodePageApi());
}
