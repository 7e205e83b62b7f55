// MAC texts as the list keys them: twelve upper-case hexadecimal digits without separators.
#pragma once

#include <string>
#include <string_view>

// The MAC text of an address as a server wrote it: "00-0b-29-4e-57-3a", "00:0b:29:4e:57:3a",
// "000b.294e.573a" or "000b294e573a", and a DHCP client identifier of hardware type 1 ("01"
// and the six bytes, in the same spellings). Characters below 33 at both ends are ignored.
// False for any other text: a key that is no MAC address could never match a PC, and "[" or
// "=" in it would break the list file.
bool NormalizeMacText(std::string_view text, std::string* mac);
