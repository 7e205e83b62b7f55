// FakeAdapterApi: fills records only on success, as GetAdaptersInfo does.
#include "tests/fakes/fake_adapter_api.h"

uint32_t FakeAdapterApi::GetAdaptersInfo(uint32_t* bufferSize, std::vector<AdapterRecord>* records) {
  log_.Add("GetAdaptersInfo(" + std::to_string(*bufferSize) + ")");
  offeredSizes.push_back(*bufferSize);
  if (forcedError != 0) {
    if (forcedError == kErrorBufferOverflow) *bufferSize = NeededSize();
    return forcedError;
  }
  if (adapters.empty()) return kErrorNoData;
  if (*bufferSize < NeededSize()) {
    *bufferSize = NeededSize();
    return kErrorBufferOverflow;
  }
  *records = adapters;
  return kErrorSuccess;
}

void FakeAdapterApi::Add(const std::string& adapterName, const std::vector<uint8_t>& address) {
  AdapterRecord record;
  record.adapterName = adapterName;
  record.address = address;
  adapters.push_back(record);
}
