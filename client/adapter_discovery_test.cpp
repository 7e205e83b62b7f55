// Adapter discovery: MAC texts, the GetAdaptersInfo buffer protocol, DHCP servers by value type,
// and connection names.
#include "client/adapter_discovery.h"

#include <gtest/gtest.h>

#include "tests/fakes/fake_client_platform.h"

namespace {

const char kTcpip1[] = "SYSTEM\\CurrentControlSet\\Services\\{AAA}\\Parameters\\Tcpip";
const char kTcpip2[] = "SYSTEM\\CurrentControlSet\\Services\\{BBB}\\Parameters\\Tcpip";
const char kConnection1[] =
    "SYSTEM\\CurrentControlSet\\Control\\Network\\{4d36e972-e325-11ce-bfc1-08002be10318}\\{AAA}"
    "\\connection";

struct Discovery {
  std::vector<std::string> macs;
  std::vector<std::string> names;
  std::vector<std::string> servers;
};

Discovery Discover(FakeClientPlatform& fake) {
  ClientPlatform platform = fake.platform();
  ClientState state;
  Discovery found;
  found.macs = EnumerateAdapters(platform, state, found.names);
  found.servers = state.DhcpServers;
  return found;
}

TEST(EnumerateAdapters, ListsAdaptersInOrderAndDhcpServersOfDhcpAdaptersOnly) {
  FakeClientPlatform fake;
  fake.adapters.Add("{AAA}", {0x00, 0xE0, 0xFD, 0x3A, 0x1B, 0x01});
  fake.adapters.Add("{BBB}", {0x00, 0xE0, 0xFD, 0x3A, 0x1B, 0x02});
  fake.adapters.Add("{CCC}", {});  // no hardware address: empty MAC text
  fake.adapters.Add("{DDD}", {0x0F, 0xF0, 0x00, 0xFF, 0x01, 0x10, 0xA0, 0x0A});  // eight bytes
  fake.registry.SetDword(kTcpip1, "EnableDHCP", 1);
  fake.registry.SetString(kTcpip1, "DHCPServer", "192.0.2.1");
  fake.registry.SetDword(kTcpip2, "EnableDHCP", 0);
  fake.registry.SetString(kTcpip2, "DHCPServer", "192.0.2.2");  // static: not a server to try

  Discovery found = Discover(fake);
  EXPECT_EQ(found.macs,
            (std::vector<std::string>{"00E0FD3A1B01", "00E0FD3A1B02", "", "0FF000FF0110A00A"}));
  EXPECT_EQ(found.names, (std::vector<std::string>{"{AAA}", "{BBB}", "{CCC}", "{DDD}"}));
  EXPECT_EQ(found.servers, (std::vector<std::string>{"192.0.2.1"}));
  EXPECT_EQ(fake.adapters.offeredSizes, (std::vector<uint32_t>{5120}));
  EXPECT_EQ(fake.log.Count("SetLastError"), 0u);
}

TEST(EnumerateAdapters, CountsEnableDhcpAndDhcpServerOnlyWithTheirOwnTypes) {
  struct Case {
    const char* what;
    bool hasEnable;
    uint32_t enableType;
    std::string enableData;
    bool hasServer;
    uint32_t serverType;
    std::string serverData;
    std::vector<std::string> servers;
  };
  const std::string one("\x01\x00\x00\x00", 4);
  const Case cases[] = {
      {"dword 1, sz with NUL", true, kRegDword, one, true, kRegSz, std::string("10.1.1.1\0", 9), {"10.1.1.1"}},
      {"dword 1, sz without NUL", true, kRegDword, one, true, kRegSz, "10.1.1.2", {"10.1.1.2"}},
      {"dword 1, sz with junk after NUL", true, kRegDword, one, true, kRegSz,
       std::string("10.1.1.3\0junk", 13), {"10.1.1.3"}},
      {"dword 2", true, kRegDword, std::string("\x02\x00\x00\x00", 4), true, kRegSz, "10.1.1.4", {}},
      {"dword 0x101", true, kRegDword, std::string("\x01\x01\x00\x00", 4), true, kRegSz, "10.1.1.5", {}},
      {"enable as sz \"1\"", true, kRegSz, std::string("1\0", 2), true, kRegSz, "10.1.1.6", {}},
      {"enable as binary 01000000", true, kRegBinary, one, true, kRegSz, "10.1.1.7", {}},
      {"enable as 8-byte value", true, 11u, std::string("\x01\0\0\0\0\0\0\0", 8), true, kRegSz, "10.1.1.8", {}},
      {"enable dword with 2 bytes", true, kRegDword, std::string("\x01\x00", 2), true, kRegSz, "10.1.1.9", {}},
      {"enable missing", false, 0, "", true, kRegSz, "10.1.1.10", {}},
      {"server missing (no lease yet)", true, kRegDword, one, false, 0, "", {}},
      {"server empty", true, kRegDword, one, true, kRegSz, std::string("\0", 1), {}},
      {"server as expand-sz", true, kRegDword, one, true, kRegExpandSz, std::string("10.1.1.11\0", 10), {}},
      {"server as multi-sz", true, kRegDword, one, true, kRegMultiSz, std::string("10.1.1.12\0\0", 11), {}},
  };
  for (const Case& c : cases) {
    FakeClientPlatform fake;
    fake.adapters.Add("{AAA}", {1, 2, 3, 4, 5, 6});
    if (c.hasEnable) fake.registry.Set(kTcpip1, "EnableDHCP", c.enableType, c.enableData);
    if (c.hasServer) fake.registry.Set(kTcpip1, "DHCPServer", c.serverType, c.serverData);
    Discovery found = Discover(fake);
    EXPECT_EQ(found.servers, c.servers) << c.what;
    EXPECT_EQ(found.macs, (std::vector<std::string>{"010203040506"})) << c.what;
  }
}

// Vista and later need not keep the per-adapter copy under Services\{adapter}: the adapter
// record comes next, then Tcpip\Parameters\Interfaces\{adapter}.
TEST(EnumerateAdapters, FindsTheDhcpServerInTheAdapterRecordAndTheInterfacesKeyToo) {
  const char kInterfaces[] =
      "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\{AAA}";
  struct Case {
    const char* what;
    std::string legacy, record, interfaces;  // the server each place names; empty: none
    bool recordDhcp;
    std::vector<std::string> servers;
  };
  const Case cases[] = {
      {"the per-adapter copy first", "10.0.0.1", "10.0.0.2", "10.0.0.3", true, {"10.0.0.1"}},
      {"then the adapter record", "", "10.0.0.2", "10.0.0.3", true, {"10.0.0.2"}},
      {"a record without DHCP names none", "", "10.0.0.2", "10.0.0.3", false, {"10.0.0.3"}},
      {"a record before its first lease names none", "", "0.0.0.0", "10.0.0.3", true, {"10.0.0.3"}},
      {"only the Interfaces key", "", "", "10.0.0.3", false, {"10.0.0.3"}},
      {"nowhere", "", "", "", true, {}},
  };
  for (const Case& c : cases) {
    FakeClientPlatform fake;
    fake.adapters.Add("{AAA}", {1, 2, 3, 4, 5, 6});
    fake.adapters.adapters.back().dhcpEnabled = c.recordDhcp;
    fake.adapters.adapters.back().dhcpServer = c.record;
    fake.registry.SetDword(kTcpip1, "EnableDHCP", 1);
    if (!c.legacy.empty()) fake.registry.SetString(kTcpip1, "DHCPServer", c.legacy);
    fake.registry.SetDword(kInterfaces, "EnableDHCP", 1);
    if (!c.interfaces.empty()) fake.registry.SetString(kInterfaces, "DhcpServer", c.interfaces);
    EXPECT_EQ(Discover(fake).servers, c.servers) << c.what;
  }
}

TEST(EnumerateAdapters, AsksAgainWithTheSizeWindowsNamesWhenTheBufferIsTooSmall) {
  FakeClientPlatform fake;
  for (int i = 0; i < 9; ++i) {  // nine records of 640 bytes do not fit into 5,120
    fake.adapters.Add("{N" + std::to_string(i) + "}", {0, 0, 0, 0, 0, static_cast<uint8_t>(i)});
  }
  Discovery found = Discover(fake);
  EXPECT_EQ(fake.adapters.offeredSizes, (std::vector<uint32_t>{5120, 5760}));
  ASSERT_EQ(found.macs.size(), 9u);
  EXPECT_EQ(found.macs[8], "000000000008");
  EXPECT_EQ(found.names[8], "{N8}");
  EXPECT_EQ(fake.log.Only({"SetLastError"}), (std::vector<std::string>{"SetLastError(111)"}));
}

TEST(EnumerateAdapters, AnyOtherErrorLeavesEveryListEmptyAndSetsTheLastError) {
  struct Case {
    uint32_t error;
    size_t calls;
  };
  const Case cases[] = {
      {kErrorNoData, 1},
      {87, 1},                     // ERROR_INVALID_PARAMETER
      {kErrorBufferOverflow, 4},   // a table that never fits: bounded, then given up
  };
  for (const Case& c : cases) {
    FakeClientPlatform fake;
    if (c.error != kErrorNoData) {
      fake.adapters.Add("{AAA}", {1, 2, 3, 4, 5, 6});
      fake.adapters.forcedError = c.error;
    }
    fake.registry.SetDword(kTcpip1, "EnableDHCP", 1);
    fake.registry.SetString(kTcpip1, "DHCPServer", "192.0.2.1");
    Discovery found = Discover(fake);
    EXPECT_TRUE(found.macs.empty()) << c.error;
    EXPECT_TRUE(found.names.empty()) << c.error;
    EXPECT_TRUE(found.servers.empty()) << c.error;
    EXPECT_EQ(fake.adapters.offeredSizes.size(), c.calls) << c.error;
    EXPECT_EQ(fake.system.lastError, c.error);
    EXPECT_EQ(fake.log.Count("ReadValue"), 0u) << "no registry read for records never filled";
  }
}

TEST(ReadConnectionNames, TakesTheNameOnlyFromAStringValue) {
  struct Case {
    const char* what;
    bool keyExists;
    bool hasValue;
    uint32_t type;
    std::string data;
    std::string expected;
  };
  const Case cases[] = {
      {"GBK name", true, true, kRegSz, std::string("\xB1\xBE\xB5\xD8\xC1\xAC\xBD\xD3\0", 9),
       "\xB1\xBE\xB5\xD8\xC1\xAC\xBD\xD3"},
      {"name with spaces", true, true, kRegSz, std::string("Local Area Connection 2\0", 24),
       "Local Area Connection 2"},
      {"no terminator", true, true, kRegSz, "LAN", "LAN"},
      {"expand-sz", true, true, kRegExpandSz, std::string("LAN\0", 4), ""},
      {"binary", true, true, kRegBinary, "LAN", ""},
      {"value missing", true, false, 0, "", ""},
      {"key missing", false, false, 0, "", ""},
  };
  for (const Case& c : cases) {
    FakeClientPlatform fake;
    if (c.keyExists) fake.registry.AddKey(kConnection1);
    if (c.hasValue) fake.registry.Set(kConnection1, "Name", c.type, c.data);
    fake.registry.SetString(kConnection1 + std::string("x"), "Name", "wrong key");
    ClientPlatform platform = fake.platform();
    ClientState state;
    state.ConnectionNames = {"{AAA}", "{ZZZ}"};
    ReadConnectionNames(platform, state);
    EXPECT_EQ(state.ConnectionNames, (std::vector<std::string>{c.expected, ""})) << c.what;
  }
}

}  // namespace
