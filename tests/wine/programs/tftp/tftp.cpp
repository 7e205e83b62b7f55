// Stand-in tftp client for the end-to-end tests: "tftp [-i] HOST get SOURCE [DESTINATION]" fetches
// SOURCE over real TFTP (a read request in octet mode, each block acknowledged) and stores it in
// the current directory. It records its command line like the other stand-ins; a file
// "tftp-hang.txt" beside its record naming SOURCE makes it hang instead, as a tftp that never
// returns.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tests/wine/command_record.h"

namespace {

constexpr uint16_t kReadRequest = 1;
constexpr uint16_t kData = 3;
constexpr uint16_t kAck = 4;
constexpr uint16_t kError = 5;
constexpr size_t kBlockSize = 512;
constexpr int kRetries = 5;
constexpr DWORD kWaitMs = 1000;

bool EqualsNoCase(const std::string& a, const char* b) { return lstrcmpiA(a.c_str(), b) == 0; }

std::string ReadSmallFile(const std::string& path) {
  std::string text;
  FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return text;
  char buffer[512];
  size_t got = std::fread(buffer, 1, sizeof buffer, file);
  std::fclose(file);
  text.assign(buffer, got);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) {
    text.pop_back();
  }
  return text;
}

void PutUint16(std::string* packet, uint16_t value) {
  packet->push_back(static_cast<char>(value >> 8));
  packet->push_back(static_cast<char>(value & 0xFF));
}

uint16_t GetUint16(const char* bytes) {
  return static_cast<uint16_t>((static_cast<unsigned char>(bytes[0]) << 8) |
                               static_cast<unsigned char>(bytes[1]));
}

std::string AckPacket(uint16_t block) {
  std::string packet;
  PutUint16(&packet, kAck);
  PutUint16(&packet, block);
  return packet;
}

// Fetches source from host into *content; false (with a message) on any failure.
bool Fetch(const std::string& host, const std::string& source, std::string* content) {
  addrinfo hints = {};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_DGRAM;
  addrinfo* found = nullptr;
  if (getaddrinfo(host.c_str(), "69", &hints, &found) != 0 || found == nullptr) {
    std::printf("Unknown host %s.\n", host.c_str());
    return false;
  }
  sockaddr_in server;
  std::memcpy(&server, found->ai_addr, sizeof server);
  freeaddrinfo(found);

  SOCKET sock = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
  if (sock == INVALID_SOCKET) {
    std::printf("No socket.\n");
    return false;
  }
  DWORD timeout = kWaitMs;
  setsockopt(sock, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof timeout);

  std::string last;  // the packet to send again when nothing arrives
  PutUint16(&last, kReadRequest);
  last += source;
  last += '\0';
  last += "octet";
  last += '\0';
  sockaddr_in peer = server;  // port 69 until the server's first packet names its own port
  bool peerKnown = false;
  uint16_t expected = 1;
  int silentRounds = 0;
  bool ok = false;
  sendto(sock, last.data(), static_cast<int>(last.size()), 0,
         reinterpret_cast<const sockaddr*>(&peer), sizeof peer);
  for (;;) {
    char packet[4 + kBlockSize + 64];
    sockaddr_in from = {};
    int fromLength = sizeof from;
    int got = recvfrom(sock, packet, sizeof packet, 0, reinterpret_cast<sockaddr*>(&from),
                       &fromLength);
    if (got == SOCKET_ERROR) {
      if (++silentRounds > kRetries) {
        std::printf("Connect request failed\n");
        break;
      }
      sendto(sock, last.data(), static_cast<int>(last.size()), 0,
             reinterpret_cast<const sockaddr*>(&peer), sizeof peer);
      continue;
    }
    if (from.sin_addr.s_addr != server.sin_addr.s_addr || got < 4) continue;
    if (peerKnown && from.sin_port != peer.sin_port) continue;  // another transfer's packet
    silentRounds = 0;
    const uint16_t opcode = GetUint16(packet);
    if (opcode == kError) {
      std::string message(packet + 4, static_cast<size_t>(got - 4));
      message = message.c_str();
      std::printf("Error on server : %s\n", message.c_str());
      break;
    }
    if (opcode != kData) continue;
    if (!peerKnown) {
      peer.sin_port = from.sin_port;
      peerKnown = true;
    }
    const uint16_t block = GetUint16(packet + 2);
    if (block == expected) {
      content->append(packet + 4, static_cast<size_t>(got - 4));
      last = AckPacket(block);
      sendto(sock, last.data(), static_cast<int>(last.size()), 0,
             reinterpret_cast<const sockaddr*>(&peer), sizeof peer);
      ++expected;  // wraps after block 65535, as the server's numbering does
      if (static_cast<size_t>(got - 4) < kBlockSize) {
        ok = true;
        break;
      }
    } else if (static_cast<uint16_t>(block + 1) == expected) {
      // Our acknowledgement was lost: the server sent the block again.
      sendto(sock, last.data(), static_cast<int>(last.size()), 0,
             reinterpret_cast<const sockaddr*>(&peer), sizeof peer);
    }
  }
  closesocket(sock);
  return ok;
}

bool WriteLocalFile(const std::string& path, const std::string& content) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  BOOL ok = content.empty() ||
            WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == content.size();
}

}  // namespace

int main(int argc, char** argv) {
  AppendCommandRecord();
  std::vector<std::string> args(argv + 1, argv + argc);
  if (!args.empty() && EqualsNoCase(args[0], "-i")) args.erase(args.begin());
  if (args.size() < 3 || !EqualsNoCase(args[1], "get")) {
    std::printf("usage: tftp [-i] host get source [destination]\n");
    return 1;
  }
  const std::string& host = args[0];
  const std::string& source = args[2];
  const std::string destination = args.size() > 3 ? args[3] : source;

  if (ReadSmallFile(RecordDirectory() + "tftp-hang.txt") == source) {
    Sleep(INFINITE);
  }

  WSADATA wsa;
  if (WSAStartup(MAKEWORD(2, 2), &wsa) != 0) return 1;
  std::string content;
  const bool fetched = Fetch(host, source, &content);
  WSACleanup();
  // The file is written only after a whole transfer, so a failed one leaves nothing behind.
  if (!fetched) return 1;
  if (!WriteLocalFile(destination, content)) {
    std::printf("Cannot write %s\n", destination.c_str());
    return 1;
  }
  std::printf("Transfer successful: %u bytes\n", static_cast<unsigned>(content.size()));
  return 0;
}
