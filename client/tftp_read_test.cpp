// Tolvik's own TFTP client against a scripted socket, reading and writing: losses, duplicates,
// strangers, errors.
#include "client/tftp_read.h"
#include "client/tftp_write.h"

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

// A transfer whose peer fell silent: its last packet went out 4 times, 3 s apart, and the
// transfer gave up 3 s after the last of them, 12 s in all. The repeats are taken off *sends,
// leaving what the case expects.
void ExpectSentAgainUntilTheLimit(uint32_t elapsed, const std::vector<std::string>& expected,
                                  std::vector<std::string>* sends, const char* name) {
  EXPECT_GE(elapsed, 12000u) << name;
  EXPECT_LT(elapsed, 12100u) << name;
  for (int repeat = 1; repeat < 4 && sends->size() > expected.size(); ++repeat) {
    EXPECT_EQ(sends->back(), expected.back()) << name;
    sends->pop_back();
  }
}

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
      {"port unreachable: no second request", {PortUnreachable()}, TftpOutcome::kUnreachable, "",
       {"69 RRQ mac.ini octet"}, false},
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
    if (c.untilTimeout) ExpectSentAgainUntilTheLimit(net.now - start, c.sends, &sends, c.name);
    EXPECT_EQ(sends, c.sends) << c.name;
    for (uint32_t to : net.sendAddresses) EXPECT_EQ(to, kScriptedServer) << c.name;
    EXPECT_EQ(net.openSockets, 0) << c.name << ": socket left open";
  }
}

TEST(TftpReadFile, RefusesAFileOfMoreThanFourMegabytes) {
  CallLog log;
  ScriptedDatagramApi net(log);
  std::deque<Arrival> blocks;
  for (uint32_t block = 1; block <= 8193; ++block) {
    blocks.push_back(DataArrival(static_cast<uint16_t>(block), kFull));
  }
  net.scripts.push_back(blocks);
  std::string content;
  EXPECT_EQ(TftpReadFile(net, "192.0.2.1", "mac.ini", &content), TftpOutcome::kTooLarge);
  EXPECT_TRUE(content.empty());
  EXPECT_EQ(net.sends.back(), "2001 ACK 8192");  // the block beyond the limit is not taken
}

struct WriteCase {
  const char* name;
  std::string content;
  std::vector<Arrival> arrivals;
  TftpOutcome outcome;
  std::string serverMessage;
  std::vector<std::string> sends;  // exactly these; with untilTimeout, the last one repeats
  bool untilTimeout;
};

TEST(TftpWriteFile, SendsEachBlockOnceAcknowledgedAndKeepsTheServersError) {
  const std::string k700 = kFull + std::string(188, 'c');
  const WriteCase cases[] = {
      {"short file: request, one block", "[report]\r\n", {AckArrival(0), AckArrival(1)},
       TftpOutcome::kComplete, "", {"69 WRQ tolvik-X.ini octet", "2001 DATA 1 (10 bytes)"}, false},
      {"512 bytes end with an empty block", kFull, {AckArrival(0), AckArrival(1), AckArrival(2)},
       TftpOutcome::kComplete, "",
       {"69 WRQ tolvik-X.ini octet", "2001 DATA 1 (512 bytes)", "2001 DATA 2 (0 bytes)"}, false},
      {"lost request and lost block are sent again", "x",
       {Silence(), AckArrival(0), Silence(), AckArrival(1)}, TftpOutcome::kComplete, "",
       {"69 WRQ tolvik-X.ini octet", "69 WRQ tolvik-X.ini octet", "2001 DATA 1 (1 bytes)",
        "2001 DATA 1 (1 bytes)"},
       false},
      {"a repeated acknowledgement sends nothing twice", k700,
       {AckArrival(0), AckArrival(1), AckArrival(1), AckArrival(0), AckArrival(2)},
       TftpOutcome::kComplete, "",
       {"69 WRQ tolvik-X.ini octet", "2001 DATA 1 (512 bytes)", "2001 DATA 2 (188 bytes)"}, false},
      {"strangers are ignored", "x",
       {AckArrival(0), AckArrival(1, 2002), ErrorArrival(0, "stray", 2002), AckArrival(1)},
       TftpOutcome::kComplete, "", {"69 WRQ tolvik-X.ini octet", "2001 DATA 1 (1 bytes)"}, false},
      {"refused at once, the server's text kept", "x", {ErrorArrival(2, "Access violation")},
       TftpOutcome::kServerError, "Access violation", {"69 WRQ tolvik-X.ini octet"}, false},
      {"disk full part-way", k700, {AckArrival(0), ErrorArrival(3, "Disk full")},
       TftpOutcome::kServerError, "Disk full",
       {"69 WRQ tolvik-X.ini octet", "2001 DATA 1 (512 bytes)"}, false},
      {"server stops after the request", "x", {AckArrival(0)}, TftpOutcome::kNoAnswer, "",
       {"69 WRQ tolvik-X.ini octet", "2001 DATA 1 (1 bytes)"}, true},
      {"nobody answers", "x", {}, TftpOutcome::kNoAnswer, "", {"69 WRQ tolvik-X.ini octet"}, true},
  };
  for (const WriteCase& c : cases) {
    CallLog log;
    ScriptedDatagramApi net(log);
    net.scripts.push_back(std::deque<Arrival>(c.arrivals.begin(), c.arrivals.end()));
    const uint32_t start = net.now;
    std::string message = "left over";
    EXPECT_EQ(TftpWriteFile(net, "192.0.2.1", "tolvik-X.ini", c.content, &message), c.outcome)
        << c.name;
    EXPECT_EQ(message, c.serverMessage) << c.name;
    std::vector<std::string> sends = net.sends;
    if (c.untilTimeout) ExpectSentAgainUntilTheLimit(net.now - start, c.sends, &sends, c.name);
    EXPECT_EQ(sends, c.sends) << c.name;
    if (c.outcome == TftpOutcome::kComplete) {
      // The blocks the server acknowledged, put together, are the file.
      std::string received;
      std::string lastBlock;
      for (const std::string& packet : net.packets) {
        if (packet.size() < 4 || packet[1] != 3 || packet.substr(2, 2) == lastBlock) continue;
        lastBlock = packet.substr(2, 2);
        received += packet.substr(4);
      }
      EXPECT_TRUE(SameBytes(received, c.content)) << c.name;
    }
    EXPECT_EQ(net.openSockets, 0) << c.name << ": socket left open";
  }
}

}  // namespace
