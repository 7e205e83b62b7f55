// Tolvik's own TFTP client, writing: request, numbered 512-byte blocks, each sent when the one
// before it was acknowledged, retransmission when nothing comes.
#include "client/tftp_write.h"

#include <algorithm>

#include "common/text_rules.h"

namespace {

constexpr uint16_t kOpWriteRequest = 2;
constexpr uint16_t kOpData = 3;
constexpr uint16_t kOpAck = 4;
constexpr uint16_t kOpError = 5;
constexpr size_t kHeaderSize = 4;

void PutNumber(std::string* packet, uint16_t value) {
  packet->push_back(static_cast<char>(value >> 8));
  packet->push_back(static_cast<char>(value & 0xFF));
}

uint16_t NumberAt(const std::string& bytes, size_t offset) {
  return static_cast<uint16_t>((static_cast<unsigned char>(bytes[offset]) << 8) |
                               static_cast<unsigned char>(bytes[offset + 1]));
}

// Block number (counted from 1, wrapping as servers count on) and its part of content: the last
// block is shorter than 512 bytes, an empty one when the content fills its blocks exactly.
std::string DataPacket(uint16_t block, const std::string& content, size_t index) {
  std::string packet;
  PutNumber(&packet, kOpData);
  PutNumber(&packet, block);
  const size_t begin = index * kTftpBlockSize;
  if (begin < content.size()) packet.append(content, begin, kTftpBlockSize);
  return packet;
}

// The text of an ERROR packet: up to its NUL, or to the end when the server sent none.
std::string ErrorMessage(const std::string& packet) {
  const size_t end = packet.find('\0', kHeaderSize);
  return packet.substr(kHeaderSize, end == std::string::npos ? std::string::npos : end - kHeaderSize);
}

struct Upload {
  explicit Upload(DatagramApi& d) : datagrams(d) {}

  DatagramApi& datagrams;
  uint32_t server = 0;
  uint16_t serverPort = kTftpServerPort;
  bool answered = false;
  std::string lastSent;
  uint32_t lastSentAt = 0;

  void Send(const std::string& packet) {
    lastSent = packet;
    lastSentAt = datagrams.Milliseconds();
    datagrams.SendTo(server, serverPort, packet);  // a failed send counts as a lost packet
  }
};

TftpOutcome RunUpload(Upload& u, const std::string& fileName, const std::string& content,
                      std::string* serverMessage) {
  const size_t blocks = content.size() / kTftpBlockSize + 1;
  size_t acknowledged = 0;  // blocks the server has confirmed; the request counts as block 0
  const uint32_t start = u.datagrams.Milliseconds();
  u.Send(TftpWriteRequest(fileName));
  for (;;) {
    const uint32_t now = u.datagrams.Milliseconds();
    const uint32_t elapsed = now - start;
    if (elapsed >= kTftpFileLimitMs) return TftpOutcome::kNoAnswer;
    const uint32_t sinceSend = now - u.lastSentAt;
    if (sinceSend >= kTftpRetransmitMs) {
      u.Send(u.lastSent);
      continue;
    }
    Datagram in;
    const uint32_t wait = std::min(kTftpRetransmitMs - sinceSend, kTftpFileLimitMs - elapsed);
    const ReceiveStatus status = u.datagrams.Receive(wait, &in);
    if (status == ReceiveStatus::kFailed) return TftpOutcome::kNoSocket;
    if (status != ReceiveStatus::kReceived) continue;
    if (in.address != u.server || (u.answered && in.port != u.serverPort)) continue;
    if (in.bytes.size() < kHeaderSize) continue;
    const uint16_t op = NumberAt(in.bytes, 0);
    if (op == kOpError) {
      *serverMessage = ErrorMessage(in.bytes);
      return TftpOutcome::kServerError;
    }
    if (op != kOpAck) continue;
    // Only the acknowledgement of the block just sent moves on. A repeated one (the server
    // heard a block twice) is not answered: answering it would send every later block twice.
    if (NumberAt(in.bytes, 2) != static_cast<uint16_t>(acknowledged)) continue;
    if (!u.answered) {
      u.answered = true;
      u.serverPort = in.port;
    }
    if (acknowledged == blocks) return TftpOutcome::kComplete;
    ++acknowledged;
    u.Send(DataPacket(static_cast<uint16_t>(acknowledged), content, acknowledged - 1));
  }
}

}  // namespace

std::string TftpWriteRequest(const std::string& fileName) {
  std::string packet;
  PutNumber(&packet, kOpWriteRequest);
  packet += fileName;
  packet += '\0';
  packet += "octet";
  packet += '\0';
  return packet;
}

TftpOutcome TftpWriteFile(DatagramApi& datagrams, const std::string& host,
                          const std::string& fileName, const std::string& content,
                          std::string* serverMessage) {
  serverMessage->clear();
  if (!datagrams.Open()) return TftpOutcome::kNoSocket;
  Upload upload(datagrams);
  TftpOutcome outcome = TftpOutcome::kNoSocket;
  if (datagrams.Resolve(TrimText(host), &upload.server)) {
    outcome = RunUpload(upload, fileName, content, serverMessage);
  }
  datagrams.Close();
  return outcome;
}
