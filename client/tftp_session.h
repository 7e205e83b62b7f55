// What Tolvik's TFTP client shares between reading and writing: the packets' numbers, the
// request, and one transfer's exchange with the server (RFC 1350, octet mode).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/datagram_api.h"

enum class TftpOutcome {
  kComplete,     // every block arrived (read) or was acknowledged (write)
  kServerError,  // the server answered with an ERROR packet (no such file, no access...)
  kNoAnswer,     // the overall time ran out, or the server fell silent part-way
  kNoSocket,     // no socket, the host could not be resolved, or the socket failed
  kUnreachable,  // the host answered Port Unreachable: no TFTP server there
  kTooLarge,     // the file grew beyond kTftpReadLimitBytes
};

constexpr uint16_t kTftpServerPort = 69;
constexpr size_t kTftpBlockSize = 512;
// Each packet is sent up to kTftpSendsPerPacket times, kTftpRetransmitMs apart: a silent server
// costs one file about 12 s, so the unattended two minutes hold several attempts.
constexpr uint32_t kTftpRetransmitMs = 3000;
constexpr int kTftpSendsPerPacket = 4;
constexpr uint32_t kTftpFileLimitMs = 60000;
// A list of thousands of PCs is some hundred kilobytes; more than this is no list.
constexpr size_t kTftpReadLimitBytes = 4 * 1024 * 1024;

constexpr uint16_t kTftpOpReadRequest = 1;
constexpr uint16_t kTftpOpWriteRequest = 2;
constexpr uint16_t kTftpOpData = 3;
constexpr uint16_t kTftpOpAck = 4;
constexpr uint16_t kTftpOpError = 5;
constexpr size_t kTftpHeaderSize = 4;  // opcode and block number

void PutTftpNumber(std::string* packet, uint16_t value);    // big-endian, as the protocol sends
uint16_t TftpNumberAt(const std::string& bytes, size_t offset);

// A read or write request (op) for fileName in octet mode, as sent to port 69.
std::string TftpRequest(uint16_t op, const std::string& fileName);

// One transfer with one server: the last packet sent is sent again every kTftpRetransmitMs
// while nothing comes, kTftpSendsPerPacket times in all, and the whole transfer gets
// kTftpFileLimitMs. Once the server has answered from its transfer port, only that port counts.
class TftpSession {
 public:
  TftpSession(DatagramApi& datagrams, uint32_t server) : datagrams_(datagrams), server_(server) {}

  // Sends the request and starts the transfer's clock.
  void Start(const std::string& request);
  // Sends packet and keeps it for retransmission; a failed send counts as a lost packet.
  void Send(const std::string& packet);
  // The next packet of at least kTftpHeaderSize bytes from the server. False when the transfer
  // ends without one: *ended is kNoAnswer when the time ran out or the last packet went
  // unanswered kTftpSendsPerPacket times, kUnreachable when the host refused the port,
  // kNoSocket when the socket failed.
  bool Next(Datagram* in, TftpOutcome* ended);
  // Takes the port of the server's first answer as the transfer's port.
  void Answered(uint16_t port);
  bool answered() const { return answered_; }

 private:
  void Resend();  // the last packet once more

  DatagramApi& datagrams_;
  const uint32_t server_;
  uint16_t serverPort_ = kTftpServerPort;
  bool answered_ = false;
  std::string lastSent_;
  uint32_t lastSentAt_ = 0;
  int sendsOfLast_ = 0;
  uint32_t start_ = 0;
};

// Opens the socket, resolves host, runs transfer on a session with it, and closes the socket.
TftpOutcome RunTftpTransfer(DatagramApi& datagrams, const std::string& host,
                            const std::function<TftpOutcome(TftpSession&)>& transfer);
