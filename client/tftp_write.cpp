// Tolvik's own TFTP client, writing: request, numbered 512-byte blocks, each sent when the one
// before it was acknowledged.
#include "client/tftp_write.h"

namespace {

// Block number (counted from 1, wrapping as servers count on) and its part of content: the last
// block is shorter than 512 bytes, an empty one when the content fills its blocks exactly.
std::string DataPacket(uint16_t block, const std::string& content, size_t index) {
  std::string packet;
  PutTftpNumber(&packet, kTftpOpData);
  PutTftpNumber(&packet, block);
  const size_t begin = index * kTftpBlockSize;
  if (begin < content.size()) packet.append(content, begin, kTftpBlockSize);
  return packet;
}

// The text of an ERROR packet: up to its NUL, or to the end when the server sent none.
std::string ErrorMessage(const std::string& packet) {
  const size_t end = packet.find('\0', kTftpHeaderSize);
  return packet.substr(kTftpHeaderSize,
                       end == std::string::npos ? std::string::npos : end - kTftpHeaderSize);
}

TftpOutcome WriteBlocks(TftpSession& session, const std::string& fileName,
                        const std::string& content, std::string* serverMessage) {
  const size_t blocks = content.size() / kTftpBlockSize + 1;
  size_t acknowledged = 0;  // blocks the server has confirmed; the request counts as block 0
  session.Start(TftpWriteRequest(fileName));
  for (;;) {
    Datagram in;
    TftpOutcome ended = TftpOutcome::kNoAnswer;
    if (!session.Next(&in, &ended)) return ended;
    const uint16_t op = TftpNumberAt(in.bytes, 0);
    if (op == kTftpOpError) {
      *serverMessage = ErrorMessage(in.bytes);
      return TftpOutcome::kServerError;
    }
    if (op != kTftpOpAck) continue;
    // Only the acknowledgement of the block just sent moves on. A repeated one (the server
    // heard a block twice) is not answered: answering it would send every later block twice.
    if (TftpNumberAt(in.bytes, 2) != static_cast<uint16_t>(acknowledged)) continue;
    session.Answered(in.port);
    if (acknowledged == blocks) return TftpOutcome::kComplete;
    ++acknowledged;
    session.Send(DataPacket(static_cast<uint16_t>(acknowledged), content, acknowledged - 1));
  }
}

}  // namespace

std::string TftpWriteRequest(const std::string& fileName) {
  return TftpRequest(kTftpOpWriteRequest, fileName);
}

TftpOutcome TftpWriteFile(DatagramApi& datagrams, const std::string& host,
                          const std::string& fileName, const std::string& content,
                          std::string* serverMessage) {
  serverMessage->clear();
  return RunTftpTransfer(datagrams, host, [&](TftpSession& session) {
    return WriteBlocks(session, fileName, content, serverMessage);
  });
}
