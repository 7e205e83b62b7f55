// Random bytes from the system's cryptographic source, for one-time machine passwords.
#pragma once

#include <cstddef>
#include <string>

// count bytes from the system's cryptographic random source (getrandom or /dev/urandom on
// Linux; BCryptGenRandom, else CryptGenRandom on Windows). False, with *bytes empty, when the
// system offers none: the caller must then refuse to make passwords rather than weaker ones.
bool SecureRandomBytes(size_t count, std::string* bytes);
