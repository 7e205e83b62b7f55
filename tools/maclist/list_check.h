// The soundness check of a mac.ini list: every problem of the file, each with its line number.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/profile_api.h"

struct ListFinding {
  size_t line = 0;      // 1-based line of the file; 0 when the problem has no line of its own
  std::string code;     // short stable name of the problem, e.g. "duplicate-mac"
  std::string message;  // GBK text: what is wrong and why it matters
};

// Reads the list at path as Tolvik reads it (through profile), and bytes, the file's content,
// once by the same profile rules for the line numbers; reports every problem (the sections and
// joined lines, the settings, then the machine lines in file order).
// With olderClient, lines an older client would never see (it reads the list section once into
// 32,767 bytes) are reported too; today's Tolvik reads the whole section, so any list of more
// than about a thousand machines passes that size without being wrong for it.
std::vector<ListFinding> CheckList(ProfileApi& profile, const std::string& path,
                                   const std::string& bytes, bool olderClient = false);

// One line per finding, "FILE:LINE: message [code]", the messages as TerminalText shows them;
// displayPath is taken as it is (it is already in the console's encoding).
std::string FindingsText(const std::string& displayPath, const std::vector<ListFinding>& findings);

// The same findings as a JSON document, the messages in UTF-8.
std::string FindingsJson(const std::string& displayPath, const std::vector<ListFinding>& findings);

// Computer-name rules Windows applies: at most 15 bytes, not empty, not digits only, and none of
// the characters Windows refuses in a computer name. Empty result when the name is acceptable,
// else the finding's code.
std::string ComputerNameProblem(const std::string& name);
