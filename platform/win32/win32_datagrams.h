// DatagramApi on Windows: one UDP socket over Winsock (ws2_32), as Windows 98 and 2000 have it.
#pragma once

#include <cstdint>

#include "platform/datagram_api.h"

class Win32DatagramApi : public DatagramApi {
 public:
  ~Win32DatagramApi() override;

  bool Open() override;
  bool Resolve(const std::string& host, uint32_t* address) override;
  bool SendTo(uint32_t address, uint16_t port, const std::string& bytes) override;
  ReceiveStatus Receive(uint32_t timeoutMs, Datagram* datagram) override;
  void Close() override;
  uint32_t Milliseconds() override;

 private:
  uintptr_t socket_ = ~static_cast<uintptr_t>(0);  // INVALID_SOCKET
  bool started_ = false;                            // WSAStartup succeeded
};
