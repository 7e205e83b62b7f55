// Conversions between the programs' GBK bytes (code page 936) and the console the command-line
// companion runs in.
#pragma once

#include <string>

// Text for standard output and standard error. On Linux terminals speak UTF-8, so the GBK text
// is converted from code page 936 to UTF-8; a byte sequence that is no GBK character is shown
// as "?". On Windows the console shows the ANSI code page, so the bytes pass unchanged.
std::string TerminalText(const std::string& gbk);

// UTF-8 from GBK (code page 936) on every system, for JSON, which must be UTF-8.
std::string Utf8FromGbk(const std::string& gbk);

// A text value given on the command line (computer name prefix, connection name...), turned into
// the GBK bytes the programs store. On Linux the argument is UTF-8 and is converted to code
// page 936; false when it is not valid UTF-8 or holds a character GBK cannot write. On Windows
// the argument is already in the ANSI code page and passes unchanged.
bool ArgumentToGbk(const std::string& argument, std::string* gbk);

// Standard output carries bytes exactly as written (no LF to CR LF translation on Windows), so
// "generate -o -" gives the file's own bytes.
void UseBinaryStandardOutput();
