// Network adapter listing (GetAdaptersInfo), reduced to what discovery reads of each record.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct AdapterRecord {
  std::string adapterName;        // AdapterName up to its first NUL (at most 260 characters)
  std::vector<uint8_t> address;   // the first AddressLength bytes of Address
  bool dhcpEnabled = false;       // DhcpEnabled
  std::string dhcpServer;         // DhcpServer.IpAddress.String, up to its first NUL
};

constexpr uint32_t kErrorSuccess = 0;
constexpr uint32_t kErrorBufferOverflow = 111;  // ERROR_BUFFER_OVERFLOW
constexpr uint32_t kErrorNoData = 232;          // ERROR_NO_DATA: no adapter at all

class AdapterApi {
 public:
  virtual ~AdapterApi() = default;

  // GetAdaptersInfo with a buffer of *bufferSize bytes. Returns the Windows error code; on
  // kErrorBufferOverflow *bufferSize holds the size Windows asks for. Records are filled only
  // on success, in the order Windows chains them.
  virtual uint32_t GetAdaptersInfo(uint32_t* bufferSize, std::vector<AdapterRecord>* records) = 0;
};
