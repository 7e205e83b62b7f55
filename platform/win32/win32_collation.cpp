// CollationApi on Windows: CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE), and the
// SystemCollationApi of the Windows builds.
#include "platform/win32/win32_collation.h"

#include <windows.h>

#include <climits>

#include "platform/portable/portable_collation.h"

int Win32CollationApi::Compare(const std::string& a, const std::string& b) {
  // CompareStringA takes int lengths; with explicit lengths it reads no terminator. It converts
  // both texts from the ANSI code page (936 on the target systems) and compares them with the
  // locale's sort weights: for digits and Latin letters that is digits before letters, case
  // ignored. It returns 0 only on failure (a bad length or locale); the portable order, which
  // agrees with it for those texts, then decides so that a sort still sees a consistent order.
  if (a.size() < static_cast<size_t>(INT_MAX) && b.size() < static_cast<size_t>(INT_MAX)) {
    int result = CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(),
                                static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()));
    if (result != 0) return result - CSTR_EQUAL;
  }
  return PortableCompareText(a, b);
}

CollationApi& SystemCollationApi() {
  static Win32CollationApi collation;
  return collation;
}
