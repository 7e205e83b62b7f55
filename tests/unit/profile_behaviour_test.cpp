// Profile behaviour cases (measured against Wine 8's profile functions) and machine lists,
// run against every ProfileApi implementation of the build.
#include "tests/unit/profile_behaviour.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "common/list_file.h"
#include "platform/portable/portable_files.h"
#include "platform/portable/portable_profile.h"

using namespace std::string_literals;
namespace fs = std::filesystem;

namespace {

ProfileOp Get(std::string section, std::string key, std::string defaultValue, std::string expected,
              uint32_t size = 4096) {
  return {ProfileOp::kGetString, section, key, defaultValue, size, expected, true};
}

ProfileOp Section(std::string section, std::string expected, uint32_t size = 32767) {
  return {ProfileOp::kGetSection, section, "", "", size, expected, true};
}

ProfileOp Put(std::string section, std::string key, std::string value, std::string file,
              bool succeeds = true) {
  return {ProfileOp::kWrite, section, key, value, 0, file, succeeds};
}

ProfileCase File(const char* name, std::string bytes, std::vector<ProfileOp> ops) {
  return {name, true, bytes, ops};
}

ProfileCase NoFile(const char* name, std::vector<ProfileOp> ops) { return {name, false, "", ops}; }

const std::string kLong5000 = std::string(5000, 'x');
const std::string kLine100k = std::string(100000, 'y');

}  // namespace

std::vector<ProfileCase> ProfileCases() {
  const std::string cfg = "[Config]\r\nGateway=1.2.3.4\r\n";
  return {
      NoFile("CreatesFileAndSectionsAndReplacesInPlace",
             {Put("Config", "Gateway", "1.2.3.4", cfg),
              Put("Config", "Gwmetric", "", cfg + "Gwmetric=\r\n"),
              Put("list", "AA", "x,y", cfg + "Gwmetric=\r\n[list]\r\nAA=x,y\r\n"),
              Put("config", "gateway", "9", "[Config]\r\nGateway=9\r\nGwmetric=\r\n[list]\r\nAA=x,y\r\n"),
              Put("Config", "Mask", "m",
                  "[Config]\r\nGateway=9\r\nGwmetric=\r\nMask=m\r\n[list]\r\nAA=x,y\r\n"),
              Put("LIST", "aa", "z", "[Config]\r\nGateway=9\r\nGwmetric=\r\nMask=m\r\n[list]\r\nAA=z\r\n"),
              Get("config", "GATEWAY", "", "9"), Get("list", "Aa", "d", "z"),
              Section("LiSt", "AA=z\0"s), Get("nosection", "k", "dflt", "dflt")}),
      NoFile("MissingFileGivesDefaults",
             {Get("S", "k", "d", "d"), Section("S", ""), Get("S", "k", "", "")}),
      File("EmptyFile", "", {Get("S", "a", "d", "d"), Section("S", ""), Put("S", "a", "1", "[S]\r\na=1\r\n")}),
      {"DirectoryAtPathReadsAsMissingAndRefusesWrites", false, "",
       {Get("S", "k", "d", "d"), Section("S", ""), Put("S", "k", "v", "<directory>", false)}, true},
      File("SpacesQuotesCommentsAndKeysWithoutEquals",
           "[S]\r\n  k1  =  v1  \r\nk2=\"quoted\"\r\nk3='sq'\r\nk4=\"half\r\n;comment=1\r\n\r\n"
           "noequals\r\n=emptykey\r\nk5 = a = b\r\n\tk6\t=\tv6\t\r\n",
           {Get("S", "k1", "", "v1"), Get("S", "k2", "", "quoted"), Get("S", "k3", "", "sq"),
            Get("S", "k4", "", "\"half"), Get("S", ";comment", "", "1"),
            Get("S", "noequals", "d", "d"), Get("S", "", "d", "emptykey"),
            Get("S", "k5", "", "a = b"), Get("S", "k6", "", "v6"), Get(" S ", " k1 ", "", "v1"),
            Section("S", "k1=v1\0k2=\"quoted\"\0k3='sq'\0k4=\"half\0noequals\0=emptykey\0k5=a = b\0k6=v6\0"s),
            Put("S", "k1", "r",
                "[S]\r\nk1=r\r\nk2=\"quoted\"\r\nk3='sq'\r\nk4=\"half\r\n;comment=1\r\nnoequals\r\n"
                "=emptykey\r\nk5=a = b\r\nk6=v6\r\n")}),
      File("QuotesOnlyInMatchingPairs",
           "[S]\r\na= \"x y\" \r\nb=\"\"\r\nc=\"\r\nd='\"\r\ne=\"a\"b\"\r\n #c=1\r\n  ;c2=2\r\n",
           {Get("S", "a", "", "x y"), Get("S", "b", "d", ""), Get("S", "c", "d", "\""),
            Get("S", "d", "d", "'\""), Get("S", "e", "", "a\"b"), Get("S", "#c", "", "1"),
            Section("S", "a=\"x y\"\0b=\"\"\0c=\"\0d='\"\0e=\"a\"b\"\0#c=1\0"s)}),
      NoFile("DefaultsLoseTrailingBlanksAndQuotes",
             {Get("S", "x", "  def  ", "  def"), Get("S", "x", "\"q\"", "q"), Get("S", "x", "\"q\" ", "q"),
              Get("S", "x", " \"q\"", " \"q\""), Get("S", "x", "a\t", "a\t"), Get("S", "x", "  ", " "),
              Get("S", "x", "'a\"", "'a\""), Get("S", "x", "\xA1\xA1q\xA1\xA1", "\xA1\xA1q\xA1\xA1"),
              Get("S", "x", "\x81 ", "?")}),
      File("LfOnlyLinesWithoutFinalLineEnd", "[S]\nk1=v1\nk2=v2\n[T]\nx=1",
           {Get("S", "k2", "", "v2"), Get("T", "x", "", "1"), Section("S", "k1=v1\0k2=v2\0"s),
            Put("T", "y", "2", "[S]\r\nk1=v1\r\nk2=v2\r\n[T]\r\nx=1\r\ny=2\r\n")}),
      File("CrOnlyLines", "[S]\rk1=v1\rk2=v2\r[T]\rx=1\r",
           {Get("T", "x", "", "1"), Section("S", "k1=v1\0k2=v2\0"s),
            Put("S", "k3", "3", "[S]\r\nk1=v1\r\nk2=v2\r\nk3=3\r\n[T]\r\nx=1\r\n")}),
      File("MixedLineEndsAndBlankLinesVanishOnRewrite",
           "[S]\r\r\na=1\n\rb=2\r\n\r\n\r\n[T]\r\nx=1\r\n   \r\n",
           {Section("S", "a=1\0b=2\0"s),
            Put("S", "c", "3", "[S]\r\na=1\r\nb=2\r\nc=3\r\n[T]\r\nx=1\r\n"),
            Put("U", "z", "3", "[S]\r\na=1\r\nb=2\r\nc=3\r\n[T]\r\nx=1\r\n[U]\r\nz=3\r\n")}),
      File("OnlyTheFirstSectionOfANameCounts", "[S]\r\na=1\r\n[T]\r\nb=2\r\n[s]\r\nc=3\r\na=4\r\n",
           {Get("S", "a", "", "1"), Get("S", "c", "d", "d"), Section("S", "a=1\0"s),
            Put("s", "c", "6", "[S]\r\na=1\r\nc=6\r\n[T]\r\nb=2\r\n[s]\r\nc=3\r\na=4\r\n")}),
      File("OnlyTheFirstKeyOfANameCounts", "[S]\r\na=1\r\nA=2\r\n",
           {Get("S", "A", "", "1"), Section("S", "a=1\0A=2\0"s), Put("S", "A", "3", "[S]\r\na=3\r\nA=2\r\n")}),
      File("LinesBeforeTheFirstHeader", "a=1\r\n=v\r\n[S]\r\nb=2\r\n",
           {Get("", "a", "d", "1"), Section("", "a=1\0=v\0"s),
            Put("S", "c", "3", "a=1\r\n=v\r\n[S]\r\nb=2\r\nc=3\r\n")}),
      File("HeaderForms", "  [S]  junk\r\nk=v\r\n[T\r\nx=1\r\n[]\r\ny=2\r\n[ U ]\r\nu=1\r\n[x]y]\r\nw=2\r\n",
           {Get("S", "k", "", "v"), Section("S", "k=v\0[T\0x=1\0"s), Section("T", ""),
            Section("", ""), Get("", "y", "d", "d"), Section("U", "u=1\0"s), Section("x]y", "w=2\0"s),
            Section(" U", ""), Get(" U", "u", "d", "1"),
            Put("S", "z", "9",
                "[S]\r\nk=v\r\n[T\r\nx=1\r\nz=9\r\ny=2\r\n[U]\r\nu=1\r\n[x]y]\r\nw=2\r\n")}),
      File("EmptyKeysFollowingAnEmptyKeyAreDropped", "[S]\r\n=v\r\n=w\r\nb=1\r\n=x\r\n",
           {Get("S", "", "d", "v"), Section("S", "=v\0b=1\0=x\0"s),
            Put("S", "c", "1", "[S]\r\n=v\r\nb=1\r\n=x\r\nc=1\r\n")}),
      File("NulEndsANameOrValue", "[S]\r\na=1 \0x\r\nk \0=v\r\nc=\0\r\n\0n\r\n=gone\r\n\0a=1\r\nd=4\r\n"s,
           {Get("S", "a", "", "1 "), Get("S", "k", "d", "d"), Get("S", "k ", "d", "d"), Get("S", "d", "", "4"),
            Section("S", "a=1 \0k =v\0c=\0=1\0d=4\0"s),
            Put("S", "e", "5", "[S]\r\na=1 \r\nk =v\r\nc=\r\n\r\n=1\r\nd=4\r\ne=5\r\n")}),
      File("NulInAHeader", "[S\0]\r\na=1\r\n"s, {Get("S", "a", "d", "1"), Section("S", "a=1\0"s)}),
      File("MalformedDoubleByteTextReadsAsQuestionMarks",
           "[S]\r\nk=\x80\xFF\x81 \xA1\r\n\x81=1\r\na=\x81\r\nb=\x81\x7F\r\nc=\x81\xFF\r\n"
           "d=\x81\x40x\r\ne=\xFE\xFEy\r\nf=\x80z\r\ng=\x81\0b\r\nh=\xA1"s,
           {Get("S", "k", "", "\x80\xFF??"),
            Section("S", "k=\x80\xFF??\0?1\0a=?\0b=?\0c=?\0d=\x81\x40x\0e=\xFE\xFEy\0f=\x80z\0g=?\0h=?\0"s),
            Put("S", "n", "1",
                "[S]\r\nk=\x80\xFF??\r\n?1\r\na=?\r\nb=?\r\nc=?\r\nd=\x81\x40x\r\ne=\xFE\xFEy\r\n"
                "f=\x80z\r\ng=?\r\nh=?\r\nn=1\r\n")}),
      File("OnlyAsciiSpacesAndLettersAreSpecial",
           "[S]\r\na=\xA1\xA1z\xA1\xA1\r\nb=\x0B" "1\x0C\r\nc=\x01z\x01\r\n[\xA3\xC1]\r\nk=1\r\n[\xA6\xA1]\r\nk=2\r\n",
           {Section("S", "a=\xA1\xA1z\xA1\xA1\0b=1\0c=\x01z\x01\0"s), Get("\xA3\xC1", "K", "d", "1"),
            Get("\xA3\xE1", "k", "d", "d"), Get("\xA6\xC1", "k", "d", "d")}),
      File("BlanksAreSpaceTabVtFfAndSub",
           "[S]\r\nk01=\x01v\x01\r\nk09=\tv\t\r\n\x0Bk0B\x0B=\x0Bv\x0B\r\nk0C=\x0Cv\x0C\r\n"
           "\x1Ak1A\x1A=\x1Av\x1A\r\nk1C=\x1Cv\x1C\r\nk1F=\x1Fv\x1F\r\nk7F=\x7Fv\x7F\r\n",
           {Section("S", "k01=\x01v\x01\0k09=v\0k0B=v\0k0C=v\0k1A=v\0k1C=\x1Cv\x1C\0k1F=\x1Fv\x1F\0"
                         "k7F=\x7Fv\x7F\0"s),
            Get("S", "k1A", "", "v"), Get("S", "\x1Ak1A", "", "v")}),
      File("SecondBytesOfDoubleByteCharactersAreNoBracketsOrLetters",
           "[\xB1]]\r\na=1\r\n[\xB1]x]\r\nb=2\r\n[\xC5\xE4]\r\n\x81\x61=3\r\n[\xB1]A\r\nc=4\r\n",
           {Section("\xB1]", "a=1\0"s), Section("\xB1", ""), Section("\xB1]x", "b=2\0"s),
            Get("\xC5\xE4", "\x81\x41", "d", "d"), Get("\xC5\xE4", "\x81\x61", "d", "3"),
            Section("\xC5\xE4", "\x81\x61=3\0[\xB1]A\0c=4\0"s)}),
      File("SectionBufferTooSmallCutsMidLine", "[S]\r\naaaa=1111\r\nbb=22\r\n",
           {Section("S", "", 1), Section("S", "", 2), Section("S", "a", 3), Section("S", "aaaa", 6),
            Section("S", "aaaa=1111\0"s, 12), Section("S", "aaaa=1111\0bb=22"s, 17),
            Section("S", "aaaa=1111\0bb=22\0"s, 18), Section("S", "aaaa=1111\0bb=22\0"s, 20),
            Get("S", "aaaa", "", "", 1), Get("S", "aaaa", "", "1", 2), Get("S", "aaaa", "", "111", 4),
            Get("S", "none", "defdef", "de", 3)}),
      File("DoubleByteTextIsCutByBytesInSectionsAndByCharactersInValues",
           "[\xC5\xE4\xD6\xC3]\r\n\xBC\xFC=\xD6\xB5\xD6\xB5\r\n",
           {Get("\xC5\xE4\xD6\xC3", "\xBC\xFC", "", "\xD6\xB5\xD6\xB5"),
            Get("\xC5\xE4\xD6\xC3", "\xBC\xFC", "", "", 2), Get("\xC5\xE4\xD6\xC3", "\xBC\xFC", "", "\xD6\xB5", 3),
            Get("\xC5\xE4\xD6\xC3", "\xBC\xFC", "", "\xD6\xB5", 4),
            Section("\xC5\xE4\xD6\xC3", "\xBC\xFC=\xD6\xB5\xD6\xB5\0"s), Section("\xC5\xE4\xD6\xC3", "\xBC", 3),
            Section("\xC5\xE4\xD6\xC3", "\xBC\xFC=\xD6", 6)}),
      File("ValuesAreCutAt4095Bytes", "[S]\r\nk=" + kLong5000 + "\r\n",
           {Get("S", "k", "", std::string(4095, 'x'))}),
      File("LinesOf100000Bytes", "[S]\r\nk=" + kLine100k + "\r\nk2=v\r\n" + kLine100k + "\r\n",
           {Get("S", "k2", "", "v"), Get("S", "k", "", std::string(4095, 'y')),
            Section("S", "k=" + kLine100k + "\0k2=v\0"s + kLine100k + "\0"s, 300000),
            Section("S", "k=" + std::string(29998, 'y'), 30002)}),
      File("Utf8MarkIsKept", "\xEF\xBB\xBF[S]\r\na=1\r\n",
           {Get("S", "a", "d", "1"), Section("S", "a=1\0"s), Put("S", "b", "2", "\xEF\xBB\xBF[S]\r\na=1\r\nb=2\r\n")}),
      NoFile("WrittenTextLosesLeadingSpacesNow",
             {Put("S", "k", "  v  ", "[S]\r\nk=v  \r\n"), Get("S", "k", "", "v"),
              Put("S", " k2 ", "v", "[S]\r\nk=v\r\nk2 =v\r\n"), Get("S", "k2", "", "v"),
              Put(" S2 ", "a", "b", "[S]\r\nk=v\r\nk2=v\r\n[S2 ]\r\na=b\r\n"), Get("S2", "a", "", "b"),
              Section(" S2 ", ""), Put("S ", "k", "w", "[S]\r\nk=w\r\nk2=v\r\n[S2]\r\na=b\r\n")}),
      NoFile("WrittenTextIsWrittenAsItIs",
             {Put("S", "k", "a\r\nb", "[S]\r\nk=a\r\nb\r\n"), Section("S", "k=a\0b\0"s),
              Put("S", "k3=x", "y", "[S]\r\nk=a\r\nb\r\nk3=x=y\r\n"), Get("S", "k3", "d", "x=y"),
              Put("S", "k4", "\"q\"", "[S]\r\nk=a\r\nb\r\nk3=x=y\r\nk4=\"q\"\r\n"), Get("S", "k4", "d", "q"),
              Put("S", "b", "set", "[S]\r\nk=a\r\nb=set\r\nk3=x=y\r\nk4=\"q\"\r\n"),
              Put("S", "w", "\xA1\xA1v\xA1\xA1", "[S]\r\nk=a\r\nb=set\r\nk3=x=y\r\nk4=\"q\"\r\nw=\xA1\xA1v\xA1\xA1\r\n")}),
      NoFile("MalformedDoubleByteArguments",
             {Put("S", "b", "\x81 x\x81", "[S]\r\nb=?x\r\n"), Put("\x81 ", "c", "1", "[S]\r\nb=?x\r\n[?]\r\nc=1\r\n"),
              Section("?", "c=1\0"s)}),
      File("SectionsWithoutLines", "[S]\r\n[T]\r\n",
           {Section("S", ""), Put("S", "a", "1", "[S]\r\na=1\r\n[T]\r\n"),
            Put("T", "a", "1", "[S]\r\na=1\r\n[T]\r\na=1\r\n"),
            Put("Config", "Gateway", "1", "[S]\r\na=1\r\n[T]\r\na=1\r\n[Config]\r\nGateway=1\r\n")}),
      File("HeaderSpellingIsKept", "[cOnFiG]\r\n", {Put("Config", "Gateway", "1", "[cOnFiG]\r\nGateway=1\r\n")}),
  };
}

namespace {

const char* const kPieces[] = {"[list]", "[Config]", "[", "]", "=", " = ", "\r\n", "\n", "\r",
                               ";", "\"", "'", "00E0FD3A1B01", "mask", "dns1", "192.168.0.1,PC",
                               "\t", "  ", "\xC5\xE4", "\x81", "\xFF", "\xA1\xA1", "[]", "list",
                               "DHCP", ",", "x"};

std::string RandomProfileText(std::mt19937& random) {
  std::string text;
  int pieces = static_cast<int>(random() % 40);
  for (int i = 0; i < pieces; ++i) {
    if (random() % 8 == 0) {
      text += static_cast<char>(random() % 256);  // any byte, NUL included
    } else {
      text += kPieces[random() % (sizeof kPieces / sizeof kPieces[0])];
    }
  }
  return text;
}

std::string MutatedListText(std::mt19937& random) {
  std::string text =
      "[Config]\r\nGateway=192.168.0.254\r\nMask=255.255.255.0\r\nDNS1=dhcp\r\n[list]\r\n"
      "00E0FD3A1B01=192.168.0.1,PC1\r\n00E0FD3A1B02=192.168.0.2,PC2\r\n";
  int edits = 1 + static_cast<int>(random() % 6);
  for (int i = 0; i < edits && !text.empty(); ++i) {
    size_t at = random() % text.size();
    switch (random() % 4) {
      case 0: text[at] = static_cast<char>(random() % 256); break;
      case 1: text.erase(at, 1 + random() % 8); break;
      case 2: text.insert(at, 1, static_cast<char>(random() % 256)); break;
      default: text.resize(at); break;
    }
  }
  return text;
}

}  // namespace

std::string SeededProfileText(uint32_t seed) {
  std::mt19937 random(seed * 2654435761u);
  return seed % 2 ? RandomProfileText(random) : MutatedListText(random);
}

std::string ProfileTestName(
    const testing::TestParamInfo<std::tuple<ProfileImplementation, ProfileCase>>& info) {
  return std::string(std::get<0>(info.param).name) + "_" + std::get<1>(info.param).name;
}

TEST_P(ProfileBehaviourTest, GivesWhatWindowsGives) {
  std::unique_ptr<ProfileApi> profile = std::get<0>(GetParam()).make();
  const ProfileCase& c = std::get<1>(GetParam());
  ScratchDirectory dir("profile");
  const std::string path = dir.Path("t.ini");
  if (c.directoryAtPath) fs::create_directory(fs::path(path));
  if (c.fileExists) dir.WriteFile("t.ini", c.initial);

  for (size_t i = 0; i < c.ops.size(); ++i) {
    const ProfileOp& op = c.ops[i];
    SCOPED_TRACE("operation " + std::to_string(i) + " [" + HexBytes(op.section) + "] " +
                 HexBytes(op.key));
    if (op.kind == ProfileOp::kGetString) {
      std::string got = profile->GetString(op.section, op.key, op.text, path, op.size);
      EXPECT_EQ(HexBytes(got), HexBytes(op.expected));
    } else if (op.kind == ProfileOp::kGetSection) {
      std::vector<char> buffer(op.size, '#');
      uint32_t copied = profile->GetSection(op.section, &buffer, path);
      ASSERT_EQ(copied, op.expected.size());
      EXPECT_EQ(HexBytes(std::string(buffer.data(), copied)), HexBytes(op.expected));
      if (copied < buffer.size()) {
        EXPECT_EQ(buffer[copied], '\0');
      }
    } else {
      EXPECT_EQ(profile->WriteString(op.section, op.key, op.text, path), op.writeSucceeds);
      EXPECT_EQ(HexBytes(dir.ReadFile("t.ini")), HexBytes(op.expected));
    }
  }
}

TEST_P(ListFileBehaviourTest, WorkedExampleIsWrittenByteForByteAndReadBack) {
  std::unique_ptr<ProfileApi> profile = GetParam().make();
  ScratchDirectory dir("list");
  const std::string path = dir.Path("mac.ini");
  dir.WriteFile("mac.ini", "[Old]\r\nstale=1\r\n");
  PortableFileApi files(path);

  ListFields fields;
  fields.gateway = "192.168.0.254";
  fields.metric = "0";
  fields.mask = "255.255.255.0";
  fields.dns1 = "DHCP";
  fields.membership = MembershipChoice::Workgroup;
  fields.workgroup = "WORKGROUP";
  fields.domain = "ignored.example";
  WriteListFile(*profile, files, path, fields,
                {{"00E0FD3A1B01", "192.168.0.1", "COMPUTER001"}, {"00E0FD3A1B02", "192.168.0.2", "COMPUTER002"}});
  ASSERT_EQ(HexBytes(dir.ReadFile("mac.ini")),
            HexBytes("[Config]\r\nGateway=192.168.0.254\r\nGwmetric=0\r\nMask=255.255.255.0\r\n"
                     "DNS1=DHCP\r\nDNS2=\r\nWorkGroup=WORKGROUP\r\n[list]\r\n"
                     "00E0FD3A1B01=192.168.0.1,COMPUTER001\r\n00E0FD3A1B02=192.168.0.2,COMPUTER002\r\n"));

  ListFileContent content = ReadListFile(*profile, path);
  const ListSettings& s = content.settings;
  EXPECT_EQ(s.Mask, "255.255.255.0");
  EXPECT_EQ(s.Gateway, "192.168.0.254");
  EXPECT_EQ(s.Gwmetric, "0");
  EXPECT_EQ(s.DNS1, "DHCP");
  EXPECT_EQ(s.DNS2, "");
  EXPECT_EQ(s.WorkGroup, "WORKGROUP");
  EXPECT_EQ(s.Domain + s.Username + s.password, "");
  EXPECT_EQ(content.lines, (std::vector<std::string>{"00E0FD3A1B01=192.168.0.1,COMPUTER001",
                                                     "00E0FD3A1B02=192.168.0.2,COMPUTER002"}));
  std::string ip;
  std::string name;
  SplitEntryValue(ReadListValue(*profile, path, "00e0fd3a1b01"), &ip, &name);
  EXPECT_EQ(ip, "192.168.0.1");
  EXPECT_EQ(name, "COMPUTER001");
}

// Brevane's save against the key-by-key writes of the same fields and rows, on seeded random
// lists: repeated MAC texts (also in another letter case), blanks around cells, GBK names, empty
// fields, both membership choices, keys holding "=", "[" or ";". Under Wine the key-by-key side
// is WritePrivateProfileStringA itself. Lists the save cannot compose are written key by key
// into its temporary file; both ways are exercised.
TEST_P(ListFileBehaviourTest, SeededListsSaveTheBytesOfTheKeyByKeyWrites) {
  std::unique_ptr<ProfileApi> profile = GetParam().make();
  ScratchDirectory dir("differential");
  const std::string path = dir.Path("mac.ini");
  const std::string baseline = dir.Path("keybykey.ini");
  PortableFileApi files(path);
  const std::vector<std::string> keys = {
      "00E0FD000001", "00e0fd000001", "00E0FD000002", "00E0FD00000A", "00E0FD00000a",
      "A;B",          "A[B]",         "a=b",          "[x]",          ";c",
      "x]",           "[y",           " 00E0FD000003", "\xBB\xFA"};
  const std::vector<std::string> ips = {"10.0.0.1", "", "DHCP", "dhcp", " 10.0.0.2", "10.0.0.3 "};
  const std::vector<std::string> names = {
      "PC1", "\xBC\xC6\xCB\xE3\xBB\xFA" "01", "", "A,B", "x=y", "[s]", "PC ", "  PC", "\t"};
  const std::vector<std::string> fieldTexts = {"", " 192.168.0.254 ", "DHCP", "\xB9\xA4\xD7\xF7\xD7\xE9",
                                               "   ", "a=b"};
  int composed = 0;
  int keyByKey = 0;
  for (uint32_t seed = 1; seed <= 36; ++seed) {
    std::mt19937 random(seed);
    auto pick = [&](const std::vector<std::string>& from) {
      return from[random() % from.size()];
    };
    // Most lists are plain, so that both ways of saving get their share.
    const bool exotic = seed % 3 == 0;
    ListFields fields;
    fields.gateway = pick(fieldTexts);
    fields.metric = random() % 2 ? "0" : " 12 ";
    fields.mask = "255.255.255.0";
    fields.dns1 = pick(fieldTexts);
    fields.dns2 = pick(fieldTexts);
    fields.membership = random() % 2 ? MembershipChoice::Domain : MembershipChoice::Workgroup;
    fields.workgroup = pick(fieldTexts);
    fields.domain = pick(fieldTexts);
    fields.username = pick(fieldTexts);
    fields.password = pick(fieldTexts);
    // Taken from the seed, so the random texts of the lists stay those of the lists before it.
    const char* const reports[] = {"", " tftp ", "192.168.0.1", "\t"};
    fields.report = reports[seed % 4];
    std::vector<ListEntry> rows(random() % 30);
    for (ListEntry& row : rows) {
      row.Mac = exotic ? pick(keys) : keys[random() % 5];
      row.Ip = exotic ? pick(ips) : ips[random() % 5];
      row.ComputerName = exotic ? pick(names) : names[random() % 6];
    }
    std::string text;
    (ComposeListText(fields, rows, &text) ? composed : keyByKey)++;

    std::remove(baseline.c_str());
    ASSERT_TRUE(WriteListKeyByKey(*profile, baseline, fields, rows)) << seed;
    ASSERT_EQ(WriteListFile(*profile, files, path, fields, rows), SaveProblem::None) << seed;
    ASSERT_EQ(HexBytes(dir.ReadFile("mac.ini")), HexBytes(dir.ReadFile("keybykey.ini")))
        << "seed " << seed;
    EXPECT_EQ(dir.ReadFile("mac.ini.tmp"), "<missing>");
  }
  EXPECT_GT(composed, 0);
  EXPECT_GT(keyByKey, 0);
}

namespace {

std::unique_ptr<ProfileApi> MakePortable() { return std::make_unique<PortableProfileApi>(); }
std::unique_ptr<ProfileApi> MakePortableRewriting() { return std::make_unique<PortableProfileApi>(false); }

const ProfileImplementation kPortable{"Portable", MakePortable};
const ProfileImplementation kPortableRewriting{"PortableRewriting", MakePortableRewriting};

}  // namespace

INSTANTIATE_TEST_SUITE_P(Portable, ProfileBehaviourTest,
                         testing::Combine(testing::Values(kPortable, kPortableRewriting),
                                          testing::ValuesIn(ProfileCases())),
                         ProfileTestName);
INSTANTIATE_TEST_SUITE_P(Portable, ListFileBehaviourTest, testing::Values(kPortable, kPortableRewriting),
                         [](const testing::TestParamInfo<ProfileImplementation>& info) {
                           return std::string(info.param.name);
                         });
