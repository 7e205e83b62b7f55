// maclist accounts: one-time machine passwords for a domain list, and the scripts that make the
// computer accounts they belong to.
#pragma once

#include <string>
#include <vector>

#include "platform/profile_api.h"

struct AccountsOptions {
  std::string listPath;
  std::string ou;  // GBK, as typed; empty for the domain's default container
};

// Reads the arguments after "accounts". False with *error naming the problem.
bool ParseAccountsArguments(const std::vector<std::string>& arguments, AccountsOptions* options,
                            std::string* error);

// Gives every machine of a domain list that has no password in section "Join" a fresh one,
// takes Username and password out of "Config", replaces the list in one step, and writes
// accounts.ps1 and accounts-samba.sh beside it. *out tells, per machine, what was done (never
// a password). 0 done, 2 with *error when the list is no domain list or a file cannot be
// read or written (the list is then as it was).
int RunAccounts(const AccountsOptions& options, ProfileApi& profile, std::string* out,
                std::string* error);
