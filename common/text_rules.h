// Text rules shared by Tolvik and Brevane: trimming, ASCII upper-casing, reading numbers, zero padding.
#pragma once

#include <string>

// Removes every character whose code is below 33 (spaces, tabs, control characters) at both ends.
std::string TrimText(const std::string& text);

// Upper-cases only the bytes "a" to "z"; every other byte (GBK lead and trail bytes included) stays.
std::string UpperAscii(const std::string& text);

// Reads an optional "+" or "-" and the decimal digits up to the first other character.
// A text without leading digits gives 0; values past the range of long long saturate.
long long ReadNumber(const std::string& text);

// The decimal text of number, left-filled with "0" to at least width characters; never cut.
std::string ZeroPad(long long number, int width);

// True when both texts are equal comparing "a".."z" as their capitals (INI section and key names).
bool EqualsIgnoringAsciiCase(const std::string& a, const std::string& b);

// The connection name as it goes into a netsh command line: between double quotes when it holds
// a space or a tab (netsh would otherwise read it as several arguments), else unchanged.
std::string NetshConnectionName(const std::string& connectionName);
