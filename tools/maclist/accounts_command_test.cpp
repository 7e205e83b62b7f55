// maclist accounts: passwords only where missing, each its own; the domain account out of the
// list and every other byte kept; the scripts quote what they are given.
#include "tools/maclist/accounts_command.h"

#include <gtest/gtest.h>

#include <set>

#include "platform/profile_api.h"
#include "tools/maclist/join_accounts.h"
#include "tools/maclist/maclist_commands.h"
#include "tools/maclist/test_files.h"

namespace {

TEST(JoinAccounts, PasswordsTakeOnlyUnbiasedBytes) {
  std::string password;
  EXPECT_FALSE(MachinePasswordFromBytes(std::string(30, '\xF8'), &password));  // all dropped
  std::string bytes(kMachinePasswordLength, '\x3D');                           // 61: '9'
  bytes.insert(3, "\xFF\xF8");
  ASSERT_TRUE(MachinePasswordFromBytes(bytes, &password));
  EXPECT_EQ(password, std::string(kMachinePasswordLength, '9'));
  std::string counting;
  for (char c = 0; c < 24; ++c) counting.push_back(static_cast<char>(c + 62 * (c % 4)));
  ASSERT_TRUE(MachinePasswordFromBytes(counting, &password));
  EXPECT_EQ(password, "ABCDEFGHIJKLMNOPQRSTUVWX");  // each of the four rounds of 62 alike
}

TEST(JoinAccounts, ListKeepsEveryOtherByte) {
  const std::vector<MachineAccount> accounts = {{"00E0FD3A1B01", "PC001", "old", false},
                                                {"00E0FD3A1B02", "PC002", "NEWPASS", true}};
  struct Case {
    const char* what;
    std::string before, after;
  } cases[] = {
      {"CR LF, the account in Config, no Join section",
       "[Config]\r\nDomain=d\r\n  USERNAME = j \r\nPassword=p\r\n[list]\r\nA=1,PC001\r\n",
       "[Config]\r\nDomain=d\r\n[list]\r\nA=1,PC001\r\n[Join]\r\n00E0FD3A1B02=NEWPASS\r\n"},
      {"LF, a Join section before the list, blank lines kept after it",
       "[Join]\n00E0FD3A1B01=old\n\n[list]\nusername=stays\n",
       "[Join]\n00E0FD3A1B01=old\n00E0FD3A1B02=NEWPASS\n\n[list]\nusername=stays\n"},
      {"the last line without a line end",
       "[join]\r\n00E0FD3A1B01=old",
       "[join]\r\n00E0FD3A1B01=old\r\n00E0FD3A1B02=NEWPASS\r\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(HexBytes(ListWithJoinPasswords(c.before, accounts)), HexBytes(c.after)) << c.what;
  }
}

TEST(JoinAccounts, ScriptsQuoteNamesAndTheContainer) {
  const std::vector<MachineAccount> accounts = {{"00E0FD3A1B01", "O'BR", "pw1", true}};
  const std::string shell = AccountsSambaScript(accounts, "OU=Kim's Lab,DC=x");
  EXPECT_NE(shell.find("ou='OU=Kim'\\''s Lab,DC=x'\n"), std::string::npos) << shell;
  EXPECT_NE(shell.find("account 'O'\\''BR' 'pw1' \"$@\"\n"), std::string::npos) << shell;
  const std::string ps = AccountsPowerShellScript(accounts, "OU=Kim's Lab,DC=x");
  EXPECT_EQ(ps.compare(0, 3, "\xEF\xBB\xBF"), 0);
  EXPECT_NE(ps.find("$ou = 'OU=Kim''s Lab,DC=x'\r\n"), std::string::npos) << ps;
  EXPECT_NE(ps.find("Set-MachineAccount 'O''BR' 'pw1'\r\n"), std::string::npos) << ps;
  // Neither script ever hands a password to its output.
  for (const std::string& script : {shell, ps}) {
    for (size_t at = script.find("echo"); at != std::string::npos; at = script.find("echo", at + 1)) {
      EXPECT_EQ(script.substr(at, script.find('\n', at) - at).find("password\""), std::string::npos);
    }
  }
  EXPECT_EQ(ps.find("Write-Host \"${Password}"), std::string::npos);
}

int Accounts(const std::vector<std::string>& arguments, std::string* out, std::string* err) {
  std::vector<std::string> all = {"accounts"};
  all.insert(all.end(), arguments.begin(), arguments.end());
  return RunMaclist(all, SystemProfileApi(), out, err);
}

TEST(AccountsCommand, GivesMissingPasswordsAndTakesTheAccountOut) {
  ScratchDirectory dir;
  const std::string list = dir.WriteFile(
      "mac.ini",
      "[Config]\r\nDomain=corp.example\r\nUsername=joiner\r\npassword=Secret1\r\n[list]\r\n"
      "00E0FD3A1B01=10.0.0.1,PC001\r\n00E0FD3A1B02=10.0.0.2,PC002\r\n00e0fd3a1b01=10.0.0.3,PC009\r\n"
      "00E0FD3A1B03=10.0.0.3,PC003\r\n[Join]\r\n00E0FD3A1B02=KeptPasswordOf20Chars\r\n");
  std::string out, err;
  ASSERT_EQ(Accounts({list, "--ou", "OU=Lab,DC=corp,DC=example"}, &out, &err), 0) << err;
  const std::string after = ReadFileBytes(list);
  EXPECT_EQ(after.find("Secret1"), std::string::npos);
  EXPECT_EQ(after.find("joiner"), std::string::npos);
  const std::string head = "[Config]\r\nDomain=corp.example\r\n[list]\r\n";
  EXPECT_EQ(after.compare(0, head.size(), head), 0);
  const std::string kept = "[Join]\r\n00E0FD3A1B02=KeptPasswordOf20Chars\r\n";
  const size_t join = after.find(kept);
  ASSERT_NE(join, std::string::npos) << after;
  // PC001 (its first line) and PC003 get passwords of their own, in list order.
  const std::string added = after.substr(join + kept.size());
  ASSERT_EQ(added.size(), 2 * (13 + kMachinePasswordLength + 2)) << added;
  EXPECT_EQ(added.compare(0, 13, "00E0FD3A1B01="), 0);
  EXPECT_EQ(added.compare(39, 13, "00E0FD3A1B03="), 0);
  EXPECT_NE(added.substr(13, 24), added.substr(52, 24));
  for (const std::string& password : {added.substr(13, 24), added.substr(52, 24)}) {
    EXPECT_EQ(out.find(password), std::string::npos);
    EXPECT_NE(ReadFileBytes(dir.Path("accounts-samba.sh")).find("'" + password + "'"),
              std::string::npos);
  }
  EXPECT_NE(ReadFileBytes(dir.Path("accounts.ps1")).find("'OU=Lab,DC=corp,DC=example'"),
            std::string::npos);
  // A second run has nothing to add: the list stays byte for byte.
  ASSERT_EQ(Accounts({list}, &out, &err), 0) << err;
  EXPECT_EQ(ReadFileBytes(list), after);
}

TEST(AccountsCommand, RefusesWhatIsNoDomainList) {
  ScratchDirectory dir;
  const std::string text = "[Config]\r\nWorkGroup=WG\r\nDomain=corp\r\n[list]\r\nA=1,PC1\r\n";
  const std::string list = dir.WriteFile("mac.ini", text);
  std::string out, err;
  EXPECT_EQ(Accounts({list}, &out, &err), 2);
  EXPECT_NE(err.find("joins no domain"), std::string::npos) << err;
  EXPECT_EQ(ReadFileBytes(list), text);
  EXPECT_EQ(Accounts({dir.Path("none.ini")}, &out, &err), 2);
}

}  // namespace
