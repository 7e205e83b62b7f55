// Tolvik's own TFTP client against a scripted socket: losses, duplicates, strangers, errors.
#include "client/tftp_read.h"

#include <gtest/gtest.h>

#include "tests/fakes/byte_text.h"
#include "tests/fakes/scripted_datagram_api.h"

namespace {

const std::string kFull(512, 'a');
const std::string kFull2(512, 'b');

struct ReadCase {
  const char* name;
  std::vector<Arrival> arrivals;
  TftpOutcome outcome;
  std::string content;
  std::vector<std::string> sends;  // exactly these; with untilTimeout, the last one repeats
  bool untilTimeout;
};

TEST(TftpReadFile, FollowsTheServerThroughLossDuplicatesStrangersAndErrors) {
  const ReadCase cases[] = {
      {"short file: one block", {DataArrival(1, "[list]\r\n")}, TftpOutcome::kComplete,
       "[list]\r\n", {"69 RRQ mac.ini octet", "2001 ACK 1"}, false},
      {"512 x 2 bytes end with an empty block",
       {DataArrival(1, kFull), DataArrival(2, kFull2), DataArrival(3, "")},
       TftpOutcome::kComplete, kFull + kFull2,
       {"69 RRQ mac.ini octet", "2001 ACK 1", "2001 ACK 2", "2001 ACK 3"}, false},
      {"lost request is sent again", {Silence(), DataArrival(1, "x")}, TftpOutcome::kComplete,
       "x", {"69 RRQ mac.ini octet", "69 RRQ mac.ini octet", "2001 ACK 1"}, false},
      {"lost block: the acknowledgement is sent again",
       {DataArrival(1, kFull), Silence(), DataArrival(2, "y")}, TftpOutcome::kComplete,
       kFull + "y", {"69 RRQ mac.ini octet", "2001 ACK 1", "2001 ACK 1", "2001 ACK 2"}, false},
      {"duplicate block acknowledged, kept once",
       {DataArrival(1, kFull), DataArrival(1, kFull), DataArrival(2, "z")},
       TftpOutcome::kComplete, kFull + "z",
       {"69 RRQ mac.ini octet", "2001 ACK 1", "2001 ACK 1", "2001 ACK 2"}, false},
      {"foreign port and foreign address ignored",
       {DataArrival(1, "evil", 2001, 0xC6336401), DataArrival(1, kFull),
        DataArrival(2, "evil", 2002), ErrorArrival(0, "stray", 2002), DataArrival(2, "ok")},
       TftpOutcome::kComplete, kFull + "ok", {"69 RRQ mac.ini octet", "2001 ACK 1", "2001 ACK 2"},
       false},
      {"malformed and out-of-order packets ignored",
       {RawArrival(std::string("\x00\x03\x00", 3)), DataArrival(1, kFull + "!"), DataArrival(2, "early"),
        DataArrival(1, "k")},
       TftpOutcome::kComplete, "k", {"69 RRQ mac.ini octet", "2001 ACK 1"}, false},
      {"error reply ends the file", {ErrorArrival(1, "File not found")},
       TftpOutcome::kServerError, "", {"69 RRQ mac.ini octet"}, false},
      {"error part-way ends the file with nothing", {DataArrival(1, kFull), ErrorArrival(3, "full")},
       TftpOutcome::kServerError, "", {"69 RRQ mac.ini octet", "2001 ACK 1"}, false},
      {"server stops half-way", {DataArrival(1, kFull), DataArrival(2, kFull2)},
       TftpOutcome::kNoAnswer, "", {"69 RRQ mac.ini octet", "2001 ACK 1", "2001 ACK 2"}, true},
      {"nobody answers", {}, TftpOutcome::kNoAnswer, "", {"69 RRQ mac.ini octet"}, true},
  };
  for (const ReadCase& c : cases) {
    CallLog log;
    ScriptedDatagramApi net(log);
    net.scripts.push_back(std::deque<Arrival>(c.arrivals.begin(), c.arrivals.end()));
    const uint32_t start = net.now;
    std::string content = "left over";
    EXPECT_EQ(TftpReadFile(net, " 192.0.2.1 ", "mac.ini", &content), c.outcome) << c.name;
    EXPECT_TRUE(SameBytes(content, c.content)) << c.name;
    std::vector<std::string> sends = net.sends;
    if (c.untilTimeout) {
      // Sent again every second until 60 s have passed, then given up.
      const uint32_t elapsed = net.now - start;
      EXPECT_GE(elapsed, kTftpFileLimitMs) << c.name;
      EXPECT_LT(elapsed, kTftpFileLimitMs + kTftpRetransmitMs) << c.name;
      EXPECT_GE(sends.size(), c.sends.size() + 50) << c.name;
      while (sends.size() > c.sends.size() && sends.back() == c.sends.back()) sends.pop_back();
    }
    EXPECT_EQ(sends, c.sends) << c.name;
    for (uint32_t to : net.sendAddresses) EXPECT_EQ(to, kScriptedServer) << c.name;
    EXPECT_EQ(net.openSockets, 0) << c.name << ": socket left open";
  }
}

}  // namespace
