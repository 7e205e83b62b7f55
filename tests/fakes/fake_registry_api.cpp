// FakeRegistryApi: a map of keys to values, keyed by the ASCII-lower-cased names.
#include "tests/fakes/fake_registry_api.h"

std::string FakeRegistryApi::Fold(const std::string& text) {
  std::string folded = text;
  for (char& c : folded) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return folded;
}

bool FakeRegistryApi::ReadValue(const std::string& keyPath, const std::string& valueName,
                                RegistryValue* value) {
  log_.Add("ReadValue(" + keyPath + ", " + valueName + ")");
  auto key = keys_.find(Fold(keyPath));
  if (key == keys_.end()) return false;
  auto found = key->second.find(Fold(valueName));
  if (found == key->second.end()) return false;
  *value = found->second;
  return true;
}

bool FakeRegistryApi::WriteStringValue(const std::string& keyPath, const std::string& valueName,
                                       const std::string& value) {
  log_.Add("WriteStringValue(" + keyPath + ", " + valueName + ", " + value + ")");
  Write write{keyPath, valueName, value, false};
  for (const std::string& failing : failingWriteKeys) {
    if (Fold(failing) == Fold(keyPath)) {
      writes.push_back(write);
      return false;
    }
  }
  SetString(keyPath, valueName, value);
  write.succeeded = true;
  writes.push_back(write);
  return true;
}

bool FakeRegistryApi::DeleteValue(const std::string& keyPath, const std::string& valueName) {
  log_.Add("DeleteValue(" + keyPath + ", " + valueName + ")");
  auto key = keys_.find(Fold(keyPath));
  if (key != keys_.end()) key->second.erase(Fold(valueName));
  return true;
}

void FakeRegistryApi::Set(const std::string& keyPath, const std::string& valueName, uint32_t type,
                          const std::string& data) {
  RegistryValue value;
  value.type = type;
  value.data = data;
  keys_[Fold(keyPath)][Fold(valueName)] = value;
}

void FakeRegistryApi::SetString(const std::string& keyPath, const std::string& valueName,
                                const std::string& text) {
  Set(keyPath, valueName, kRegSz, text + std::string(1, '\0'));
}

void FakeRegistryApi::SetDword(const std::string& keyPath, const std::string& valueName,
                               uint32_t number) {
  std::string data(4, '\0');
  for (int i = 0; i < 4; ++i) data[i] = static_cast<char>((number >> (8 * i)) & 0xFF);
  Set(keyPath, valueName, kRegDword, data);
}

void FakeRegistryApi::AddKey(const std::string& keyPath) { keys_[Fold(keyPath)]; }

bool FakeRegistryApi::Has(const std::string& keyPath, const std::string& valueName) const {
  auto key = keys_.find(Fold(keyPath));
  return key != keys_.end() && key->second.count(Fold(valueName)) != 0;
}

