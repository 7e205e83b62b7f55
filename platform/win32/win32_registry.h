// RegistryApi on Windows: typed value reads and REG_SZ writes under HKEY_LOCAL_MACHINE.
#pragma once

#include "platform/registry_api.h"

class Win32RegistryApi : public RegistryApi {
 public:
  bool ReadValue(const std::string& keyPath, const std::string& valueName,
                 RegistryValue* value) override;
  bool WriteStringValue(const std::string& keyPath, const std::string& valueName,
                        const std::string& value) override;
  bool DeleteValue(const std::string& keyPath, const std::string& valueName) override;
};
