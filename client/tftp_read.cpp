// Tolvik's own TFTP client: request, numbered 512-byte blocks, acknowledgements, retransmission.
#include "client/tftp_read.h"

#include <algorithm>

#include "common/text_rules.h"

namespace {

constexpr uint16_t kOpReadRequest = 1;
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

std::string AckPacket(uint16_t block) {
  std::string packet;
  PutNumber(&packet, kOpAck);
  PutNumber(&packet, block);
  return packet;
}

// One transfer: who answers, what has arrived, what to send again when nothing comes.
struct Transfer {
  explicit Transfer(DatagramApi& d) : datagrams(d) {}

  DatagramApi& datagrams;
  uint32_t server = 0;
  uint16_t serverPort = kTftpServerPort;  // the transfer port once the server has answered
  bool answered = false;
  uint16_t expected = 1;  // the next block; wraps from 65535 to 0 as servers count on
  std::string lastSent;
  uint32_t lastSentAt = 0;

  bool Send(const std::string& packet) {
    lastSent = packet;
    lastSentAt = datagrams.Milliseconds();
    return datagrams.SendTo(server, serverPort, packet);
  }
};

}  // namespace

std::string TftpReadRequest(const std::string& fileName) {
  std::string packet;
  PutNumber(&packet, kOpReadRequest);
  packet += fileName;
  packet += '\0';
  packet += "octet";
  packet += '\0';
  return packet;
}

namespace {

TftpOutcome RunTransfer(Transfer& t, const std::string& fileName, std::string* content) {
  const uint32_t start = t.datagrams.Milliseconds();
  // A failed send counts as a lost packet: the retransmission tries again.
  t.Send(TftpReadRequest(fileName));
  for (;;) {
    const uint32_t now = t.datagrams.Milliseconds();
    const uint32_t elapsed = now - start;
    if (elapsed >= kTftpFileLimitMs) return TftpOutcome::kNoAnswer;
    const uint32_t sinceSend = now - t.lastSentAt;
    if (sinceSend >= kTftpRetransmitMs) {
      t.Send(t.lastSent);
      continue;
    }
    Datagram in;
    const uint32_t wait = std::min(kTftpRetransmitMs - sinceSend, kTftpFileLimitMs - elapsed);
    const ReceiveStatus status = t.datagrams.Receive(wait, &in);
    if (status == ReceiveStatus::kFailed) return TftpOutcome::kNoSocket;
    if (status != ReceiveStatus::kReceived) continue;
    // Anything not from the server's transfer port belongs to someone else.
    if (in.address != t.server || (t.answered && in.port != t.serverPort)) continue;
    if (in.bytes.size() < kHeaderSize) continue;
    const uint16_t op = NumberAt(in.bytes, 0);
    if (op == kOpError) return TftpOutcome::kServerError;
    if (op != kOpData || in.bytes.size() > kHeaderSize + kTftpBlockSize) continue;
    const uint16_t block = NumberAt(in.bytes, 2);
    if (block == t.expected) {
      if (!t.answered) {
        t.answered = true;
        t.serverPort = in.port;
      }
      content->append(in.bytes, kHeaderSize, std::string::npos);
      t.Send(AckPacket(block));
      // A block shorter than 512 bytes, an empty one included, is the last.
      if (in.bytes.size() < kHeaderSize + kTftpBlockSize) return TftpOutcome::kComplete;
      ++t.expected;
    } else if (t.answered && block == static_cast<uint16_t>(t.expected - 1)) {
      // Our acknowledgement was lost: acknowledge again, keep the block once.
      t.Send(AckPacket(block));
    }
  }
}

}  // namespace

TftpOutcome TftpReadFile(DatagramApi& datagrams, const std::string& host,
                         const std::string& fileName, std::string* content) {
  content->clear();
  if (!datagrams.Open()) return TftpOutcome::kNoSocket;
  Transfer transfer(datagrams);
  TftpOutcome outcome = TftpOutcome::kNoSocket;
  // The address reaches Windows' tftp as a word of its command line, without surrounding spaces.
  if (datagrams.Resolve(TrimText(host), &transfer.server)) {
    outcome = RunTransfer(transfer, fileName, content);
  }
  datagrams.Close();
  if (outcome != TftpOutcome::kComplete) content->clear();
  return outcome;
}
