// FakeAdapterApi: scripted adapter tables with the GetAdaptersInfo buffer-size protocol.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/adapter_api.h"
#include "tests/fakes/call_log.h"

// Log entry: "GetAdaptersInfo(<bufferSize offered>)".
class FakeAdapterApi : public AdapterApi {
 public:
  explicit FakeAdapterApi(CallLog& log) : log_(log) {}

  // No records: kErrorNoData. A buffer smaller than the table: kErrorBufferOverflow with the
  // needed size. forcedError other than 0 is returned instead (with the needed size when it is
  // kErrorBufferOverflow); records are then left untouched.
  uint32_t GetAdaptersInfo(uint32_t* bufferSize, std::vector<AdapterRecord>* records) override;

  // Adds an adapter record with the given name and address bytes.
  void Add(const std::string& adapterName, const std::vector<uint8_t>& address);

  std::vector<AdapterRecord> adapters;
  uint32_t forcedError = 0;
  // Bytes per record of the table Windows would build (sizeof IP_ADAPTER_INFO on 32-bit Windows).
  uint32_t bytesPerRecord = 640;
  std::vector<uint32_t> offeredSizes;  // the buffer size of each call

  uint32_t NeededSize() const { return bytesPerRecord * static_cast<uint32_t>(adapters.size()); }

 private:
  CallLog& log_;
};
