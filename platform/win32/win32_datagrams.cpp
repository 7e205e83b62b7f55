// DatagramApi on Windows with Winsock 1.1 calls only (socket, bind, sendto, select, recvfrom,
// gethostbyname), which ws2_32 has on every Windows from 98 and 2000 on.
#include "platform/win32/win32_datagrams.h"

#include <winsock2.h>
#include <windows.h>

namespace {

SOCKET AsSocket(uintptr_t value) { return static_cast<SOCKET>(value); }

}  // namespace

Win32DatagramApi::~Win32DatagramApi() { Close(); }

bool Win32DatagramApi::Open() {
  Close();
  WSADATA data;
  if (WSAStartup(MAKEWORD(1, 1), &data) != 0) return false;
  started_ = true;
  const SOCKET s = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
  if (s == INVALID_SOCKET) {
    Close();
    return false;
  }
  socket_ = static_cast<uintptr_t>(s);
  sockaddr_in local = {};
  local.sin_family = AF_INET;
  local.sin_addr.s_addr = htonl(INADDR_ANY);
  local.sin_port = 0;
  if (bind(s, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
    Close();
    return false;
  }
  return true;
}

bool Win32DatagramApi::Resolve(const std::string& host, uint32_t* address) {
  if (host.empty()) return false;
  const unsigned long dotted = inet_addr(host.c_str());
  if (dotted != INADDR_NONE) {
    *address = ntohl(dotted);
    return true;
  }
  const hostent* entry = gethostbyname(host.c_str());
  if (entry == nullptr || entry->h_addrtype != AF_INET || entry->h_length != 4 ||
      entry->h_addr_list[0] == nullptr) {
    return false;
  }
  in_addr first;
  memcpy(&first, entry->h_addr_list[0], sizeof first);
  *address = ntohl(first.s_addr);
  return true;
}

bool Win32DatagramApi::SendTo(uint32_t address, uint16_t port, const std::string& bytes) {
  sockaddr_in to = {};
  to.sin_family = AF_INET;
  to.sin_addr.s_addr = htonl(address);
  to.sin_port = htons(port);
  const int sent = sendto(AsSocket(socket_), bytes.data(), static_cast<int>(bytes.size()), 0,
                          reinterpret_cast<sockaddr*>(&to), sizeof to);
  return sent == static_cast<int>(bytes.size());
}

ReceiveStatus Win32DatagramApi::Receive(uint32_t timeoutMs, Datagram* datagram) {
  const SOCKET s = AsSocket(socket_);
  fd_set readable;
  FD_ZERO(&readable);
  FD_SET(s, &readable);
  timeval wait;
  wait.tv_sec = static_cast<long>(timeoutMs / 1000);
  wait.tv_usec = static_cast<long>((timeoutMs % 1000) * 1000);
  const int ready = select(0, &readable, nullptr, nullptr, &wait);
  if (ready == SOCKET_ERROR) return ReceiveStatus::kFailed;
  if (ready == 0) return ReceiveStatus::kNothing;
  char buffer[2048];
  sockaddr_in from = {};
  int fromLength = sizeof from;
  const int got = recvfrom(s, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from),
                           &fromLength);
  if (got == SOCKET_ERROR) {
    // Since Windows 2000 an ICMP "port unreachable" for an earlier sendto shows up here as
    // WSAECONNRESET: on a UDP socket, an earlier send drew a Port Unreachable answer, nobody
    // listens there (recvfrom, learn.microsoft.com/windows/win32/api/winsock/nf-winsock-recvfrom);
    // an oversized datagram as WSAEMSGSIZE. Neither ends the socket.
    const int error = WSAGetLastError();
    if (error == WSAECONNRESET) return ReceiveStatus::kRefused;
    if (error == WSAEMSGSIZE) return ReceiveStatus::kNothing;
    return ReceiveStatus::kFailed;
  }
  datagram->address = ntohl(from.sin_addr.s_addr);
  datagram->port = ntohs(from.sin_port);
  datagram->bytes.assign(buffer, static_cast<size_t>(got));
  return ReceiveStatus::kReceived;
}

void Win32DatagramApi::Close() {
  if (socket_ != static_cast<uintptr_t>(INVALID_SOCKET)) {
    closesocket(AsSocket(socket_));
    socket_ = static_cast<uintptr_t>(INVALID_SOCKET);
  }
  if (started_) {
    WSACleanup();
    started_ = false;
  }
}

uint32_t Win32DatagramApi::Milliseconds() { return GetTickCount(); }
