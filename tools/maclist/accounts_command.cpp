// maclist accounts: section "Join" filled, the domain account taken out, the scripts written.
#include "tools/maclist/accounts_command.h"

#include <memory>
#include <set>

#include "common/list_file.h"
#include "common/text_rules.h"
#include "platform/console_text.h"
#include "platform/secure_random.h"
#include "platform/system_files.h"
#include "tools/maclist/command_arguments.h"
#include "tools/maclist/join_accounts.h"

namespace {

// A fresh password no other machine of the batch has; false when the system gives no random
// bytes.
bool NewMachinePassword(const std::set<std::string>& taken, std::string* password) {
  for (int tries = 0; tries < 16; ++tries) {
    std::string bytes;
    if (!SecureRandomBytes(2 * kMachinePasswordLength, &bytes)) return false;
    if (MachinePasswordFromBytes(bytes, password) && taken.count(*password) == 0) return true;
  }
  return false;
}

// Written beside the target, then put in its place, so a reader never sees half a file.
bool ReplaceFile(const std::string& path, const std::string& bytes) {
  const std::string temporary = path + kTemporarySuffix;
  if (SystemFiles().WriteWholeFile(temporary, bytes) &&
      SystemFiles().RenameReplacing(temporary, path)) {
    return true;
  }
  SystemFiles().DeleteFile(temporary);
  return false;
}

std::string DirectoryOf(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

bool ParseAccountsArguments(const std::vector<std::string>& arguments, AccountsOptions* options,
                            std::string* error) {
  CommandArguments args(arguments, error);
  std::vector<std::string> positional;
  while (!args.AtEnd() && error->empty()) {
    if (!args.TextOption("--ou", &options->ou) && !args.Positional(&positional)) break;
  }
  if (!error->empty()) return false;
  if (positional.size() != 1) {
    return args.Fail(positional.empty() ? "accounts needs the list file: maclist accounts FILE"
                                        : "accounts takes one list file");
  }
  options->listPath = positional[0];
  return true;
}

int RunAccounts(const AccountsOptions& options, ProfileApi& profile, std::string* out,
                std::string* error) {
  const std::string full = FullPath(options.listPath);
  std::string bytes;
  if (full.empty() || !SystemFiles().ReadWholeFile(full, &bytes)) {
    *error = "cannot read the list file " + options.listPath;
    return 2;
  }
  std::unique_ptr<ProfileApi> reader;
  ProfileApi* list = &profile;
  if (&profile == &SystemProfileApi()) {
    reader = SystemProfileReaderOf(full, bytes);
    list = reader.get();
  }
  const ListFileContent content = ReadListFile(*list, full);
  if (content.settings.Domain.empty() || !content.settings.WorkGroup.empty()) {
    *error = "the list joins no domain (Domain= is empty, or a workgroup is joined instead)";
    return 2;
  }

  std::vector<MachineAccount> accounts;
  std::set<std::string> seenMacs, taken;
  for (const std::string& line : content.lines) {
    const size_t equals = line.find('=');
    MachineAccount account;
    account.mac = line.substr(0, equals);
    std::string ip;
    SplitEntryValue(equals == std::string::npos ? std::string() : line.substr(equals + 1), &ip,
                    &account.name);
    // The first line of a MAC is the one Tolvik uses.
    if (account.mac.empty() || !seenMacs.insert(UpperAscii(account.mac)).second) continue;
    if (account.name.empty()) {
      *out += account.mac + ": no computer name in the list, so no account\n";
      continue;
    }
    account.password = ReadJoinPassword(*list, full, account.mac);
    if (!account.password.empty()) taken.insert(account.password);
    accounts.push_back(account);
  }
  for (MachineAccount& account : accounts) {
    if (!account.password.empty()) continue;
    if (!NewMachinePassword(taken, &account.password)) {
      *error = "the system gave no cryptographic random bytes; nothing was changed";
      return 2;
    }
    taken.insert(account.password);
    account.isNew = true;
  }

  const std::string rewritten = ListWithJoinPasswords(bytes, accounts);
  if (rewritten != bytes && !ReplaceFile(full, rewritten)) {
    *error = "cannot replace the list file " + options.listPath + "; it is as it was";
    return 2;
  }
  const std::string ou = Utf8FromGbk(options.ou);
  const std::string directory = DirectoryOf(full);
  if (!ReplaceFile(directory + "accounts.ps1", AccountsPowerShellScript(accounts, ou)) ||
      !ReplaceFile(directory + "accounts-samba.sh", AccountsSambaScript(accounts, ou))) {
    *error = "the list was written, but the scripts could not be written in " + directory;
    return 2;
  }
  for (const MachineAccount& account : accounts) {
    *out += TerminalText(account.name) + " " + account.mac +
            (account.isNew ? ": new one-time password\n" : ": keeps its one-time password\n");
  }
  if (!content.settings.Username.empty() || !content.settings.password.empty()) {
    *out += "Username and password are no longer in the list.\n";
  }
  *out += "accounts.ps1 (Windows, ActiveDirectory module) and accounts-samba.sh (Samba AD) are\n"
          "beside the list: run one of them once where the domain is managed. They hold the\n"
          "passwords, as the list does: delete them once the batch is done.\n";
  return 0;
}
