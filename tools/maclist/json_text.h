// JSON string literals for maclist's --json output.
#pragma once

#include <string>

// utf8 between double quotes, with '"', '\' and the control characters (DEL too) escaped.
std::string JsonString(const std::string& utf8);
