// Tolvik's own TFTP client, reading: request, numbered 512-byte blocks, acknowledgements.
#include "client/tftp_read.h"

namespace {

std::string AckPacket(uint16_t block) {
  std::string packet;
  PutTftpNumber(&packet, kTftpOpAck);
  PutTftpNumber(&packet, block);
  return packet;
}

TftpOutcome ReadBlocks(TftpSession& session, const std::string& fileName, std::string* content) {
  uint16_t expected = 1;  // the next block; wraps from 65535 to 0 as servers count on
  session.Start(TftpReadRequest(fileName));
  for (;;) {
    Datagram in;
    TftpOutcome ended = TftpOutcome::kNoAnswer;
    if (!session.Next(&in, &ended)) return ended;
    const uint16_t op = TftpNumberAt(in.bytes, 0);
    if (op == kTftpOpError) return TftpOutcome::kServerError;
    if (op != kTftpOpData || in.bytes.size() > kTftpHeaderSize + kTftpBlockSize) continue;
    const uint16_t block = TftpNumberAt(in.bytes, 2);
    if (block == expected) {
      session.Answered(in.port);
      content->append(in.bytes, kTftpHeaderSize, std::string::npos);
      if (content->size() > kTftpReadLimitBytes) return TftpOutcome::kTooLarge;
      session.Send(AckPacket(block));
      // A block shorter than 512 bytes, an empty one included, is the last.
      if (in.bytes.size() < kTftpHeaderSize + kTftpBlockSize) return TftpOutcome::kComplete;
      ++expected;
    } else if (session.answered() && block == static_cast<uint16_t>(expected - 1)) {
      // Our acknowledgement was lost: acknowledge again, keep the block once.
      session.Send(AckPacket(block));
    }
  }
}

}  // namespace

std::string TftpReadRequest(const std::string& fileName) {
  return TftpRequest(kTftpOpReadRequest, fileName);
}

TftpOutcome TftpReadFile(DatagramApi& datagrams, const std::string& host,
                         const std::string& fileName, std::string* content) {
  content->clear();
  const TftpOutcome outcome = RunTftpTransfer(
      datagrams, host, [&](TftpSession& session) { return ReadBlocks(session, fileName, content); });
  if (outcome != TftpOutcome::kComplete) content->clear();
  return outcome;
}
