// CollationApi without Windows: a case-insensitive byte comparison in the order Windows sorts.
#pragma once

#include <string>

#include "platform/collation_api.h"

// Orders texts as CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE) does for digits and
// Latin letters: symbols before digits, digits before letters, "a".."z" equal to "A".."Z",
// a text before every longer text it begins. Bytes from 0x80 up (GBK) follow the letters in
// byte order, which for the first level of GB2312 characters is their pinyin order.
int PortableCompareText(const std::string& a, const std::string& b);

class PortableCollationApi : public CollationApi {
 public:
  int Compare(const std::string& a, const std::string& b) override;
};
