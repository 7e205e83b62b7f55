// Win32RegistryApi against the real registry: typed reads of every kind of value, and writes.
#include "platform/win32/win32_registry.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

const char kParent[] = "SOFTWARE\\TolvikRegistryTest";
const char kKey[] = "SOFTWARE\\TolvikRegistryTest\\Values";

class Win32RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override { RemoveKeys(); }
  void TearDown() override { RemoveKeys(); }

  static void RemoveKeys() {
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kKey);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kParent);
  }

  // Stores a value with the raw Windows call, so the read is checked against Windows itself.
  static void Store(const char* name, DWORD type, const std::string& data) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(data.data()),
                             static_cast<DWORD>(data.size())),
              ERROR_SUCCESS);
    RegCloseKey(key);
  }

  Win32RegistryApi registry;
};

TEST_F(Win32RegistryTest, ReadsEachValueWithItsTypeAndExactBytes) {
  struct Case {
    const char* name;
    DWORD type;
    std::string data;
  };
  const Case cases[] = {
      {"Dword", REG_DWORD, std::string("\x01\x00\x00\x00", 4)},
      {"ShortDword", REG_DWORD, std::string("\x01\x00", 2)},
      {"Binary", REG_BINARY, std::string("\x01\x00\x00\x00", 4)},
      {"Sz", REG_SZ, std::string("192.0.2.1\0", 10)},
      {"GbkSz", REG_SZ, std::string("\xB1\xBE\xB5\xD8\xC1\xAC\xBD\xD3\0", 9)},
      {"ExpandSz", REG_EXPAND_SZ, std::string("%X%\0", 4)},
      {"Empty", REG_SZ, ""},
      {"Long", REG_BINARY, std::string(70000, '\x5A')},
  };
  for (const Case& c : cases) Store(c.name, c.type, c.data);
  for (const Case& c : cases) {
    RegistryValue value;
    ASSERT_TRUE(registry.ReadValue(kKey, c.name, &value)) << c.name;
    EXPECT_EQ(value.type, c.type) << c.name;
    EXPECT_EQ(value.data, c.data) << c.name;
  }
}

TEST_F(Win32RegistryTest, AStringStoredWithoutTerminatorReadsWithAtMostOneAdded) {
  // Windows converts REG_SZ data between code pages on the ANSI calls; Wine's read adds the
  // missing NUL. Either way the text up to the first NUL is the stored text.
  Store("SzWithoutNul", REG_SZ, "192.0.2.2");
  RegistryValue value;
  ASSERT_TRUE(registry.ReadValue(kKey, "SzWithoutNul", &value));
  EXPECT_EQ(value.type, static_cast<uint32_t>(kRegSz));
  EXPECT_TRUE(value.data == "192.0.2.2" || value.data == std::string("192.0.2.2\0", 10))
      << value.data.size();
}

TEST_F(Win32RegistryTest, MissingKeyOrValueReadsAsFailure) {
  Store("Present", REG_SZ, std::string("x\0", 2));
  RegistryValue value;
  EXPECT_FALSE(registry.ReadValue(kKey, "Absent", &value));
  EXPECT_FALSE(registry.ReadValue(std::string(kKey) + "\\Nope", "Present", &value));
  EXPECT_TRUE(registry.ReadValue("software\\tolvikregistrytest\\VALUES", "present", &value));
}

TEST_F(Win32RegistryTest, WritesAStringWithItsTerminatorCreatingTheKey) {
  struct Case {
    const char* name;
    std::string text;
  };
  const Case cases[] = {
      {"Tolvik", "\"C:\\Program Files\\Tolvik\\Tolvik.exe\" /A /K /R /N /ip:"},
      {"Gbk", "\"C:\\\xB9\xA4\xBE\xDF\\Tolvik.exe\""},
      {"Empty", ""},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(registry.WriteStringValue(kKey, c.name, c.text)) << c.name;
    RegistryValue value;
    ASSERT_TRUE(registry.ReadValue(kKey, c.name, &value)) << c.name;
    EXPECT_EQ(value.type, static_cast<uint32_t>(kRegSz)) << c.name;
    EXPECT_EQ(value.data, c.text + std::string(1, '\0')) << c.name;
  }
  // A second write replaces the value.
  ASSERT_TRUE(registry.WriteStringValue(kKey, "Tolvik", "B"));
  RegistryValue value;
  ASSERT_TRUE(registry.ReadValue(kKey, "Tolvik", &value));
  EXPECT_EQ(value.data, std::string("B\0", 2));
}

}  // namespace
