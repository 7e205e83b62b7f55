// FakeRegistryApi: typed values under HKEY_LOCAL_MACHINE held in memory; records writes.
#pragma once

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/registry_api.h"
#include "tests/fakes/call_log.h"

// Key paths and value names compare without regard to ASCII case, as in the registry.
// Log entries: "ReadValue(<key>, <name>)", "WriteStringValue(<key>, <name>, <value>)",
// "DeleteValue(<key>, <name>)".
class FakeRegistryApi : public RegistryApi {
 public:
  explicit FakeRegistryApi(CallLog& log) : log_(log) {}

  bool ReadValue(const std::string& keyPath, const std::string& valueName,
                 RegistryValue* value) override;
  bool WriteStringValue(const std::string& keyPath, const std::string& valueName,
                        const std::string& value) override;
  bool DeleteValue(const std::string& keyPath, const std::string& valueName) override;

  // Set-up helpers (not logged). A REG_SZ is stored with its terminating NUL.
  void Set(const std::string& keyPath, const std::string& valueName, uint32_t type,
           const std::string& data);
  void SetString(const std::string& keyPath, const std::string& valueName, const std::string& text);
  void SetDword(const std::string& keyPath, const std::string& valueName, uint32_t number);
  // A key that exists without values (ReadValue still fails for any value name).
  void AddKey(const std::string& keyPath);
  bool Has(const std::string& keyPath, const std::string& valueName) const;

  std::set<std::string> failingWriteKeys;  // writes under these keys fail (compared without case)

  struct Write {
    std::string keyPath, valueName, value;
    bool succeeded = false;
  };
  std::vector<Write> writes;

 private:
  static std::string Fold(const std::string& text);

  CallLog& log_;
  std::map<std::string, std::map<std::string, RegistryValue>> keys_;  // folded key -> folded name
};
