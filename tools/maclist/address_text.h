// Dotted IPv4 address texts as the list holds them, read strictly for checking.
#pragma once

#include <cstdint>
#include <string>

// Four decimal numbers 0 to 255 separated by ".", nothing else (no spaces, no sign, no empty
// part). A number with a leading zero ("010") is refused: Windows' address parser reads it as
// octal, so "010" would become 8. On success *address holds the numbers, the first in the top byte.
bool ParseDottedAddress(const std::string& text, uint32_t* address);

// A subnet mask: ones from the top, then only zeros (255.255.255.0, 255.255.0.0, ...).
bool IsContiguousMask(uint32_t mask);

std::string DottedText(uint32_t address);
