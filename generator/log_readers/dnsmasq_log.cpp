// dnsmasq's log: every "DHCPACK(iface) ADDRESS MAC [name]" line, keyed by its time stamp.
#include "generator/log_readers/log_readers.h"
#include "generator/log_readers/server_log_lines.h"

namespace {

bool MacOfAck(std::string_view message, std::string_view* mac) {
  // With --log-dhcp a transaction number stands before the word.
  const size_t ack = FindWordStart(message, "DHCPACK(");
  if (ack == std::string_view::npos) return false;
  size_t pos = message.find(')', ack);
  if (pos == std::string_view::npos) return false;
  ++pos;
  if (!IsDottedIpv4(NextWord(message, pos))) return false;
  *mac = NextWord(message, pos);
  return true;
}

// "dnsmasq-dhcp" in syslog; the server's own log file names its program too.
constexpr GrantingLineRule kDnsmasqAck = {"DHCPACK(", "dnsmasq", false, MacOfAck};

}  // namespace

LogReading ReadDnsmasqLog(std::string_view text) { return ReadGrantingLines(text, kDnsmasqAck); }
