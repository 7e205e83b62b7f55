// The list check: each problem of a table of bad lists is found on its line, clean lists give
// nothing, and the text and JSON reports.
#include "tools/maclist/list_check.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "tools/maclist/address_text.h"
#include "tools/maclist/list_reader.h"
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
  const auto reader = MakeListReader(path, text);
  Found found;
  for (const ListFinding& f : CheckList(*reader, path, text, olderClient)) {
    found.insert({f.line, f.code});
  }
  return found;
}

std::string Shown(const Found& found) {
  std::string text;
  for (const auto& f : found) text += std::to_string(f.first) + ":" + f.second + " ";
  return text;
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

TEST(ListCheck, FindsEachProblemOnItsLine) {
  const Settings sound;
  const BadList cases[] = {
      {"MAC key repeated in lower case", ListText(sound, With(kTwoMachines, "00e0fd3a1b01=192.168.0.3,PC003")),
       {{11, "duplicate-mac"}}},
      {"address repeated", ListText(sound, With(kTwoMachines, "00E0FD3A1B03=192.168.0.1,PC003")),
       {{11, "duplicate-address"}}},
      {"name repeated in another case", ListText(sound, With(kTwoMachines, "00E0FD3A1B03=192.168.0.3,pc001")),
       {{11, "duplicate-name"}}},
      {"key with separators", ListText(sound, With(kTwoMachines, "00-E0-FD-3A-1B-03=192.168.0.3,PC003")),
       {{11, "bad-mac"}}},
      {"key with a letter past F", ListText(sound, With(kTwoMachines, "00E0FD3A1B0G=192.168.0.3,PC003")),
       {{11, "bad-mac"}}},
      {"key of ten digits", ListText(sound, With(kTwoMachines, "00E0FD3A1B=192.168.0.3,PC003")),
       {{11, "bad-mac"}}},
      {"name of 16 bytes", ListText(sound, With(kTwoMachines, "00E0FD3A1B03=192.168.0.3,ABCDEFGHIJKLMNOP")),
       {{11, "name-too-long"}}},
      {"name of eight GBK characters, 16 bytes",
       ListText(sound, With(kTwoMachines, "00E0FD3A1B03=192.168.0.3,\xBB\xFA\xB7\xBF\xBB\xFA\xB7\xBF"
                                          "\xBB\xFA\xB7\xBF\xBB\xFA\xB7\xBF")),
       {{11, "name-too-long"}}},
      {"empty name after the comma", ListText(sound, With(kTwoMachines, "00E0FD3A1B03=192.168.0.3,")),
       {{11, "name-empty"}}},
      {"value without comma", ListText(sound, With(kTwoMachines, "00E0FD3A1B03=192.168.0.3")),
       {{11, "name-empty"}}},
      {"name of digits only", ListText(sound, With(kTwoMachines, "00E0FD3A1B03=192.168.0.3,12345")),
       {{11, "name-all-digits"}}},
      {"name with a space", ListText(sound, With(kTwoMachines, "00E0FD3A1B03=192.168.0.3,PC 003")),
       {{11, "name-bad-character"}}},
      {"name with a comma", ListText(sound, With(kTwoMachines, "00E0FD3A1B03=192.168.0.3,PC,003")),
       {{11, "name-bad-character"}}},
      {"name with an asterisk", ListText(sound, With(kTwoMachines, "00E0FD3A1B03=192.168.0.3,PC*3")),
       {{11, "name-bad-character"}}},
      {"address number above 255", ListText(sound, With(kTwoMachines, "00E0FD3A1B03=192.168.0.256,PC003")),
       {{11, "bad-address"}}},
      {"address of three numbers", ListText(sound, With(kTwoMachines, "00E0FD3A1B03=192.168.0,PC003")),
       {{11, "bad-address"}}},
      {"address with a leading zero", ListText(sound, With(kTwoMachines, "00E0FD3A1B03=192.168.0.03,PC003")),
       {{11, "bad-address"}}},
      {"address that is text", ListText(sound, With(kTwoMachines, "00E0FD3A1B03=pc3,PC003")),
       {{11, "bad-address"}}},
      {"address ending in 0", ListText(sound, With(kTwoMachines, "00E0FD3A1B03=192.168.0.0,PC003")),
       {{11, "address-not-host"}}},
      {"address ending in 255", ListText(sound, With(kTwoMachines, "00E0FD3A1B03=192.168.0.255,PC003")),
       {{11, "address-not-host"}}},
      {"address outside the gateway's subnet", ListText(sound, With(kTwoMachines, "00E0FD3A1B03=192.168.1.3,PC003")),
       {{11, "address-outside-subnet"}}},
      {"address of the gateway", ListText(sound, With(kTwoMachines, "00E0FD3A1B03=192.168.0.254,PC003")),
       {{11, "address-is-gateway"}}},
      {"empty address", ListText(sound, With(kTwoMachines, "00E0FD3A1B03=,PC003")),
       {{11, "empty-address"}}},
      {"line without =", ListText(sound, With(kTwoMachines, "00E0FD3A1B03")), {{11, "bad-line"}}},
      {"gateway is the network address", ListText(Changed(&Settings::gateway, "Gateway=192.168.0.0"), kTwoMachines),
       {{2, "gateway-outside-subnet"}}},
      {"gateway is the broadcast address", ListText(Changed(&Settings::gateway, "Gateway=192.168.0.255"), kTwoMachines),
       {{2, "gateway-outside-subnet"}}},
      {"machines outside a wider gateway's subnet",
       ListText(Changed(&Settings::gateway, "Gateway=10.1.0.1"), kTwoMachines),
       {{9, "address-outside-subnet"}, {10, "address-outside-subnet"}}},
      {"gateway that is no address", ListText(Changed(&Settings::gateway, "Gateway=192.168.0"), kTwoMachines),
       {{2, "bad-gateway"}}},
      {"mask with a hole", ListText(Changed(&Settings::mask, "Mask=255.0.255.0"), kTwoMachines),
       {{4, "bad-mask"}}},
      {"metric that is text", ListText(Changed(&Settings::metric, "Gwmetric=auto"), kTwoMachines),
       {{3, "bad-metric"}}},
      {"empty metric", ListText(Changed(&Settings::metric, "Gwmetric="), kTwoMachines),
       {{3, "bad-metric"}}},
      {"DNS1 of three numbers", ListText(Changed(&Settings::dns1, "DNS1=8.8.8"), kTwoMachines),
       {{5, "bad-dns"}}},
      {"DNS2 that is text", ListText(Changed(&Settings::dns2, "DNS2=dns.example"), kTwoMachines),
       {{6, "bad-dns"}}},
      {"DNS2 without DNS1",
       [] {
         Settings s;
         s.dns1 = "DNS1=";
         s.dns2 = "DNS2=192.168.0.53";
         return ListText(s, kTwoMachines);
       }(),
       {{6, "ignored-setting"}}},
      {"domain without user name", ListText(Changed(&Settings::membership, "Domain=corp.example"), kTwoMachines),
       {{7, "domain-without-user"}}},
      {"workgroup and domain",
       ListText(Changed(&Settings::membership, "WorkGroup=WG\r\nDomain=corp.example\r\nUsername=joiner"),
                kTwoMachines),
       {{8, "ignored-setting"}}},
      {"a second list section",
       ListText(sound, With(kTwoMachines, "[list]\r\n00E0FD3A1B03=192.168.0.3,PC003")),
       {{11, "repeated-section"}}},
      {"no list section", "[Config]\r\nGateway=192.168.0.254\r\n", {{0, "no-machines"}}},
  };
  for (const BadList& c : cases) {
    const Found found = FindingsOf(c.text);
    EXPECT_EQ(found, c.expected) << c.what << ": found " << Shown(found) << "expected "
                                 << Shown(c.expected);
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
    EXPECT_TRUE(found.empty()) << c.first << ": " << Shown(found);
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
    EXPECT_EQ(found, c.expected) << c.what << ": found " << Shown(found);
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
