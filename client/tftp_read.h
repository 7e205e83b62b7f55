// Tolvik's own TFTP client: reads one file from a server (a read request in octet mode).
#pragma once

#include <string>

#include "client/tftp_session.h"
#include "platform/datagram_api.h"

// Read request for fileName in octet mode, as sent to port 69.
std::string TftpReadRequest(const std::string& fileName);

// Reads fileName from host within kTftpFileLimitMs, up to kTftpReadLimitBytes. Only packets from the port that answered
// the request (at the host's address) count; the socket is opened and closed here.
TftpOutcome TftpReadFile(DatagramApi& datagrams, const std::string& host,
                         const std::string& fileName, std::string* content);
