// Tolvik's own TFTP client: reads one file from a server (a read request in octet mode).
#pragma once

#include <cstdint>
#include <string>

#include "platform/datagram_api.h"

enum class TftpOutcome {
  kComplete,     // every block arrived; the content is whole
  kServerError,  // the server answered with an ERROR packet (no such file, no access...)
  kNoAnswer,     // the overall time ran out, or the server fell silent part-way
  kNoSocket,     // no socket, the host could not be resolved, or the socket failed
};

constexpr uint16_t kTftpServerPort = 69;
constexpr size_t kTftpBlockSize = 512;
constexpr uint32_t kTftpRetransmitMs = 1000;
constexpr uint32_t kTftpFileLimitMs = 60000;

// Read request for fileName in octet mode, as sent to port 69.
std::string TftpReadRequest(const std::string& fileName);

// Reads fileName from host within kTftpFileLimitMs. Only packets from the port that answered
// the request (at the host's address) count; the socket is opened and closed here.
TftpOutcome TftpReadFile(DatagramApi& datagrams, const std::string& host,
                         const std::string& fileName, std::string* content);
