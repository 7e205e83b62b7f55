// One reader per DHCP server's log or lease file: each gives the entries (MAC text as written,
// time key, line) in file order. The import (log_import.h) checks the MAC texts and orders them.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

struct LogEntry {
  std::string mac;      // as the log writes it (upper-cased by the TFTPD32 and lease list rules;
                        // the readers of large lease files give valid ones already normalised)
  std::string timeKey;  // digit text that orders the entries (14 digits but for rules T and W)
  size_t line = 0;      // the entry's line in the text, from 1
};

struct LogReading {
  std::vector<LogEntry> entries;
  size_t lines = 0;      // lines of the text read
  size_t stepsBack = 0;  // syslog stamps (no year) that went back: earlier files given later
};

// The TFTPD32 reader for one line: false when the line holds no "Rcvd DHCP"; otherwise the
// entry, whose MAC text may be empty.
bool ReadTftpdLine(std::string_view line, LogEntry* entry);

// TFTPD32 log: every "Rcvd DHCP" line; lines cut at CR.
LogReading ReadTftpdLog(std::string_view text);

// The logs of the Linux DHCP servers, one granting line per lease given (a renewal is logged the
// same way later), in syslog, journalctl, rsyslog or the server's own log file (see
// server_log_lines.h); lines of other programs are skipped. Keyed by the line's time stamp.
// dnsmasq: "DHCPACK(iface) ADDRESS MAC [name]" (offers and other lines are no entries).
LogReading ReadDnsmasqLog(std::string_view text);
// ISC dhcpd: "DHCPACK on ADDRESS to MAC (name) via iface".
LogReading ReadIscDhcpdLog(std::string_view text);
// Kea: "DHCP4_LEASE_ALLOC [hwtype=1 MAC], cid=...: lease ADDRESS has been allocated ...".
LogReading ReadKeaLog(std::string_view text);

// Windows DHCP Server lease list, as the console of Windows Server 2003 to 2022 exports it: a
// heading line in the system's language, then one lease a line with the address, name, lease
// expiration, type and unique ID cut at tabs (with cutAtCommas, a line that holds no tab is cut at
// commas); lines cut at CR; an empty line is no entry. Dates are read by LeaseTimeKey, day first
// when some line's date shows it.
LogReading ReadWindowsLeaseList(std::string_view text, bool cutAtCommas);

// dnsmasq leases file: "expiry MAC address name client-id" a line, the expiry in seconds since
// 1970; equal expiries keep file order. Leases that never end (expiry 0) come after the rest,
// in reverse file order: dnsmasq writes its newest lease first (a restart, which reads the file
// back, turns the older ones round, which no reader can undo). The IPv6 leases after
// the server's "duid" line carry no MAC address and are no entries.
LogReading ReadDnsmasqLeases(std::string_view text);

// ISC dhcpd.leases: every "lease A.B.C.D { ... }" block with "hardware ethernet", keyed by its
// "starts" time ("starts W YYYY/MM/DD HH:MM:SS;" or "starts epoch N;", UTC); equal times keep
// file order. Host, failover and IPv6 declarations are no entries.
LogReading ReadIscDhcpdLeases(std::string_view text);

// Kea memfile lease file: CSV whose heading names "hwaddr", "valid_lifetime" and "expire"; the
// key is expire - valid_lifetime (when the server last heard the client), equal keys in file order.
LogReading ReadKeaLeases(std::string_view text);

// PowerShell's Get-DhcpServerv4Lease | Export-Csv: quoted CSV, maybe after a "#TYPE" line, whose
// heading names "ClientId" and "LeaseExpiryTime"; keyed by the expiry as LeaseTimeKey reads it.
LogReading ReadPowerShellLeases(std::string_view text);

// One MAC address a line, in any of the usual spellings, possibly among other columns (the first
// field that is a MAC address counts); keyed by line order. Empty lines and lines starting with
// "#" or ";" are no entries; another line is an entry whose MAC text is the whole line.
LogReading ReadPlainMacList(std::string_view text);
