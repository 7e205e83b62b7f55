// The TFTP client's shared part: packet numbers, requests, retransmission and the time limit.
#include "client/tftp_session.h"

#include <algorithm>

#include "common/text_rules.h"

void PutTftpNumber(std::string* packet, uint16_t value) {
  packet->push_back(static_cast<char>(value >> 8));
  packet->push_back(static_cast<char>(value & 0xFF));
}

uint16_t TftpNumberAt(const std::string& bytes, size_t offset) {
  return static_cast<uint16_t>((static_cast<unsigned char>(bytes[offset]) << 8) |
                               static_cast<unsigned char>(bytes[offset + 1]));
}

std::string TftpRequest(uint16_t op, const std::string& fileName) {
  std::string packet;
  PutTftpNumber(&packet, op);
  packet += fileName;
  packet += '\0';
  packet += "octet";
  packet += '\0';
  return packet;
}

void TftpSession::Start(const std::string& request) {
  start_ = datagrams_.Milliseconds();
  Send(request);
}

void TftpSession::Send(const std::string& packet) {
  lastSent_ = packet;
  sendsOfLast_ = 0;
  Resend();
}

void TftpSession::Resend() {
  ++sendsOfLast_;
  lastSentAt_ = datagrams_.Milliseconds();
  datagrams_.SendTo(server_, serverPort_, lastSent_);
}

bool TftpSession::Next(Datagram* in, TftpOutcome* ended) {
  for (;;) {
    const uint32_t now = datagrams_.Milliseconds();
    const uint32_t elapsed = now - start_;
    if (elapsed >= kTftpFileLimitMs) {
      *ended = TftpOutcome::kNoAnswer;
      return false;
    }
    const uint32_t sinceSend = now - lastSentAt_;
    if (sinceSend >= kTftpRetransmitMs) {
      if (sendsOfLast_ >= kTftpSendsPerPacket) {
        *ended = TftpOutcome::kNoAnswer;
        return false;
      }
      Resend();
      continue;
    }
    const uint32_t wait = std::min(kTftpRetransmitMs - sinceSend, kTftpFileLimitMs - elapsed);
    const ReceiveStatus status = datagrams_.Receive(wait, in);
    if (status == ReceiveStatus::kFailed || status == ReceiveStatus::kRefused) {
      *ended = status == ReceiveStatus::kFailed ? TftpOutcome::kNoSocket : TftpOutcome::kUnreachable;
      return false;
    }
    if (status != ReceiveStatus::kReceived) continue;
    // Anything not from the server's transfer port belongs to someone else.
    if (in->address != server_ || (answered_ && in->port != serverPort_)) continue;
    if (in->bytes.size() < kTftpHeaderSize) continue;
    return true;
  }
}

void TftpSession::Answered(uint16_t port) {
  if (answered_) return;
  answered_ = true;
  serverPort_ = port;
}

TftpOutcome RunTftpTransfer(DatagramApi& datagrams, const std::string& host,
                            const std::function<TftpOutcome(TftpSession&)>& transfer) {
  if (!datagrams.Open()) return TftpOutcome::kNoSocket;
  TftpOutcome outcome = TftpOutcome::kNoSocket;
  uint32_t server = 0;
  // The address reaches Windows' tftp as a word of its command line, without surrounding spaces.
  if (datagrams.Resolve(TrimText(host), &server)) {
    TftpSession session(datagrams, server);
    outcome = transfer(session);
  }
  datagrams.Close();
  return outcome;
}
