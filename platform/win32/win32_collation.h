// CollationApi on Windows: CompareStringA in the user's locale, ignoring case.
#pragma once

#include "platform/collation_api.h"

class Win32CollationApi : public CollationApi {
 public:
  int Compare(const std::string& a, const std::string& b) override;
};
