// The list check: each problem of a table of bad lists is found on its line, clean lists give
// nothing, and the text and JSON reports.
#include "tools/maclist/list_check.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "tools/maclist/address_text.h"
#include "platform/profile_api.h"
#include "tools/maclist/test_files.h"

namespace {

// The settings of a sound list, one per line 2 to 7; lines of section "list" follow from line 9.
struct Settings {
  std::string gateway = "Gateway=192.168.0.254";
  std::string metric = "Gwmetric=0";
  std::string mask = "Mask=255.255.255.0";
  std::string dns1 = "DNS1=DHCP";
  std::string dns2 = "DNS2=";
  std::string membership = "WorkGroup=WORKGROUP";
};

std::string ListText(const Settings& s, const std::vector<std::string>& lines) {
  std::string text = "[Config]\r\n" + s.gateway + "\r\n" + s.metric + "\r\n" + s.mask + "\r\n" +
                     s.dns1 + "\r\n" + s.dns2 + "\r\n" + s.membership + "\r\n[list]\r\n";
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

const std::vector<std::string> kTwoMachines = {"00E0FD3A1B01=192.168.0.1,PC001",
                                               "00E0FD3A1B02=192.168.0.2,PC002"};

std::vector<std::string> With(std::vector<std::string> lines, const std::string& extra) {
  lines.push_back(extra);
  return lines;
}

using Found = std::set<std::pair<size_t, std::string>>;

Found FindingsOf(const std::string& text, bool olderClient = false) {
  ScratchDirectory dir;
  const std::string path = dir.WriteFile("mac.ini", text);
  const auto reader = SystemProfileReaderOf(path, text);
  Found found;
  for (const ListFinding& f : CheckList(*reader, path, text, olderClient)) {
    found.insert({f.line, f.code});
  }
  return found;
}

struct BadList {
  const char* what;
  std::string text;
  Found expected;
};

Settings Changed(std::string Settings::*field, const std::string& line) {
  Settings s;
  s.*field = line;
  return s;
}

// The two machines under settings with one line changed, and what that line should raise.
BadList OneSetting(const char* what, std::string Settings::*field, const std::string& line,
                   size_t lineNumber, const char* code) {
  return {what, ListText(Changed(field, line), kTwoMachines), {{lineNumber, code}}};
}

// A sound list with one line added after the two machines, as line 11, and what it should raise.
BadList ThirdLine(const char* what, const std::string& line, const char* code) {
  return {what, ListText(Settings(), With(kTwoMachines, line)), {{11, code}}};
}

TEST(ListCheck, FindsEachProblemOnItsLine) {
  const BadList cases[] = {
      ThirdLine("MAC key repeated in lower case", "00e0fd3a1b01=192.168.0.3,PC003", "duplicate-mac"),
      ThirdLine("address repeated", "00E0FD3A1B03=192.168.0.1,PC003", "duplicate-address"),
      ThirdLine("name repeated in another case", "00E0FD3A1B03=192.168.0.3,pc001", "duplicate-name"),
      ThirdLine("key with separators", "00-E0-FD-3A-1B-03=192.168.0.3,PC003", "bad-mac"),
      ThirdLine("key with a letter past F", "00E0FD3A1B0G=192.168.0.3,PC003", "bad-mac"),
      ThirdLine("key of ten digits", "00E0FD3A1B=192.168.0.3,PC003", "bad-mac"),
      ThirdLine("name of 16 bytes", "00E0FD3A1B03=192.168.0.3,ABCDEFGHIJKLMNOP", "name-too-long"),
      ThirdLine("name of eight GBK characters, 16 bytes",
                "00E0FD3A1B03=192.168.0.3,\xBB\xFA\xB7\xBF\xBB\xFA\xB7\xBF\xBB\xFA\xB7\xBF\xBB\xFA\xB7\xBF",
                "name-too-long"),
      ThirdLine("empty name after the comma", "00E0FD3A1B03=192.168.0.3,", "name-empty"),
      ThirdLine("value without comma", "00E0FD3A1B03=192.168.0.3", "name-empty"),
      ThirdLine("name of digits only", "00E0FD3A1B03=192.168.0.3,12345", "name-all-digits"),
      ThirdLine("name with a space", "00E0FD3A1B03=192.168.0.3,PC 003", "name-bad-character"),
      ThirdLine("name with a comma", "00E0FD3A1B03=192.168.0.3,PC,003", "name-bad-character"),
      ThirdLine("name with an asterisk", "00E0FD3A1B03=192.168.0.3,PC*3", "name-bad-character"),
      ThirdLine("address number above 255", "00E0FD3A1B03=192.168.0.256,PC003", "bad-address"),
      ThirdLine("address of three numbers", "00E0FD3A1B03=192.168.0,PC003", "bad-address"),
      ThirdLine("address with a leading zero", "00E0FD3A1B03=192.168.0.03,PC003", "bad-address"),
      ThirdLine("address that is text", "00E0FD3A1B03=pc3,PC003", "bad-address"),
      ThirdLine("address ending in 0", "00E0FD3A1B03=192.168.0.0,PC003", "address-not-host"),
      ThirdLine("address ending in 255", "00E0FD3A1B03=192.168.0.255,PC003", "address-not-host"),
      ThirdLine("address outside the gateway's subnet", "00E0FD3A1B03=192.168.1.3,PC003", "address-outside-subnet"),
      ThirdLine("address of the gateway", "00E0FD3A1B03=192.168.0.254,PC003", "address-is-gateway"),
      ThirdLine("empty address", "00E0FD3A1B03=,PC003", "empty-address"),
      ThirdLine("line without =", "00E0FD3A1B03", "bad-line"),
      OneSetting("gateway is the network address", &Settings::gateway, "Gateway=192.168.0.0", 2, "gateway-outside-subnet"),
      OneSetting("gateway is the broadcast address", &Settings::gateway, "Gateway=192.168.0.255", 2, "gateway-outside-subnet"),
      {"machines outside a wider gateway's subnet",
       ListText(Changed(&Settings::gateway, "Gateway=10.1.0.1"), kTwoMachines),
       {{9, "address-outside-subnet"}, {10, "address-outside-subnet"}}},
      OneSetting("gateway that is no address", &Settings::gateway, "Gateway=192.168.0", 2, "bad-gateway"),
      OneSetting("mask with a hole", &Settings::mask, "Mask=255.0.255.0", 4, "bad-mask"),
      OneSetting("metric that is text", &Settings::metric, "Gwmetric=auto", 3, "bad-metric"),
      OneSetting("empty metric", &Settings::metric, "Gwmetric=", 3, "bad-metric"),
      OneSetting("DNS1 of three numbers", &Settings::dns1, "DNS1=8.8.8", 5, "bad-dns"),
      OneSetting("DNS2 that is text", &Settings::dns2, "DNS2=dns.example", 6, "bad-dns"),
      {"DNS2 without DNS1",
       [] {
         Settings s;
         s.dns1 = "DNS1=";
         s.dns2 = "DNS2=192.168.0.53";
         return ListText(s, kTwoMachines);
       }(),
       {{6, "ignored-setting"}}},
      OneSetting("domain without user name", &Settings::membership, "Domain=corp.example", 7, "domain-without-user"),
      OneSetting("workgroup and domain", &Settings::membership,
                 "WorkGroup=WG\r\nDomain=corp.example\r\nUsername=joiner", 8, "ignored-setting"),
      OneSetting("report to a host name", &Settings::membership,
                 "WorkGroup=WG\r\nreport=tftp1.example", 8, "bad-report"),
      {"reports to the list's server or to an address are sound",
       ListText(Changed(&Settings::membership, "WorkGroup=WG\r\nREPORT=TFTP\r\nreport=10.0.0.1"),
                kTwoMachines),
       {}},
      // Section "Join" (lines 11 on) beside a domain list with no domain account.
      {"one-time passwords for every machine are sound",
       ListText(Changed(&Settings::membership, "Domain=corp.example"),
                With(With(kTwoMachines, "[Join]"), "00e0fd3a1b01=Qx7pR2mK9vT4wY6zA8bC1dE3\r\n"
                                                   "00E0FD3A1B02=Hn5jL0sF2gU7iO9pX3cV6bN4")),
       {}},
      {"one-time passwords: short, repeated, for no machine, missing",
       ListText(Changed(&Settings::membership, "Domain=corp.example"),
                With(With(kTwoMachines, "[Join]"), "00E0FD3A1B01=short\r\n"
                                                   "00E0FD3A1B09=short")),
       {{12, "join-password-short"}, {13, "join-without-machine"}, {13, "join-password-short"},
        {13, "join-password-repeated"}, {10, "join-password-missing"}}},
      ThirdLine("a second list section", "[list]\r\n00E0FD3A1B03=192.168.0.3,PC003", "repeated-section"),
      {"no list section", "[Config]\r\nGateway=192.168.0.254\r\n", {{0, "no-machines"}}},
  };
  for (const BadList& c : cases) {
    const Found found = FindingsOf(c.text);
    EXPECT_EQ(found, c.expected) << c.what;
  }
}

TEST(ListCheck, CleanListsGiveNothing) {
  Settings domain;
  domain.membership = "Domain=corp.example\r\nUsername=joiner\r\npassword=secret";
  Settings noGateway;
  noGateway.gateway = "Gateway=";
  noGateway.dns1 = "DNS1=192.168.0.53";
  noGateway.dns2 = "DNS2=192.168.0.54";
  Settings removedGateway;
  removedGateway.gateway = "Gateway=none";
  const std::pair<const char*, std::string> cases[] = {
      {"two machines", ListText(Settings(), kTwoMachines)},
      {"lower-case key and DHCP in lower case",
       ListText(Settings(), {"00e0fd3a1b01=dhcp,PC001", "00E0FD3A1B02=DHCP,PC002"})},
      {"domain with its account", ListText(domain, kTwoMachines)},
      {"no gateway, two DNS servers, machines in other subnets",
       ListText(noGateway, {"00E0FD3A1B01=10.0.0.1,PC001", "00E0FD3A1B02=172.16.0.1,PC002"})},
      {"gateway removed", ListText(removedGateway, kTwoMachines)},
      {"GBK name of 14 bytes and the symbols Windows allows",
       ListText(Settings(), {"00E0FD3A1B01=192.168.0.1,\xBB\xFA\xB7\xBF-01_(a)",
                             "00E0FD3A1B02=192.168.0.2,{PC}~!@#$%^&'."})},
      {"the file Brevane writes without gateway and membership",
       "[Config]\r\nGateway=\r\nGwmetric=0\r\nMask=255.255.255.0\r\nDNS1=\r\nDNS2=\r\n[list]\r\n"
       "000B294E573A=192.168.0.1,COMPUTER001\r\n000B29112233=192.168.0.2,COMPUTER002\r\n"},
  };
  for (const auto& c : cases) {
    const Found found = FindingsOf(c.second);
    EXPECT_EQ(found, Found()) << c.first;
  }
}

// Blank lines, comments, spaces around "=", every kind of line end, the UTF-8 byte-order mark
// and lines the code-page conversion joins: the numbers are those an editor shows.
TEST(ListCheck, LineNumbersCountEveryLineOfTheFile) {
  const struct {
    const char* what;
    std::string text;
    Found expected;
  } cases[] = {
      {"blank line and comment before the repeat",
       "[Config]\r\nGateway=\r\n\r\n[list]\r\n; first batch\r\n00E0FD3A1B01=192.168.0.1,PC001\r\n"
       "\r\n  00E0FD3A1B01 = 192.168.0.2,PC002  \r\n",
       {{8, "duplicate-mac"}}},
      {"lone LF line ends", "[Config]\nGateway=\n[list]\n00E0FD3A1B01=192.168.0.1,PC001\n00E0FD3A1B02=192.168.0.1,PC002\n",
       {{5, "duplicate-address"}}},
      {"lone CR line ends", "[Config]\rGateway=\r[list]\r00E0FD3A1B01=192.168.0.1,PC001\r00E0FD3A1B02=192.168.0.1,PC002\r",
       {{5, "duplicate-address"}}},
      {"settings found in their first section only",
       "[config]\r\nmask=255.255.255.0\r\n[list]\r\n00E0FD3A1B01=192.168.0.1,PC001\r\n[Config]\r\nGwmetric=x\r\n",
       {{5, "repeated-section"}}},
      // With the mark the file is not converted from GBK, so the UTF-8 name stays as it is.
      {"UTF-8 mark, CR LF, a UTF-8 name",
       "\xEF\xBB\xBF[list]\r\n00E0FD3A1B01=10.0.0.1,PC1\r\n00E0FD3A1B01=10.0.0.2,\xE6\x9C\xBA" "2\r\n",
       {{3, "duplicate-mac"}}},
      {"UTF-8 mark, LF, a byte that is no GBK",
       "\xEF\xBB\xBF[Config]\nMask=255.255.0\n[list]\n00E0FD3A1B01=10.0.0.1,PC\x80\n00E0FD3A1B02=10.0.0.1,PC2\n",
       {{2, "bad-mask"}, {5, "duplicate-address"}}},
      {"UTF-8 mark alone on the first line", "\xEF\xBB\xBF\r\n[list]\r\n\r\n00E0FD3A1B01\r\n", {{4, "bad-line"}}},
      // A lone lead byte before LF swallows the line end: the next line becomes part of the name.
      {"lone lead byte before LF",
       "[list]\n00E0FD3A1B01=10.0.0.1,PC\xB1\n00E0FD3A1B02=10.0.0.2,PC2\n00E0FD3A1B03=10.0.0.1,PC3\n",
       {{2, "joined-line"}, {2, "name-too-long"}, {4, "duplicate-address"}}},
      {"lone lead byte before a lone CR, twice",
       "[list]\r00E0FD3A1B01=10.0.0.1,\xB1\r\xB1\r00E0FD3A1B02=10.0.0.1,PC2\r",
       {{2, "joined-line"}, {2, "name-too-long"}}},
      {"lone lead byte before the last LF of the file", "[list]\n00E0FD3A1B01=10.0.0.1,PC\xB1\n",
       {{2, "name-bad-character"}}},
      // Before CR LF only the CR goes: the line reads "PC?" and nothing is joined.
      {"lone lead byte before CR LF",
       "[list]\r\n00E0FD3A1B01=10.0.0.1,PC\xB1\r\n00E0FD3A1B01=10.0.0.2,PC2\r\n",
       {{2, "name-bad-character"}, {3, "duplicate-mac"}}},
  };
  for (const auto& c : cases) {
    const Found found = FindingsOf(c.text);
    EXPECT_EQ(found, c.expected) << c.what;
  }
}

// An older client reads the section once into 32,767 bytes; the lines whose key lies past them
// are reported only when asked for.
TEST(ListCheck, LinesPastTheOlderClientsBufferOnlyWhenAsked) {
  std::vector<std::string> lines;
  for (int n = 1; n <= 1200; ++n) {
    char line[64];
    std::snprintf(line, sizeof line, "00E0FD%06X=10.0.%d.%d,PC%05d", static_cast<unsigned>(n),
                  n / 250, n % 250 + 1, n);
    lines.push_back(line);
  }
  Settings s;
  s.gateway = "Gateway=10.0.0.1";
  s.mask = "Mask=255.255.0.0";
  const std::string text = ListText(s, lines);
  EXPECT_TRUE(FindingsOf(text, false).empty());

  // The first line whose key does not end within the 32,765 bytes the section function copies
  // (two of the buffer's bytes are its closing NULs), and every line after it.
  size_t offset = 0;
  size_t firstLost = 0;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (firstLost == 0 && offset + 12 > 32765) firstLost = i;
    offset += lines[i].size() + 1;
  }
  ASSERT_GT(firstLost, 0u);
  Found expected;
  for (size_t i = firstLost; i < lines.size(); ++i) expected.insert({9 + i, "beyond-older-client"});
  const Found found = FindingsOf(text, true);
  EXPECT_EQ(found, expected) << "first reported: " << (found.empty() ? 0 : found.begin()->first)
                             << ", expected line " << 9 + firstLost;
}

TEST(ListCheck, ReportsAsTextAndJson) {
  const std::vector<ListFinding> findings = {
      {11, "duplicate-name", "computer name \xBB\xFA\xB7\xBF is given to line 9 too"},
      {0, "no-machines", "a \"quoted\" \\ text\t"},
  };
  EXPECT_EQ(FindingsText("mac.ini", findings),
            "mac.ini:11: computer name \xE6\x9C\xBA\xE6\x88\xBF is given to line 9 too "
            "[duplicate-name]\n"
            "mac.ini:-: a \"quoted\" \\ text\t [no-machines]\n");
  EXPECT_EQ(FindingsJson("mac.ini", findings),
            "{\"file\": \"mac.ini\", \"count\": 2, \"findings\": [\n"
            "  {\"line\": 11, \"code\": \"duplicate-name\", \"message\": \"computer name "
            "\xE6\x9C\xBA\xE6\x88\xBF is given to line 9 too\"},\n"
            "  {\"line\": null, \"code\": \"no-machines\", \"message\": \"a \\\"quoted\\\" \\\\ "
            "text\\u0009\"}\n]}\n");
  EXPECT_EQ(FindingsJson("mac.ini", {}), "{\"file\": \"mac.ini\", \"count\": 0, \"findings\": []}\n");
}

TEST(AddressText, ReadsOnlyStrictDottedAddresses) {
  const struct {
    const char* text;
    bool ok;
    uint32_t value;
  } cases[] = {
      {"192.168.0.1", true, 0xC0A80001}, {"0.0.0.0", true, 0},
      {"255.255.255.255", true, 0xFFFFFFFF}, {"10.0.1", false, 0},
      {"10.0.1.2.3", false, 0},          {"10.0.1.256", false, 0},
      {"10.0.01.2", false, 0},           {" 10.0.1.2", false, 0},
      {"10.0.1.2 ", false, 0},           {"10..1.2", false, 0},
      {"+10.0.1.2", false, 0},           {"10.0.1.2000", false, 0},
      {"", false, 0},                    {"DHCP", false, 0},
  };
  for (const auto& c : cases) {
    uint32_t value = 12345;
    EXPECT_EQ(ParseDottedAddress(c.text, &value), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(value, c.value) << c.text;
    }
  }
  const struct {
    uint32_t mask;
    bool contiguous;
  } masks[] = {{0xFFFFFF00, true}, {0xFFFF0000, true}, {0xFFFFFFFC, true},
               {0xFF00FF00, false}, {0xFFFFFF01, false}, {0x00FFFFFF, false}};
  for (const auto& m : masks) EXPECT_EQ(IsContiguousMask(m.mask), m.contiguous) << DottedText(m.mask);
}

}  // namespace
