// SecureRandomBytes on Windows: BCryptGenRandom from Vista on, CryptGenRandom before.
#include <windows.h>
#include <wincrypt.h>

#include "platform/secure_random.h"
#include "platform/win32/win32_late_bound.h"

namespace {

// BCryptGenRandom with BCRYPT_USE_SYSTEM_PREFERRED_RNG (Windows 7 on; Vista refuses the flag
// and the older source below is used). bcrypt.dll is looked up so that Windows 2000 and XP,
// which lack it, still start maclist.
bool FromBcrypt(std::string* bytes) {
  using GenRandom = LONG(WINAPI*)(void*, unsigned char*, ULONG, ULONG);
  static const GenRandom generate = LateBoundFunction<GenRandom>("bcrypt.dll", "BCryptGenRandom");
  constexpr ULONG kUseSystemPreferredRng = 0x00000002;
  return generate != nullptr &&
         generate(nullptr, reinterpret_cast<unsigned char*>(&(*bytes)[0]),
                  static_cast<ULONG>(bytes->size()), kUseSystemPreferredRng) >= 0;
}

// The CryptoAPI source every Windows from 2000 on has (deprecated in favour of the above).
bool FromCryptoApi(std::string* bytes) {
  HCRYPTPROV provider = 0;
  if (!CryptAcquireContextA(&provider, nullptr, nullptr, PROV_RSA_FULL,
                            CRYPT_VERIFYCONTEXT | CRYPT_SILENT)) {
    return false;
  }
  const BOOL ok = CryptGenRandom(provider, static_cast<DWORD>(bytes->size()),
                                 reinterpret_cast<BYTE*>(&(*bytes)[0]));
  CryptReleaseContext(provider, 0);
  return ok != FALSE;
}

}  // namespace

bool SecureRandomBytes(size_t count, std::string* bytes) {
  bytes->assign(count, '\0');
  if (count == 0 || FromBcrypt(bytes) || FromCryptoApi(bytes)) return true;
  bytes->clear();
  return false;
}
