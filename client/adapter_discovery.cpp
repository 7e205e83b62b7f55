// Adapter discovery: MAC texts, adapter names, DHCP servers and connection names of the PC.
#include "client/adapter_discovery.h"

namespace {

// Device class key of network adapters; each adapter's connection name sits below it.
constexpr const char kNetworkClassKey[] =
    "SYSTEM\\CurrentControlSet\\Control\\Network\\{4d36e972-e325-11ce-bfc1-08002be10318}\\";

// Where each adapter's TCP/IP values are kept: Services\{adapter} + kLegacyTcpipKey (NT 4 to XP)
// and kInterfacesKey + {adapter} (every version).
constexpr const char kServicesKey[] = "SYSTEM\\CurrentControlSet\\Services\\";
constexpr const char kLegacyTcpipKey[] = "\\Parameters\\Tcpip";
constexpr const char kInterfacesKey[] =
    "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\";

// A table that keeps growing between two calls could ask for more again; a few rounds are
// plenty, and a bound keeps a misbehaving call from looping for ever.
constexpr int kAdapterListAttempts = 4;

// A REG_SZ as text: up to its first NUL (Windows stores the terminator with the value).
std::string StringValueText(const RegistryValue& value) {
  size_t nul = value.data.find('\0');
  return nul == std::string::npos ? value.data : value.data.substr(0, nul);
}

// "EnableDHCP" counts only as a REG_DWORD (four bytes, little-endian) that holds 1.
bool DhcpEnabled(RegistryApi& registry, const std::string& keyPath) {
  RegistryValue value;
  if (!registry.ReadValue(keyPath, "EnableDHCP", &value)) return false;
  if (value.type != kRegDword || value.data.size() != 4) return false;
  const auto byte = [&value](size_t i) { return static_cast<uint32_t>(static_cast<uint8_t>(value.data[i])); };
  uint32_t number = byte(0) | (byte(1) << 8) | (byte(2) << 16) | (byte(3) << 24);
  return number == 1;
}

// "DHCPServer" counts only as a REG_SZ; anything else reads as empty.
std::string DhcpServer(RegistryApi& registry, const std::string& keyPath) {
  RegistryValue value;
  if (!registry.ReadValue(keyPath, "DHCPServer", &value)) return std::string();
  if (value.type != kRegSz) return std::string();
  return StringValueText(value);
}

// An address that names no server: what the adapter record holds before the first lease.
bool NamesAServer(const std::string& address) {
  return !address.empty() && address != "0.0.0.0" && address != "255.255.255.255";
}

// The DHCP server of one adapter. Windows NT 4, 2000 and XP keep a copy of the adapter's TCP/IP
// values under Services\{adapter}\Parameters\Tcpip, which Vista and later no longer promise;
// the adapter record (since Windows 2000) and Tcpip\Parameters\Interfaces\{adapter}, where
// every version keeps the DHCP client's values, stand behind it in that order.
std::string AdapterDhcpServer(RegistryApi& registry, const AdapterRecord& record) {
  const std::string legacyKey = kServicesKey + record.adapterName + kLegacyTcpipKey;
  if (DhcpEnabled(registry, legacyKey)) {
    const std::string server = DhcpServer(registry, legacyKey);
    if (!server.empty()) return server;
  }
  if (record.dhcpEnabled && NamesAServer(record.dhcpServer)) return record.dhcpServer;
  const std::string interfaceKey = kInterfacesKey + record.adapterName;
  if (DhcpEnabled(registry, interfaceKey)) {
    const std::string server = DhcpServer(registry, interfaceKey);
    if (NamesAServer(server)) return server;
  }
  return std::string();
}

}  // namespace

std::string HexOfBytes(const uint8_t* bytes, size_t count) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string text;
  text.reserve(count * 2);
  for (size_t i = 0; i < count; ++i) {
    text.push_back(kDigits[bytes[i] >> 4]);
    text.push_back(kDigits[bytes[i] & 0x0F]);
  }
  return text;
}

namespace {

// GetAdaptersInfo's records; none when the call does not succeed.
std::vector<AdapterRecord> ReadAdapterRecords(ClientPlatform& platform) {
  std::vector<AdapterRecord> records;
  uint32_t bufferSize = 5120;
  for (int attempt = 0; attempt < kAdapterListAttempts; ++attempt) {
    records.clear();
    const uint32_t result = platform.adapters.GetAdaptersInfo(&bufferSize, &records);
    if (result == kErrorSuccess) return records;
    platform.system.SetLastError(result);
    // Too small a buffer (a PC with many adapters): ask again with the size Windows named.
    // Any other error leaves the lists empty; no record of a failed call is ever read.
    if (result != kErrorBufferOverflow) break;
  }
  records.clear();
  return records;
}

}  // namespace

std::vector<std::string> EnumerateAdapters(ClientPlatform& platform, ClientState& state,
                                           std::vector<std::string>& names) {
  std::vector<std::string> macs;
  for (const AdapterRecord& record : ReadAdapterRecords(platform)) {
    macs.push_back(HexOfBytes(record.address.data(), record.address.size()));
    names.push_back(record.adapterName);
    const std::string server = AdapterDhcpServer(platform.registry, record);
    if (!server.empty()) state.DhcpServers.push_back(server);
  }
  return macs;
}

bool AdapterUsesDhcp(ClientPlatform& platform, const std::string& mac) {
  for (const AdapterRecord& record : ReadAdapterRecords(platform)) {
    if (HexOfBytes(record.address.data(), record.address.size()) != mac) continue;
    return record.dhcpEnabled ||
           DhcpEnabled(platform.registry, kServicesKey + record.adapterName + kLegacyTcpipKey) ||
           DhcpEnabled(platform.registry, kInterfacesKey + record.adapterName);
  }
  return false;
}

void ReadConnectionNames(ClientPlatform& platform, ClientState& state) {
  for (std::string& entry : state.ConnectionNames) {
    RegistryValue value;
    std::string name;
    if (platform.registry.ReadValue(kNetworkClassKey + entry + "\\connection", "name", &value) &&
        value.type == kRegSz) {
      name = StringValueText(value);
    }
    entry = name;
  }
}
