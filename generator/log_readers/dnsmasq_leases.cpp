// dnsmasq leases file: one IPv4 lease a line, keyed by its expiry.
#include <string>

#include "generator/log_readers/lease_dates.h"
#include "generator/log_readers/log_readers.h"
#include "generator/log_readers/mac_text.h"
#include "generator/log_readers/text_lines.h"

namespace {

// The next field separated by spaces or tabs, from pos on.
std::string_view NextField(std::string_view line, size_t& pos) {
  while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) ++pos;
  const size_t begin = pos;
  while (pos < line.size() && line[pos] != ' ' && line[pos] != '\t') ++pos;
  return line.substr(begin, pos - begin);
}

// A dotted IPv4 address: digits and dots only, with at least one dot.
bool LooksLikeIpv4(std::string_view text) {
  if (text.find('.') == std::string_view::npos) return false;
  for (char c : text) {
    if (c != '.' && (c < '0' || c > '9')) return false;
  }
  return true;
}

}  // namespace

LogReading ReadDnsmasqLeases(std::string_view text) {
  LogReading reading;
  reading.entries.reserve(text.size() / 64);
  bool ipv6Part = false;
  reading.lines = ForEachTextLine(text, [&](std::string_view line, size_t number) {
    if (ipv6Part) return;
    size_t pos = 0;
    const std::string_view expiry = NextField(line, pos);
    if (expiry == "duid") {  // the server's DUID: the IPv6 leases follow
      ipv6Part = true;
      return;
    }
    const std::string_view mac = NextField(line, pos);
    const std::string_view address = NextField(line, pos);
    long long seconds = 0;
    if (!ReadEpochSeconds(expiry, &seconds) || mac.empty() || !LooksLikeIpv4(address)) return;
    LogEntry entry;
    // Checked here already, so that a million leases need no copy of their text.
    if (!NormalizeMacText(mac, &entry.mac)) entry.mac = std::string(mac);
    entry.line = number;
    // 0 is a lease that never ends: no time to order by, but dnsmasq puts each new lease at the
    // head of its list, so a later line is an older lease.
    if (seconds == 0) {
      const long long fromEnd = 2000000000000LL - static_cast<long long>(number);
      entry.timeKey = "99" + std::to_string(fromEnd).substr(1);  // 14 digits, above every date
    } else if (!EpochTimeKey(seconds, &entry.timeKey)) {
      entry.timeKey = kUndatedKey;
    }
    reading.entries.push_back(std::move(entry));
  });
  return reading;
}
