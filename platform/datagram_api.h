// UDP datagrams for Tolvik's own TFTP client: one socket at a time, IPv4 only, a millisecond clock.
#pragma once

#include <cstdint>
#include <string>

// An IPv4 address as a number in host order: 192.0.2.1 is 0xC0000201.
struct Datagram {
  uint32_t address = 0;
  uint16_t port = 0;
  std::string bytes;
};

enum class ReceiveStatus {
  kReceived,
  kNothing,  // nothing usable arrived within the time
  kRefused,  // the host reported the port unreachable: nobody listens there
  kFailed,   // the socket no longer works
};

class DatagramApi {
 public:
  virtual ~DatagramApi() = default;

  // Opens a UDP socket on any local address and a port of the system's choosing.
  virtual bool Open() = 0;

  // A dotted address, or a host name looked up by the system; needs an open socket.
  virtual bool Resolve(const std::string& host, uint32_t* address) = 0;

  virtual bool SendTo(uint32_t address, uint16_t port, const std::string& bytes) = 0;

  // Waits up to timeoutMs for one datagram; kNothing may come back before the time is up.
  virtual ReceiveStatus Receive(uint32_t timeoutMs, Datagram* datagram) = 0;

  virtual void Close() = 0;

  // A millisecond count that wraps around (GetTickCount); only differences are used.
  virtual uint32_t Milliseconds() = 0;
};
