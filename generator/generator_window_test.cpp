// Tests of Brevane's button, option and heading handlers against a recording window and the fakes.
#include "generator/generator_window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "common/text_rules.h"
#include "platform/portable/portable_collation.h"
#include "tests/fakes/call_log.h"
#include "tests/fakes/fake_file_api.h"
#include "tests/fakes/fake_profile_api.h"
#include "tests/pinned_texts.h"

namespace {

namespace ids = brevane_controls;

// The window as the handlers see it: scripted fields, options and dialog answer; every change
// is recorded in the shared call log, so a test can check the order of writes and the close.
class RecordingGeneratorWindow : public GeneratorWindowApi {
 public:
  explicit RecordingGeneratorWindow(CallLog& log) : log_(log) {}

  bool ChooseLogFiles(std::vector<std::string>* paths) override {
    log_.Add("ChooseLogFiles()");
    if (dialogCancelled) return false;
    *paths = {dialogPath};
    paths->insert(paths->end(), moreChosen.begin(), moreChosen.end());
    return true;
  }
  std::string FieldText(int control) override {
    auto found = fields.find(control);
    return found == fields.end() ? std::string() : found->second;
  }
  bool IsOptionSelected(int control) override { return selected.count(control) != 0; }
  void SetControlEnabled(int control, bool isEnabled) override {
    log_.Add("SetControlEnabled(" + std::to_string(control) + ", " +
             (isEnabled ? "true" : "false") + ")");
    enabled[control] = isEnabled;
  }
  void ShowRows(const ListModel& model) override {
    log_.Add("ShowRows(" + std::to_string(model.rows.size()) + ")");
    shown = model.rows;
  }
  void PostCloseRequest() override { log_.Add("PostCloseRequest()"); }
  int SelectedRow() override { return selectedRows.empty() ? selectedRow : selectedRows[0]; }
  bool IsRowSelected(int index) override {
    if (selectedRows.empty()) return index == selectedRow;
    return std::find(selectedRows.begin(), selectedRows.end(), index) != selectedRows.end();
  }
  void SelectRow(int index, bool scrollIntoView) override {
    selectedRows.clear();
    selectedRow = index;
    scrolledToSelection = scrollIntoView;
  }
  void ShowMessage(const std::string& caption, const std::string& text) override {
    log_.Add("ShowMessage(" + caption + ")");
    messages.push_back(text);
  }

  bool dialogCancelled = false;
  std::string dialogPath = "C:\\logs\\dhcp.log";
  std::vector<std::string> moreChosen;  // files chosen besides dialogPath
  std::map<int, std::string> fields;
  std::set<int> selected{ids::kFormatTftpd32, ids::kWorkgroupOption};
  std::map<int, bool> enabled;
  std::vector<ListRow> shown;
  int selectedRow = -1;
  std::vector<int> selectedRows;  // when not empty, the selection instead of selectedRow
  bool scrolledToSelection = false;
  std::vector<std::string> messages;

 private:
  CallLog& log_;
};

struct Rig {
  CallLog log;
  RecordingGeneratorWindow window{log};
  FakeFileApi files{log};
  FakeProfileApi profile{log, files};
  PortableCollationApi collation;
  GeneratorPlatform platform{window, files, profile, collation};
  ListModel model;

  Rig() {
    files.modulePath = "C:\\Brevane\\Brevane.exe";
    window.fields = {{ids::kFirstNumber, "1"},      {ids::kDigits, "3"},
                     {ids::kPrefix, "COMPUTER"},    {ids::kIpStart, "192.168.0.1"},
                     {ids::kMask, "255.255.255.0"}, {ids::kMetric, "0"}};
  }
};

ListRow Row(const std::string& sequence, const std::string& ip, const std::string& name,
            const std::string& mac) {
  ListRow row;
  row.cells[kColumnSequence] = sequence;
  row.cells[kColumnIp] = ip;
  row.cells[kColumnComputerName] = name;
  row.cells[kColumnMac] = mac;
  return row;
}

std::string Cells(const std::vector<ListRow>& rows) {
  std::string text;
  for (const ListRow& row : rows) {
    text += row.cells[0] + "|" + row.cells[1] + "|" + row.cells[2] + "|" + row.cells[3] + ";";
  }
  return text;
}

const char kTftpdLog[] =
    "Rcvd DHCP Discover Msg for IP 0.0.0.0, Mac 00:0b:29:4e:57:3a [12/10 14:03:27.593]\r\n"
    "Rcvd DHCP Discover Msg for IP 0.0.0.0, Mac 00:0b:29:11:22:33 [12/10 14:03:29.015]\r\n"
    "Rcvd DHCP Request Msg for IP 0.0.0.0, Mac 00:0b:29:4e:57:3a [12/10 14:03:30.100]\r\n";

const char kWindowsList[] =
    "IP\tName\tLease\tType\tUnique ID\r\n"
    "192.168.0.10\tPC-01\t2007-5-20 9:05:00\tDHCP\t000b294e573a\r\n"
    "192.168.0.11\tPC-02\t2007-5-20 9:04:00\tDHCP\t000b29112233\r\n";

struct ImportCase {
  const char* name;
  int formatOption;         // option button selected in the log format group
  const char* fileBytes;    // nullptr: no file at the chosen path
  const char* expectedRows;
  bool enablesGenerate;
};

TEST(ImportDhcpLogTest, FillsRowsFromTheChosenFileInTheSelectedFormat) {
  const ImportCase cases[] = {
      {"tftpd32 log", ids::kFormatTftpd32, kTftpdLog,
       "001|||000B294E573A;002|||000B29112233;", true},
      {"windows list", ids::kFormatWindows, kWindowsList,
       "001|||000B29112233;002|||000B294E573A;", true},
      // The chosen rule reads nothing: the other readers are tried.
      {"windows list with tftpd32 chosen", ids::kFormatTftpd32, kWindowsList,
       "001|||000B29112233;002|||000B294E573A;", true},
      {"file no reader reads", ids::kFormatTftpd32, "Rcvd TFTP request\r\n", "", false},
      {"file that cannot be read", ids::kFormatTftpd32, nullptr, "", false},
  };
  for (const ImportCase& c : cases) {
    SCOPED_TRACE(c.name);
    Rig rig;
    rig.window.selected = {c.formatOption, ids::kWorkgroupOption};
    if (c.fileBytes) rig.files.Put(rig.window.dialogPath, c.fileBytes);
    rig.model.rows = {Row("001", "10.0.0.1", "OLD001", "AAAAAAAAAAAA")};

    ImportDhcpLog(rig.platform, rig.model);

    EXPECT_EQ(Cells(rig.model.rows), c.expectedRows);
    EXPECT_EQ(Cells(rig.window.shown), c.expectedRows);
    EXPECT_EQ(rig.log.Count("ShowRows"), 1u);
    EXPECT_EQ(rig.log.Only({"ReadWholeFile"}),
              std::vector<std::string>{"ReadWholeFile(C:\\logs\\dhcp.log)"});
    if (c.enablesGenerate) {
      EXPECT_EQ(rig.log.Only({"SetControlEnabled"}),
                std::vector<std::string>{"SetControlEnabled(1025, true)"});
      EXPECT_TRUE(rig.window.messages.empty());
    } else {
      EXPECT_EQ(rig.log.Count("SetControlEnabled"), 0u) << "generate keeps its state";
      // No row: a message says that no MAC address was found and what the import reads.
      EXPECT_EQ(rig.log.Only({"ShowRows", "ShowMessage"}),
                (std::vector<std::string>{
                    "ShowRows(0)",
                    std::string("ShowMessage(") + pinned_brevane_texts::kNoMacCaption + ")"}));
      EXPECT_EQ(rig.window.messages, std::vector<std::string>{pinned_brevane_texts::kNoMacText});
    }
  }
}

using Paths = std::vector<std::string>;

// A lease file of a Linux server is followed by the message that its order is not the order of
// first lease; the server's log is not. Several chosen files are read as one, in the order given.
TEST(ImportDhcpLogTest, LeaseFilesOfLinuxServersAreImportedWithANotice) {
  const char kKeaOlder[] =
      "address,hwaddr,client_id,valid_lifetime,expire,subnet_id,fqdn_fwd,fqdn_rev,hostname,state\n"
      "10.77.0.101,02:00:0a:4d:00:11,,120,1796823780,1,0,0,pc1,0";
  const char kKeaNewer[] =
      "address,hwaddr,client_id,valid_lifetime,expire,subnet_id,fqdn_fwd,fqdn_rev,hostname,state\n"
      "10.77.0.100,02:00:0a:4d:00:33,,120,1796823900,1,0,0,pc0,0\n"
      "10.77.0.101,02:00:0a:4d:00:11,,120,1796823905,1,0,0,pc1,0\n";
  const char kDnsmasqLog[] =
      "Dec  9 13:40:49 dnsmasq-dhcp[15439]: 1716249401 DHCPACK(br0) 10.77.0.100 02:00:0a:4d:00:33 pc0\n";
  struct Case {
    const char* name;
    std::vector<const char*> files;
    const char* rows;
    bool notice;
  } cases[] = {
      {"kea's files", {kKeaNewer, kKeaOlder}, "001|||02000A4D0011;002|||02000A4D0033;", true},
      {"dnsmasq's log", {kDnsmasqLog}, "001|||02000A4D0033;", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Rig rig;
    rig.files.Put(rig.window.dialogPath, c.files[0]);
    for (size_t i = 1; i < c.files.size(); ++i) {
      rig.window.moreChosen.push_back("C:\\logs\\part" + std::to_string(i));
      rig.files.Put(rig.window.moreChosen.back(), c.files[i]);
    }
    ImportDhcpLog(rig.platform, rig.model);
    EXPECT_EQ(Cells(rig.model.rows), c.rows);
    EXPECT_EQ(rig.log.Count("ReadWholeFile"), c.files.size());
    ASSERT_EQ(rig.window.messages.size(), c.notice ? 1u : 0u);
    if (c.notice) {
      const std::string caption = pinned_brevane_texts::kLeaseOrderCaption;
      EXPECT_EQ(rig.log.Only({"ShowMessage"}), Paths{"ShowMessage(" + caption + ")"});
      EXPECT_EQ(rig.window.messages[0], pinned_brevane_texts::kLeaseOrderNotice);
    }
  }
}

TEST(ImportDhcpLogTest, SplitsTheFilesTheDialogReturns) {
  auto split = [](const std::string& bytes) {
    return SplitChosenFiles(std::vector<char>(bytes.begin(), bytes.end()));
  };
  EXPECT_EQ(split(std::string("C:\\logs\\dhcp.log\0\0", 19)), Paths{"C:\\logs\\dhcp.log"});
  EXPECT_EQ(split(std::string("C:\\kea\0leases4.csv.2\0leases4.csv\0\0", 35)),
            (Paths{"C:\\kea\\leases4.csv.2", "C:\\kea\\leases4.csv"}));
  EXPECT_EQ(split(std::string("D:\\\0a.log\0b.log\0\0", 17)), (Paths{"D:\\a.log", "D:\\b.log"}));
  EXPECT_EQ(split(std::string("\0\0", 2)), Paths{});
}

TEST(ImportDhcpLogTest, CancelledDialogChangesNothing) {
  Rig rig;
  rig.window.dialogCancelled = true;
  rig.files.Put(rig.window.dialogPath, kTftpdLog);
  rig.model.rows = {Row("001", "10.0.0.1", "OLD001", "AAAAAAAAAAAA")};

  ImportDhcpLog(rig.platform, rig.model);

  EXPECT_EQ(rig.log.calls, std::vector<std::string>{"ChooseLogFiles()"});
  EXPECT_EQ(Cells(rig.model.rows), "001|10.0.0.1|OLD001|AAAAAAAAAAAA;");
}

TEST(GenerateRowsTest, ReadsTheNameAndAddressFieldsAndEnablesSave) {
  struct Case {
    const char* name;
    std::map<int, std::string> fields;
    int rows;
    const char* expected;
    bool enablesSave;
  } cases[] = {
      {"defaults", {}, 2, "001|192.168.0.1|COMPUTER001|M0;002|192.168.0.2|COMPUTER002|M1;", true},
      {"prefix, suffix, first number and digits",
       {{ids::kPrefix, "PC"}, {ids::kSuffix, "-A"}, {ids::kFirstNumber, "9"},
        {ids::kIpStart, "172.16.5.20"}},
       3,
       "001|172.16.5.20|PC009-A|M0;002|172.16.5.21|PC010-A|M1;003|172.16.5.22|PC011-A|M2;", true},
      {"dhcp in lower case, five digits",
       {{ids::kIpStart, "dhcp"}, {ids::kDigits, "5"}},
       1, "001|DHCP|COMPUTER00001|M0;", true},
      {"empty list", {}, 0, "", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Rig rig;
    for (const auto& field : c.fields) rig.window.fields[field.first] = field.second;
    for (int i = 0; i < c.rows; ++i) {
      rig.model.rows.push_back(Row(ZeroPad(i + 1, 3), "", "", "M" + std::to_string(i)));
    }

    GenerateRows(rig.platform, rig.model);

    EXPECT_EQ(Cells(rig.model.rows), c.expected);
    EXPECT_EQ(Cells(rig.window.shown), c.expected);
    EXPECT_EQ(rig.log.Only({"SetControlEnabled"}).size(), c.enablesSave ? 1u : 0u);
    EXPECT_EQ(rig.window.enabled[ids::kSaveExit], c.enablesSave);
  }
}

struct SaveCase {
  const char* name;
  int membershipOption;
  bool reportTicked;  // "修改后回报结果"
  std::map<int, std::string> fields;
  std::vector<ListRow> rows;
  std::string expectedFile;
};

TEST(SaveAndExitTest, WritesTheFieldsAndRowsInDisplayOrderThenPostsTheClose) {
  const SaveCase cases[] = {
      {"workgroup, trimmed network fields",
       ids::kWorkgroupOption, false,
       {{ids::kGateway, " 192.168.0.254 "}, {ids::kMetric, "0"}, {ids::kDns1, "DHCP"},
        {ids::kWorkgroup, "WORKGROUP"}, {ids::kDomain, "CORP"}},
       {Row("001", "192.168.0.1", "COMPUTER001", "00E0FD3A1B01"),
        Row("002", "192.168.0.2", "COMPUTER002", "00E0FD3A1B02")},
       "[Config]\r\nGateway=192.168.0.254\r\nGwmetric=0\r\nMask=255.255.255.0\r\nDNS1=DHCP\r\n"
       "DNS2=\r\nWorkGroup=WORKGROUP\r\n[list]\r\n00E0FD3A1B01=192.168.0.1,COMPUTER001\r\n"
       "00E0FD3A1B02=192.168.0.2,COMPUTER002\r\n"},
      {"domain with its account; rows as displayed, not by sequence",
       ids::kDomainOption, false,
       {{ids::kWorkgroup, "WORKGROUP"}, {ids::kDomain, "corp.example"},
        {ids::kUsername, "admin"}, {ids::kPassword, "p w"}},
       {Row("002", "10.0.0.1", "B", "000000000002"), Row("001", "10.0.0.2", "A", "000000000001")},
       "[Config]\r\nGateway=\r\nGwmetric=0\r\nMask=255.255.255.0\r\nDNS1=\r\nDNS2=\r\n"
       "Domain=corp.example\r\nUsername=admin\r\npassword=p w\r\n[list]\r\n"
       "000000000002=10.0.0.1,B\r\n000000000001=10.0.0.2,A\r\n"},
      {"reports ticked: one line after the membership", ids::kWorkgroupOption, true,
       {{ids::kWorkgroup, "WG"}},
       {Row("001", "10.0.0.1", "A", "000000000001")},
       "[Config]\r\nGateway=\r\nGwmetric=0\r\nMask=255.255.255.0\r\nDNS1=\r\nDNS2=\r\n"
       "WorkGroup=WG\r\nreport=tftp\r\n[list]\r\n000000000001=10.0.0.1,A\r\n"},
  };
  for (const SaveCase& c : cases) {
    SCOPED_TRACE(c.name);
    Rig rig;
    rig.window.selected = {ids::kFormatTftpd32, c.membershipOption};
    if (c.reportTicked) rig.window.selected.insert(ids::kReportCheck);
    for (const auto& field : c.fields) rig.window.fields[field.first] = field.second;
    rig.model.rows = c.rows;

    SaveAndExit(rig.platform, rig.model);

    EXPECT_EQ(rig.files.Get("C:\\Brevane\\mac.ini"), c.expectedFile);
    ASSERT_FALSE(rig.log.calls.empty());
    EXPECT_EQ(rig.log.calls.back(), "PostCloseRequest()") << "the close comes after every write";
    EXPECT_EQ(rig.log.Count("PostCloseRequest"), 1u);
  }
}

// A save that did not replace mac.ini says why, naming the file, and leaves the window open
// with its rows; the old file stays. Once the cause is gone, the same click saves and closes.
TEST(SaveAndExitTest, AFailedSaveShowsTheReasonAndKeepsTheWindow) {
  const std::string path = "C:\\Brevane\\mac.ini";
  const struct {
    const char* name;
    std::function<void(FakeFileApi&)> block;
    std::function<void(FakeFileApi&)> unblock;
    const char* reason;
  } cases[] = {
      {"read-only file", [&](FakeFileApi& f) { f.failingRenames.insert(path); },
       [&](FakeFileApi& f) { f.failingRenames.clear(); }, "\xCE\xDE\xB7\xA8\xCC\xE6\xBB\xBB"},
      {"directory of that name", [&](FakeFileApi& f) { f.directories.insert(path); },
       [&](FakeFileApi& f) { f.directories.clear(); }, "\xCE\xC4\xBC\xFE\xBC\xD0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Rig rig;
    rig.files.Put(path, "[list]\r\nOLD=1\r\n");
    rig.model.rows = {Row("001", "192.168.0.1", "COMPUTER001", "00E0FD3A1B01")};
    c.block(rig.files);

    SaveAndExit(rig.platform, rig.model);
    EXPECT_EQ(rig.log.Count("PostCloseRequest"), 0u);
    ASSERT_EQ(rig.window.messages.size(), 1u);
    const std::string& message = rig.window.messages[0];
    // "无法保存列表文件 C:\Brevane\mac.ini：" and the reason (无法替换 / 文件夹) in GBK.
    EXPECT_EQ(message.find("\xCE\xDE\xB7\xA8\xB1\xA3\xB4\xE6\xC1\xD0\xB1\xED\xCE\xC4\xBC\xFE " + path),
              0u) << message;
    EXPECT_NE(message.find(c.reason), std::string::npos) << message;
    EXPECT_EQ(rig.files.Get(path), "[list]\r\nOLD=1\r\n");
    EXPECT_FALSE(rig.files.Has(path + ".tmp"));
    EXPECT_EQ(Cells(rig.model.rows), "001|192.168.0.1|COMPUTER001|00E0FD3A1B01;");

    c.unblock(rig.files);
    if (!rig.files.directories.count(path)) rig.files.files.erase(path);
    SaveAndExit(rig.platform, rig.model);
    EXPECT_EQ(rig.log.Count("PostCloseRequest"), 1u);
    EXPECT_NE(rig.files.Get(path).find("00E0FD3A1B01=192.168.0.1,COMPUTER001"), std::string::npos);
  }
}

// Addresses past x.x.x.255 are refused with the count that fits; the rows stay as they were.
TEST(GenerateRowsTest, RefusesAddressesPast255AndSaysHowManyFit) {
  const struct {
    const char* start;
    int rows;
    const char* fit;  // nullptr: generated
  } cases[] = {{"192.168.0.250", 10, " 6 "}, {"192.168.0.250", 6, nullptr},
               {"10.0.0.300", 1, " 0 "},     {"dhcp", 300, nullptr}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.start);
    Rig rig;
    rig.window.fields[ids::kIpStart] = c.start;
    for (int i = 0; i < c.rows; ++i) rig.model.rows.push_back(Row("s", "", "", "M"));
    GenerateRows(rig.platform, rig.model);
    EXPECT_EQ(rig.model.rows[0].cells[kColumnIp].empty(), c.fit != nullptr);
    EXPECT_EQ(rig.window.messages.size(), c.fit ? 1u : 0u);
    if (c.fit) {
      EXPECT_NE(rig.window.messages[0].find(std::string(c.start) + " "), std::string::npos);
      EXPECT_NE(rig.window.messages[0].find(c.fit), std::string::npos) << rig.window.messages[0];
      EXPECT_EQ(rig.log.Count("ShowRows"), 0u);
    }
  }
}

TEST(MembershipOptionTest, EnablesOneSideAndGreysTheOther) {
  const std::vector<int> domainSide = {ids::kDomain, ids::kUsernameLabel, ids::kPasswordLabel,
                                       ids::kUsername, ids::kPassword};
  CallLog log;
  RecordingGeneratorWindow window(log);
  // Switching back and forth: each choice sets all six controls, whatever came before.
  for (bool domain : {true, false, true}) {
    SCOPED_TRACE(domain ? "domain" : "workgroup");
    window.enabled.clear();
    if (domain) {
      SelectDomain(window);
    } else {
      SelectWorkgroup(window);
    }
    EXPECT_EQ(window.enabled.size(), 6u);
    EXPECT_EQ(window.enabled[ids::kWorkgroup], !domain);
    for (int control : domainSide) EXPECT_EQ(window.enabled[control], domain) << control;
  }
  EXPECT_EQ(log.calls.size(), 18u) << "nothing but enabling: no rows shown, no close";
}

TEST(SortByHeadingTest, FlipsTheDirectionAndShowsTheNewOrder) {
  Rig rig;
  rig.model.rows = {Row("001", "", "", "000000000002"), Row("002", "", "", "000000000003"),
                    Row("003", "", "", "000000000001")};
  rig.model.direction = SortDirection::Ascending;  // as an import leaves it

  const struct {
    int column;
    const char* sequences;
  } clicks[] = {{kColumnMac, "002,001,003,"}, {kColumnMac, "003,001,002,"},
                {kColumnSequence, "003,002,001,"}, {4, "003,002,001,"}};
  for (const auto& click : clicks) {
    SortByHeading(rig.platform, rig.model, click.column);
    std::string shown;
    for (const ListRow& row : rig.window.shown) shown += row.cells[kColumnSequence] + ",";
    EXPECT_EQ(shown, click.sequences) << "column " << click.column;
  }
  EXPECT_EQ(rig.log.Count("ShowRows"), 3u) << "a column that does not exist changes nothing";
}

// The selected row stays selected where the sort moves it, and in place after a generation.
TEST(SortByHeadingTest, TheSelectedRowStaysSelected) {
  Rig rig;
  rig.model.rows = {Row("001", "", "", "000000000002"), Row("002", "", "", "000000000003"),
                    Row("003", "", "", "000000000001")};
  rig.model.direction = SortDirection::Ascending;
  rig.window.selectedRow = 2;  // 003
  SortByHeading(rig.platform, rig.model, kColumnMac);  // descending: 002, 001, 003
  EXPECT_EQ(rig.window.selectedRow, 2);
  SortByHeading(rig.platform, rig.model, kColumnMac);  // ascending: 003, 001, 002
  EXPECT_EQ(rig.window.selectedRow, 0);
  EXPECT_TRUE(rig.window.scrolledToSelection) << "a sort brings the moved row into view";
  GenerateRows(rig.platform, rig.model);
  EXPECT_EQ(rig.window.selectedRow, 0);
  EXPECT_FALSE(rig.window.scrolledToSelection) << "a generation keeps the scroll position";
  EXPECT_EQ(rig.model.rows[0].cells[kColumnSequence], "003");
  rig.window.selectedRow = -1;
  SortByHeading(rig.platform, rig.model, kColumnSequence);
  EXPECT_EQ(rig.window.selectedRow, -1);
}

// Devices that are not part of the batch are removed; the next generation numbers the remaining
// rows without a gap, in their order, and the save writes only them.
TEST(RemoveSelectedRowsTest, RemovesTheSelectionAndTheNextGenerationCountsOn) {
  Rig rig;
  for (int i = 0; i < 5; ++i) {
    rig.model.rows.push_back(Row(ZeroPad(i + 1, 3), "", "", "M" + std::to_string(i)));
  }
  GenerateRows(rig.platform, rig.model);
  rig.window.selectedRows = {1, 3};

  RemoveSelectedRows(rig.platform, rig.model);
  EXPECT_EQ(Cells(rig.window.shown),
            "001|192.168.0.1|COMPUTER001|M0;002|192.168.0.3|COMPUTER003|M2;"
            "003|192.168.0.5|COMPUTER005|M4;")
      << "names and addresses wait for the next generation";
  EXPECT_EQ(rig.window.selectedRow, 1) << "the row that took the first one's place";
  EXPECT_TRUE(rig.window.scrolledToSelection);

  GenerateRows(rig.platform, rig.model);
  EXPECT_EQ(Cells(rig.window.shown),
            "001|192.168.0.1|COMPUTER001|M0;002|192.168.0.2|COMPUTER002|M2;"
            "003|192.168.0.3|COMPUTER003|M4;");

  rig.window.selectedRows = {2};  // the last row: its predecessor takes the selection
  RemoveSelectedRows(rig.platform, rig.model);
  EXPECT_EQ(rig.window.selectedRow, 1);
  rig.window.selectedRow = -1;  // nothing selected: nothing happens
  const size_t shows = rig.log.Count("ShowRows");
  RemoveSelectedRows(rig.platform, rig.model);
  EXPECT_EQ(rig.log.Count("ShowRows"), shows);
  EXPECT_EQ(rig.model.rows.size(), 2u);
}

}  // namespace
