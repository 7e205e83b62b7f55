// Kea's log: every "DHCP4_LEASE_ALLOC [hwtype=1 MAC], ..." line, keyed by its time stamp.
#include "generator/log_readers/log_readers.h"
#include "generator/log_readers/server_log_lines.h"

namespace {

constexpr std::string_view kAllocated = "DHCP4_LEASE_ALLOC [hwtype=1 ";

bool MacOfAllocation(std::string_view message, std::string_view* mac) {
  // The first bracket names the machine ("cid=[01:...]" after it is the client identifier); a
  // hardware type other than Ethernet (1) has no six-byte MAC address.
  const size_t at = FindWordStart(message, kAllocated);
  if (at == std::string_view::npos) return false;
  const std::string_view machine = message.substr(at + kAllocated.size());
  const size_t end = machine.find(']');
  if (end == std::string_view::npos) return false;
  *mac = machine.substr(0, end);
  return true;
}

constexpr GrantingLineRule kKeaAllocation = {kAllocated, "kea-dhcp4", true, MacOfAllocation};

}  // namespace

LogReading ReadKeaLog(std::string_view text) { return ReadGrantingLines(text, kKeaAllocation); }
