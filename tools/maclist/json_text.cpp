// JSON string literals: the escapes JSON requires, nothing more (the text stays UTF-8).
#include "tools/maclist/json_text.h"

#include <cstdio>

std::string JsonString(const std::string& utf8) {
  std::string out = "\"";
  for (unsigned char c : utf8) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20 || c == 0x7F) {  // DEL too: the JSON may reach a terminal
      char cell[8];
      std::snprintf(cell, sizeof cell, "\\u%04x", c);
      out += cell;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}
