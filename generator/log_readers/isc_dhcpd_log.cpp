// ISC dhcpd's log: every "DHCPACK on ADDRESS to MAC (name) via iface" line, keyed by its time.
#include "generator/log_readers/log_readers.h"
#include "generator/log_readers/server_log_lines.h"

namespace {

bool MacOfAck(std::string_view message, std::string_view* mac) {
  // "DHCPACK to ADDRESS (MAC)" answers an INFORM from a machine that has its address already.
  const size_t ack = FindWordStart(message, "DHCPACK on ");
  if (ack == std::string_view::npos) return false;
  size_t pos = ack + 11;
  if (!IsDottedIpv4(NextWord(message, pos)) || NextWord(message, pos) != "to") return false;
  *mac = NextWord(message, pos);
  return true;
}

constexpr GrantingLineRule kIscDhcpdAck = {"DHCPACK on ", "dhcpd", true, MacOfAck};

}  // namespace

LogReading ReadIscDhcpdLog(std::string_view text) { return ReadGrantingLines(text, kIscDhcpdAck); }
