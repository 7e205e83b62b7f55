// DHCP log import: TFTPD32 logs (rule T) and Windows DHCP Server lease lists (rule W).
#pragma once

#include <string>
#include <vector>

#include "generator/list_model.h"
#include "platform/collation_api.h"

enum class LogFormat { Tftpd32, WindowsDhcpServer };

struct LogEntry {
  std::string mac;      // separators removed, upper-cased
  std::string timeKey;  // digit text that orders the entries
};

// Cuts file bytes into lines at CR (CR LF is one end, a lone LF stays in its line, NUL ends).
std::vector<std::string> CutLogLines(const std::string& bytes);

// Rule T and rule W over the lines of a log, in log order.
std::vector<LogEntry> CollectTftpdEntries(const std::vector<std::string>& lines);
std::vector<LogEntry> CollectWindowsDhcpEntries(const std::vector<std::string>& lines);

// The whole import of a file's bytes: replaces the rows with one row per machine in the order
// the log saw them, numbered 001...; true when at least one row exists afterwards.
bool ImportLogBytes(const std::string& bytes, LogFormat format, ListModel& model,
                    CollationApi& collation);
