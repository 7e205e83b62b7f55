// Command line: cutting at "/", reading the switches, the help box, and hostile input.
#include "client/command_line.h"

#include <gtest/gtest.h>

#include <random>

#include "tests/fakes/byte_text.h"
#include "tests/fakes/fake_client_platform.h"
#include "tests/pinned_texts.h"

namespace {

// ParseCommandLine run once on a fresh fake: the command line in, the switches read out.
struct ParsedCommandLine {
  explicit ParsedCommandLine(const std::string& commandLine) {
    fake.system.commandLine = commandLine;
    ClientPlatform platform = fake.platform();
    ParseCommandLine(platform, state, &autoApply, &fetchRequested);
  }
  FakeClientPlatform fake;
  ClientState state;
  bool autoApply = false;
  bool fetchRequested = false;
};

struct SplitCase {
  const char* text;
  std::vector<std::string> pieces;
};

TEST(SplitAt, CutsAsTheCommandLineRuleSays) {
  const SplitCase cases[] = {
      {"", {}},
      {"/", {}},
      {"//", {"/"}},           // one "/" dropped in front, the one left stands alone
      {"///", {"/"}},
      {"\"C:\\T\\Tolvik.exe\"", {"\"C:\\T\\Tolvik.exe\""}},
      {"\"C:\\T\\Tolvik.exe\" /A /K", {"\"C:\\T\\Tolvik.exe\" ", "A ", "K"}},
      {"Tolvik.exe/A/K/R", {"Tolvik.exe", "A", "K", "R"}},
      {"/A", {"A"}},           // a leading "/" is removed, so A becomes the first piece
      {"/A/K", {"A", "K"}},
      {"x /A //K /R", {"x ", "A ", "K /R"}},  // two "/" in a row end the cutting
      {"x //", {"x ", "/"}},   // a "/" standing alone as the rest is kept
      {"x /", {"x "}},
      {"x /A/", {"x ", "A"}},
      {"x /A //", {"x ", "A ", "/"}},
      {"C:/N/Tolvik.exe", {"C:", "N", "Tolvik.exe"}},
      {"x /IP: 10.0.0.1 ", {"x ", "IP: 10.0.0.1 "}},
  };
  for (const SplitCase& c : cases) {
    EXPECT_EQ(SplitAt(c.text, '/'), c.pieces) << "text: " << c.text;
  }
}

struct SwitchCase {
  const char* commandLine;
  bool autoApply;
  bool fetchRequested;
  uint8_t deleteAfterwards;
  uint8_t restartAfterwards;
  const char* fetchAddress;
};

TEST(ParseCommandLine, SetsTheSwitchesItsPiecesName) {
  const SwitchCase cases[] = {
      {"\"C:\\Tolvik\\Tolvik.exe\"", false, false, 0, 0, ""},
      {"\"C:\\Tolvik\\Tolvik.exe\" /A /K /R /N", true, true, 1, 1, ""},
      {"Tolvik.exe /a/k/r/n", true, true, 1, 1, ""},
      {"Tolvik.exe /A/K/R", true, false, 1, 1, ""},
      {"Tolvik.exe /AK", false, false, 0, 0, ""},             // one piece "AK": ignored
      {"Tolvik.exe /A K", false, false, 0, 0, ""},            // one piece "A K": ignored
      {"Tolvik.exe /A //K /R", true, false, 0, 0, ""},        // "K /R" is one piece
      {"Tolvik.exe /IP:", false, true, 0, 0, ""},             // empty address: fetch by DHCP
      {"Tolvik.exe /IP:  10.0.0.1  ", false, true, 0, 0, "  10.0.0.1"},
      {"Tolvik.exe /ip:Server One /K", false, true, 1, 0, "Server One"},
      {"Tolvik.exe /IP:10.0.0.1 /iP:tftp.Example", false, true, 0, 0, "tftp.Example"},
      {"Tolvik.exe /IPX", false, false, 0, 0, ""},
      {"Tolvik.exe /IP:a/b", false, true, 0, 0, "a"},         // "/" always cuts
      {"Tolvik.exe", false, false, 0, 0, ""},                 // path only: dropped
      {"/A", false, false, 0, 0, ""},                         // the first piece is dropped
      {"C:/N/Tolvik.exe", false, true, 0, 0, ""},             // a folder N acts as /N
      {"Tolvik.exe /\t\x01 r \x1f/\x7fK", false, false, 0, 1, ""},  // codes below 33 trimmed
      {"Tolvik.exe /K\x7f", false, false, 0, 0, ""},          // DEL (127) is not trimmed
      {"Tolvik.exe ////A", false, false, 0, 0, ""},           // "//A" after the doubled "/"
      {"Tolvik.exe / / /", false, false, 0, 0, ""},
  };
  for (const SwitchCase& c : cases) {
    const ParsedCommandLine run(c.commandLine);
    SCOPED_TRACE(c.commandLine);
    EXPECT_EQ(run.autoApply, c.autoApply);
    EXPECT_EQ(run.fetchRequested, c.fetchRequested);
    EXPECT_EQ(run.state.DeleteAfterwards, c.deleteAfterwards);
    EXPECT_EQ(run.state.RestartAfterwards, c.restartAfterwards);
    EXPECT_EQ(run.state.FetchAddress, c.fetchAddress);
    EXPECT_EQ(run.fake.window.helpBoxes.size(), 0u);
  }
}

TEST(ParseCommandLine, HelpHidesShowsTheExactTextAndPostsCloseThenReadsOn) {
  const ParsedCommandLine run("Tolvik.exe /? /A");
  const FakeClientPlatform& fake = run.fake;
  const std::string expected = pinned_tolvik_texts::kHelpText;
  ASSERT_EQ(fake.window.helpBoxes.size(), 1u);
  EXPECT_TRUE(SameBytes(fake.window.helpBoxes[0], expected));
  EXPECT_EQ(fake.log.Only({"Hide", "ShowHelpBox", "PostCloseRequest"}),
            (std::vector<std::string>{"Hide()", "ShowHelpBox(" + expected + ")",
                                      "PostCloseRequest()"}));
  EXPECT_TRUE(run.autoApply);  // reading went on after the help
  EXPECT_FALSE(fake.window.visible);
  // Each help piece shows the box once; "x?" is no help piece.
  const ParsedCommandLine twice("Tolvik.exe /? / ? /x?");
  EXPECT_EQ(twice.fake.window.helpBoxes.size(), 2u);
  EXPECT_EQ(twice.fake.window.closeRequests, 2);
}

TEST(ParseCommandLine, ThirtyTwoKilobyteCommandLines) {
  struct LongCase {
    std::string commandLine;
    bool autoApply;
    uint8_t restartAfterwards;
    size_t addressLength;
  };
  const std::string path = "\"C:\\Tolvik\\Tolvik.exe\"";
  std::string manySwitches = path;
  while (manySwitches.size() < 32760) manySwitches += " /a";
  manySwitches += " /R";
  const LongCase cases[] = {
      {manySwitches, true, 1, 0},
      {path + " /IP:" + std::string(32760, 'x'), false, 0, 32760},
      {path + std::string(32760, ' ') + "/R", false, 1, 0},
      {path + " /" + std::string(32760, '/') + "R", false, 0, 0},
  };
  for (const LongCase& c : cases) {
    const ParsedCommandLine run(c.commandLine);
    EXPECT_EQ(run.autoApply, c.autoApply) << c.commandLine.size();
    EXPECT_EQ(run.state.RestartAfterwards, c.restartAfterwards) << c.commandLine.size();
    EXPECT_EQ(run.state.FetchAddress.size(), c.addressLength) << c.commandLine.size();
  }
}

TEST(SplitAt, RandomTextsLoseOnlyTheirOuterSlashesWhileNoSlashIsDoubled) {
  const char alphabet[] = {'/', '/', '/', 'a', 'K', ' ', '\t', '?', ':', 'I', 'P', '\0', '\x81', '\xA1'};
  for (unsigned seed = 1; seed <= 3; ++seed) {
    std::mt19937 random(seed);
    for (int round = 0; round < 3000; ++round) {
      std::string text(random() % 40, ' ');
      for (char& c : text) c = alphabet[random() % sizeof(alphabet)];
      std::vector<std::string> pieces = SplitAt(text, '/');
      SCOPED_TRACE("seed " + std::to_string(seed) + " round " + std::to_string(round) + ": " +
                   HexBytes(text));
      // Every piece but the last is non-empty and free of "/".
      for (size_t i = 0; i + 1 < pieces.size(); ++i) {
        ASSERT_FALSE(pieces[i].empty());
        ASSERT_EQ(pieces[i].find('/'), std::string::npos);
      }
      // Without a doubled "/", joining the pieces with "/" gives the text back, less one "/"
      // in front and one at the end.
      if (text.find("//") != std::string::npos) continue;
      std::string expected = text;
      if (!expected.empty() && expected.front() == '/') expected.erase(0, 1);
      if (!expected.empty() && expected.back() == '/') expected.pop_back();
      std::string joined;
      for (size_t i = 0; i < pieces.size(); ++i) joined += (i ? "/" : "") + pieces[i];
      ASSERT_EQ(HexBytes(joined), HexBytes(expected));
    }
  }
}

}  // namespace
