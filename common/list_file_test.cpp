// The list file: Brevane's save rules, Tolvik's reading rules and the whole-section read.
#include "common/list_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/portable/portable_files.h"
#include "platform/portable/portable_profile.h"
#include "tests/fakes/fake_file_api.h"
#include "tests/unit/profile_behaviour.h"

namespace {

ListFields BaseFields() {
  ListFields fields;
  fields.gateway = "192.168.0.254";
  fields.metric = "0";
  fields.mask = "255.255.255.0";
  fields.dns1 = "DHCP";
  return fields;
}

const char kBaseConfig[] =
    "[Config]\r\nGateway=192.168.0.254\r\nGwmetric=0\r\nMask=255.255.255.0\r\nDNS1=DHCP\r\nDNS2=\r\n";

struct SaveCase {
  const char* name;
  void (*change)(ListFields*);
  std::vector<ListEntry> rows;
  std::string expected;
};

}  // namespace

TEST(WriteListFileTest, WritesConfigMembershipAndRowsAsTheSaveRulesSay) {
  const SaveCase cases[] = {
      {"empty list writes no list header", [](ListFields* f) { f->workgroup = "WG"; }, {},
       std::string(kBaseConfig) + "WorkGroup=WG\r\n"},
      {"fields are trimmed, tabs and line ends too",
       [](ListFields* f) {
         f->gateway = " 10.0.0.1 ";
         f->metric = "\t5\r\n";
         f->dns2 = " 8.8.8.8";
       },
       {},
       "[Config]\r\nGateway=10.0.0.1\r\nGwmetric=5\r\nMask=255.255.255.0\r\nDNS1=DHCP\r\nDNS2=8.8.8.8\r\n"},
      {"a workgroup of spaces still gives its line", [](ListFields* f) { f->workgroup = "   "; }, {},
       std::string(kBaseConfig) + "WorkGroup=\r\n"},
      {"an empty workgroup gives neither membership",
       [](ListFields* f) {
         f->workgroup = "";
         f->domain = "corp";
         f->username = "u";
       },
       {}, kBaseConfig},
      {"domain with an empty user name",
       [](ListFields* f) {
         f->membership = MembershipChoice::Domain;
         f->workgroup = "WG";
         f->domain = " corp ";
       },
       {}, std::string(kBaseConfig) + "Domain=corp\r\nUsername=\r\npassword=\r\n"},
      {"an empty domain gives neither membership",
       [](ListFields* f) {
         f->membership = MembershipChoice::Domain;
         f->workgroup = "WG";
         f->username = "u";
       },
       {}, kBaseConfig},
      {"rows untrimmed, empty cells give a lone comma, a repeated MAC replaces in place",
       [](ListFields*) {},
       {{"00E0FD000001", "192.168.0.1", "PC 1"},
        {"00E0FD000002", "", ""},
        {"00E0FD000003", "DHCP", "A,B"},
        {"00E0FD000001", "192.168.0.9", "LATER"}},
       std::string(kBaseConfig) +
           "[list]\r\n00E0FD000001=192.168.0.9,LATER\r\n00E0FD000002=,\r\n00E0FD000003=DHCP,A,B\r\n"},
      {"a report key follows the membership; blanks only write none",
       [](ListFields* f) {
         f->workgroup = "WG";
         f->report = " tftp ";
       },
       {{"00E0FD000001", "192.168.0.1", "PC1"}},
       std::string(kBaseConfig) + "WorkGroup=WG\r\nreport=tftp\r\n[list]\r\n00E0FD000001=192.168.0.1,PC1\r\n"},
      {"a report of blanks writes no line", [](ListFields* f) { f->report = " \t"; }, {},
       kBaseConfig},
      {"GBK computer names are written as they are", [](ListFields*) {},
       {{"00E0FD000001", "192.168.0.1", "\xBB\xFA\xB7\xBF" "01"}},
       std::string(kBaseConfig) + "[list]\r\n00E0FD000001=192.168.0.1,\xBB\xFA\xB7\xBF" "01\r\n"},
  };
  for (const SaveCase& c : cases) {
    SCOPED_TRACE(c.name);
    ScratchDirectory dir("save");
    dir.WriteFile("mac.ini", "[list]\r\nOLD=1\r\n");
    PortableProfileApi profile;
    PortableFileApi files(dir.Path("Brevane.exe"));
    ListFields fields = BaseFields();
    c.change(&fields);
    WriteListFile(profile, files, dir.Path("mac.ini"), fields, c.rows);
    EXPECT_EQ(HexBytes(dir.ReadFile("mac.ini")), HexBytes(c.expected));
  }
}

TEST(WriteListFileTest, AFailedSaveNamesTheProblemKeepsTheOldFileAndLeavesNoTemporary) {
  const std::string dirPath = "C:\\Brevane\\";
  const std::string path = dirPath + "mac.ini";
  const std::string temporary = path + ".tmp";
  const struct {
    const char* name;
    std::function<void(FakeFileApi&)> arrange;
    std::string path;
    SaveProblem expected;
  } cases[] = {
      {"saved", [](FakeFileApi&) {}, path, SaveProblem::None},
      {"a directory named mac.ini", [&](FakeFileApi& f) { f.directories.insert(path); }, path,
       SaveProblem::TargetIsDirectory},
      {"folder refuses new files", [&](FakeFileApi& f) { f.missingDirectories.insert(dirPath); },
       path, SaveProblem::TemporaryNotCreated},
      {"disk full", [&](FakeFileApi& f) { f.shortWrites[temporary] = 10; }, path,
       SaveProblem::WriteFailed},
      {"read-only mac.ini", [&](FakeFileApi& f) { f.failingRenames.insert(path); }, path,
       SaveProblem::ReplaceRefused},
      {"path too long", [](FakeFileApi&) {}, "C:\\" + std::string(251, 'x') + "\\mac.ini",
       SaveProblem::PathTooLong},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CallLog log;
    FakeFileApi files(log);
    PortableProfileApi profile;
    if (c.path == path) files.Put(path, "[list]\r\nOLD=1\r\n");
    c.arrange(files);
    EXPECT_EQ(WriteListFile(profile, files, c.path, BaseFields(), {{"00E0FD000001", "10.0.0.1", "PC"}}),
              c.expected);
    EXPECT_FALSE(files.Has(c.path + ".tmp"));
    if (c.expected == SaveProblem::None) {
      EXPECT_EQ(files.Get(path), std::string(kBaseConfig) + "[list]\r\n00E0FD000001=10.0.0.1,PC\r\n");
    } else if (c.path == path && !files.directories.count(path)) {
      EXPECT_EQ(files.Get(path), "[list]\r\nOLD=1\r\n");
    }
  }

  // On a real file system: a directory named mac.ini is never removed.
  ScratchDirectory dir("unsaved");
  PortableProfileApi profile;
  PortableFileApi files(dir.Path("Brevane.exe"));
  std::filesystem::create_directory(dir.Path("mac.ini"));
  EXPECT_EQ(WriteListFile(profile, files, dir.Path("mac.ini"), BaseFields(), {}),
            SaveProblem::TargetIsDirectory);
  EXPECT_TRUE(std::filesystem::is_directory(dir.Path("mac.ini")));
}

// Texts outside what is known for certain of the profile functions are not composed; the save
// then writes them key by key (the Wine differential test checks both ways give the same bytes).
TEST(ComposeListTextTest, ComposesOnlyTextsThatReadBackAsWritten) {
  const struct {
    const char* name;
    ListEntry row;
    bool composed;
  } cases[] = {
      {"plain row", {"00E0FD000001", "10.0.0.1", "PC1"}, true},
      {"GBK name, = and [ in the value", {"00E0FD000001", "[10]", "\xBB\xFA=1"}, true},
      {"leading blanks of the value are dropped", {"00E0FD000001", "  10.0.0.1", "PC"}, true},
      {"[ and ; inside the key", {"A[B;C", "1", "2"}, true},
      {"trailing blank of the value", {"00E0FD000001", "10.0.0.1", "PC "}, false},
      {"tab inside the value", {"00E0FD000001", "10.0.0.1", "P\tC"}, false},
      {"broken GBK pair", {"00E0FD000001", "10.0.0.1", "\xBB\x20"}, false},
      {"= in the key", {"a=b", "1", "2"}, false},
      {"key opening a section", {"[x]", "1", "2"}, false},
      {"key opening a comment", {";x", "1", "2"}, false},
      {"empty key", {"", "1", "2"}, false},
      {"GBK key", {"\xBB\xFA", "1", "2"}, false},
  };
  for (const auto& c : cases) {
    std::string text;
    EXPECT_EQ(ComposeListText(BaseFields(), {c.row}, &text), c.composed) << c.name;
  }
}

TEST(ReadListFileTest, DefaultsCaseAndBothMemberships) {
  struct Case {
    const char* name;
    std::string file;
    ListSettings expected;
  };
  const Case cases[] = {
      {"empty config section gives the defaults", "[Config]\r\n",
       {"", "1", "255.255.255.0", "", "", "", "", "", "", ""}},
      {"dns1 upper-cased, dns2 and the rest as read",
       "[config]\r\nGATEWAY=NONE\r\ngwmetric=0\r\nmask=255.0.0.0\r\ndns1=dhcp\r\ndns2=dhcp\r\n"
       "WorkGroup=wg\r\nDomain=corp\r\nUsername=Admin\r\npassword=pW\r\nREPORT=Tftp\r\n",
       {"NONE", "0", "255.0.0.0", "DHCP", "dhcp", "wg", "corp", "Admin", "pW", "Tftp"}},
      {"GBK bytes are not upper-cased", "[Config]\r\nDNS1=\xC5\xE4z\r\n",
       {"", "1", "255.255.255.0", "\xC5\xE4Z", "", "", "", "", "", ""}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScratchDirectory dir("read");
    dir.WriteFile("mac.ini", c.file);
    PortableProfileApi profile;
    ListSettings s = ReadListFile(profile, dir.Path("mac.ini")).settings;
    const ListSettings& e = c.expected;
    EXPECT_EQ(s.Gateway, e.Gateway);
    EXPECT_EQ(s.report, e.report);
    EXPECT_EQ(s.Gwmetric, e.Gwmetric);
    EXPECT_EQ(s.Mask, e.Mask);
    EXPECT_EQ(HexBytes(s.DNS1), HexBytes(e.DNS1));
    EXPECT_EQ(s.DNS2, e.DNS2);
    EXPECT_EQ(s.WorkGroup, e.WorkGroup);
    EXPECT_EQ(s.Domain, e.Domain);
    EXPECT_EQ(s.Username, e.Username);
    EXPECT_EQ(s.password, e.password);
  }
}

TEST(SplitEntryValueTest, IpBeforeTheFirstCommaNameAfterIt) {
  struct Case {
    const char* value;
    const char* ip;
    const char* name;
  };
  const Case cases[] = {
      {"dhcp,PC1", "DHCP", "PC1"},           {"192.168.0.9", "192.168.0.9", ""},
      {"192.168.0.9,A,B", "192.168.0.9", "A,B"}, {",", "", ""},
      {"", "", ""},                          {",name", "", "name"},
      {"Dhcp,\xC5\xE4z", "DHCP", "\xC5\xE4z"},
  };
  for (const Case& c : cases) {
    std::string ip = "stale";
    std::string name = "stale";
    SplitEntryValue(c.value, &ip, &name);
    EXPECT_EQ(ip, c.ip) << c.value;
    EXPECT_EQ(HexBytes(name), HexBytes(c.name)) << c.value;
  }
}

namespace {

// A section reader that holds lines of a given total and answers as Windows does: what fits,
// or size - 2 bytes of it. It records the buffer sizes asked for.
class SizedSectionProfile : public ProfileApi {
 public:
  explicit SizedSectionProfile(std::string packed) : packed_(std::move(packed)) {}
  std::string GetString(const std::string&, const std::string&, const std::string& d,
                        const std::string&, uint32_t) override {
    return d;
  }
  uint32_t GetSection(const std::string&, std::vector<char>* buffer, const std::string&) override {
    sizes.push_back(buffer->size());
    size_t size = buffer->size();
    if (packed_.size() + 1 < size) {
      std::copy(packed_.begin(), packed_.end(), buffer->begin());
      (*buffer)[packed_.size()] = '\0';
      return static_cast<uint32_t>(packed_.size());
    }
    std::copy(packed_.begin(), packed_.begin() + static_cast<std::ptrdiff_t>(size - 2), buffer->begin());
    (*buffer)[size - 2] = '\0';
    (*buffer)[size - 1] = '\0';
    return static_cast<uint32_t>(size - 2);
  }
  bool WriteString(const std::string&, const std::string&, const std::string&,
                   const std::string&) override {
    ADD_FAILURE() << "the section read must not write";
    return false;
  }
  std::vector<size_t> sizes;

 private:
  std::string packed_;
};

}  // namespace

TEST(ReadWholeSectionTest, ReadsAgainWithMoreRoomUntilEveryLineFits) {
  struct Case {
    size_t lineCount;
    std::vector<size_t> expectedSizes;
  };
  // Each line "MMMMMMMMMMMM=10.0.0.1,PCnnnnn" is 29 bytes plus its NUL.
  const Case cases[] = {
      {0, {32767}},
      {1092, {32767}},         // 32,760 bytes and the final NUL fit
      {1093, {32767, 65534}},  // 32,790 bytes do not: the first answer is 32,765
      {5000, {32767, 65534, 131068, 262136}},
  };
  for (const Case& c : cases) {
    std::string packed;
    std::vector<std::string> written;
    for (size_t n = 0; n < c.lineCount; ++n) {
      char line[40];
      std::snprintf(line, sizeof line, "%012X=10.0.0.1,PC%05u", static_cast<unsigned>(n),
                    static_cast<unsigned>(n));
      written.push_back(line);
      packed += line;
      packed += '\0';
    }
    SizedSectionProfile profile(packed);
    std::vector<std::string> lines = ReadWholeSection(profile, "list", "mac.ini");
    EXPECT_EQ(profile.sizes, c.expectedSizes) << c.lineCount;
    EXPECT_EQ(lines, written) << c.lineCount;
  }
}
