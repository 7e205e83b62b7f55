// Directory paths: the program directory, and a file's path under a directory.
#pragma once

#include <string>

std::string ProgramDirectory(const std::string& modulePath);

// True when the last character of a GBK text is "\". A trail byte of a double-byte character
// can have the value of "\" (0x5C), so the text is walked from its start.
bool EndsInBackslash(const std::string& text);

// directory + relativePath with exactly the one "\" the directory lacks between them (an empty
// directory gives "\" + relativePath).
std::string PathInDirectory(const std::string& directory, const std::string& relativePath);
