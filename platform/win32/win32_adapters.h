// AdapterApi on Windows: GetAdaptersInfo from the IP Helper library.
#pragma once

#include "platform/adapter_api.h"

class Win32AdapterApi : public AdapterApi {
 public:
  uint32_t GetAdaptersInfo(uint32_t* bufferSize, std::vector<AdapterRecord>* records) override;
};
