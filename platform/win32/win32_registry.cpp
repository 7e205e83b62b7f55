// RegistryApi on Windows: RegOpenKeyExA/RegQueryValueExA and RegCreateKeyExA/RegSetValueExA.
#include "platform/win32/win32_registry.h"

#include <windows.h>

#include <vector>

bool Win32RegistryApi::ReadValue(const std::string& keyPath, const std::string& valueName,
                                 RegistryValue* value) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
    return false;
  }
  // The first query gives the size; the value may grow before the second one reads it, which
  // ERROR_MORE_DATA reports with the new size, so the read is repeated a few times at most.
  bool ok = false;
  DWORD type = REG_NONE;
  DWORD size = 0;
  LONG result = RegQueryValueExA(key, valueName.c_str(), nullptr, &type, nullptr, &size);
  std::vector<BYTE> data;
  for (int attempt = 0; attempt < 4 && result == ERROR_SUCCESS; ++attempt) {
    data.assign(size + 1, 0);
    DWORD got = size;
    result = RegQueryValueExA(key, valueName.c_str(), nullptr, &type, data.data(), &got);
    if (result == ERROR_SUCCESS) {
      value->type = type;
      value->data.assign(reinterpret_cast<const char*>(data.data()), got);
      ok = true;
      break;
    }
    if (result == ERROR_MORE_DATA) {
      size = got;
      result = ERROR_SUCCESS;
    }
  }
  RegCloseKey(key);
  return ok;
}

bool Win32RegistryApi::WriteStringValue(const std::string& keyPath, const std::string& valueName,
                                        const std::string& value) {
  HKEY key = nullptr;
  DWORD disposition = 0;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_ALL_ACCESS, nullptr, &key, &disposition) != ERROR_SUCCESS) {
    return false;
  }
  // A REG_SZ is stored with its terminating NUL, so the length counts it.
  LONG result = RegSetValueExA(key, valueName.c_str(), 0, REG_SZ,
                               reinterpret_cast<const BYTE*>(value.c_str()),
                               static_cast<DWORD>(value.size() + 1));
  RegCloseKey(key);
  return result == ERROR_SUCCESS;
}

bool Win32RegistryApi::DeleteValue(const std::string& keyPath, const std::string& valueName) {
  HKEY key = nullptr;
  const LONG opened = RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, KEY_SET_VALUE, &key);
  if (opened == ERROR_FILE_NOT_FOUND) return true;
  if (opened != ERROR_SUCCESS) return false;
  const LONG result = RegDeleteValueA(key, valueName.c_str());
  RegCloseKey(key);
  return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}
