// SecureRandomBytes outside Windows: getrandom, and /dev/urandom where the call is missing.
#include <sys/random.h>

#include <cerrno>
#include <fstream>

#include "platform/secure_random.h"

bool SecureRandomBytes(size_t count, std::string* bytes) {
  bytes->assign(count, '\0');
  size_t filled = 0;
  while (filled < count) {
    const ssize_t got = getrandom(&(*bytes)[filled], count - filled, 0);
    if (got > 0) {
      filled += static_cast<size_t>(got);
    } else if (got < 0 && errno == EINTR) {
      continue;
    } else {
      break;
    }
  }
  if (filled == count) return true;
  std::ifstream urandom("/dev/urandom", std::ios::binary);
  if (urandom.read(&(*bytes)[0], static_cast<std::streamsize>(count))) return true;
  bytes->clear();
  return false;
}
