// Text comparison by the user's locale collation, without regard to case.
#pragma once

#include <string>

class CollationApi {
 public:
  virtual ~CollationApi() = default;
  // CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE): negative, zero or positive.
  virtual int Compare(const std::string& a, const std::string& b) = 0;
};

// The implementation of this build: CompareStringA on Windows, a portable comparison elsewhere.
CollationApi& SystemCollationApi();
