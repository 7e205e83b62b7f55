// Registry operations under HKEY_LOCAL_MACHINE: typed value reads and one string write.
#pragma once

#include <cstdint>
#include <string>

// Registry value types, numbered as Windows numbers them.
enum RegistryType : uint32_t {
  kRegNone = 0,
  kRegSz = 1,
  kRegExpandSz = 2,
  kRegBinary = 3,
  kRegDword = 4,
  kRegMultiSz = 7,
};

struct RegistryValue {
  uint32_t type = kRegNone;
  std::string data;  // raw bytes as stored; a REG_SZ keeps its terminating NUL if stored with one
};

class RegistryApi {
 public:
  virtual ~RegistryApi() = default;

  // RegOpenKeyExA(HKLM, keyPath, read) + RegQueryValueExA. False when the key cannot be opened
  // or the value is missing.
  virtual bool ReadValue(const std::string& keyPath, const std::string& valueName,
                         RegistryValue* value) = 0;

  // RegCreateKeyExA(HKLM, keyPath, non-volatile, KEY_ALL_ACCESS) + RegSetValueExA REG_SZ with
  // the length counted with the terminating NUL. False when the key cannot be opened or written.
  virtual bool WriteStringValue(const std::string& keyPath, const std::string& valueName,
                                const std::string& value) = 0;

  // RegOpenKeyExA(HKLM, keyPath, KEY_SET_VALUE) + RegDeleteValueA. True when the value is gone
  // (it was deleted, or there was none).
  virtual bool DeleteValue(const std::string& keyPath, const std::string& valueName) = 0;
};
