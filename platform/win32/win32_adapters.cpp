// AdapterApi on Windows: one GetAdaptersInfo call per request, records copied out of its buffer.
#include "platform/win32/win32_adapters.h"

#include <windows.h>
#include <iphlpapi.h>

#include <cstddef>
#include <cstring>

#include "platform/win32/win32_late_bound.h"

namespace {
// The IP Helper library is missing on Windows 95 and on some 98 installations.
using GetAdaptersInfoFunction = DWORD(WINAPI*)(PIP_ADAPTER_INFO, PULONG);
}  // namespace

uint32_t Win32AdapterApi::GetAdaptersInfo(uint32_t* bufferSize, std::vector<AdapterRecord>* records) {
  records->clear();
  // The records hold pointers: the buffer is allocated as whole pointer-sized words so the
  // first record is suitably aligned on both word sizes.
  const size_t byteCount = *bufferSize;
  std::vector<void*> words((byteCount + sizeof(void*) - 1) / sizeof(void*) + 1);
  auto* first = reinterpret_cast<IP_ADAPTER_INFO*>(words.data());
  ULONG size = static_cast<ULONG>(byteCount);
  auto getAdaptersInfo = LateBoundFunction<GetAdaptersInfoFunction>("iphlpapi.dll", "GetAdaptersInfo");
  if (getAdaptersInfo == nullptr) return ERROR_NOT_SUPPORTED;
  DWORD result = getAdaptersInfo(byteCount == 0 ? nullptr : first, &size);
  if (result != ERROR_SUCCESS) {
    // Only ERROR_BUFFER_OVERFLOW gives a meaningful size; the buffer is never read on failure.
    if (result == ERROR_BUFFER_OVERFLOW) *bufferSize = static_cast<uint32_t>(size);
    return static_cast<uint32_t>(result);
  }

  // Windows chains the records inside the buffer it filled; a link pointing elsewhere would be
  // a record that call did not write, so the walk stops there. Only the fields up to DhcpServer
  // are read and bounds-checked: the 32-bit GetAdaptersInfo writes 32-bit lease times after
  // them, while the MinGW header may declare them 64-bit, so sizeof of the whole record can
  // exceed a record.
  const char* begin = reinterpret_cast<const char*>(words.data());
  const char* end = begin + byteCount;
  const size_t readBytes = offsetof(IP_ADAPTER_INFO, DhcpServer) + sizeof(first->DhcpServer);
  for (const IP_ADAPTER_INFO* info = first; info != nullptr; info = info->Next) {
    const char* at = reinterpret_cast<const char*>(info);
    if (at < begin || at > end || static_cast<size_t>(end - at) < readBytes) break;
    if (records->size() >= byteCount / readBytes) break;  // more records than fit: a loop
    AdapterRecord record;
    record.adapterName.assign(info->AdapterName, strnlen(info->AdapterName, sizeof(info->AdapterName)));
    size_t length = info->AddressLength;
    if (length > sizeof(info->Address)) length = sizeof(info->Address);
    record.address.assign(info->Address, info->Address + length);
    record.dhcpEnabled = info->DhcpEnabled != 0;
    const char* server = info->DhcpServer.IpAddress.String;
    record.dhcpServer.assign(server, strnlen(server, sizeof(info->DhcpServer.IpAddress.String)));
    records->push_back(record);
  }
  return kErrorSuccess;
}
