// Tolvik's own TFTP client, the other direction: puts one file on a server (a write request).
#pragma once

#include <string>

#include "client/tftp_session.h"
#include "platform/datagram_api.h"

// Write request for fileName in octet mode, as sent to port 69.
std::string TftpWriteRequest(const std::string& fileName);

// Writes content as fileName to host within kTftpFileLimitMs, with the read's retransmission
// every kTftpRetransmitMs. kComplete once the server acknowledged the last block; on
// kServerError *serverMessage holds the text of the server's ERROR packet.
TftpOutcome TftpWriteFile(DatagramApi& datagrams, const std::string& host,
                          const std::string& fileName, const std::string& content,
                          std::string* serverMessage);
