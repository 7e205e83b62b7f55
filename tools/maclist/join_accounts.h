// One-time machine passwords for a domain batch: section "Join" of the list, and the computer
// accounts the administrator makes beforehand, so the list carries no domain account.
#pragma once

#include <string>
#include <vector>

// One machine of the batch: its MAC text as the list keys it, its computer name (GBK) and its
// one-time password; isNew when this run gave it the password.
struct MachineAccount {
  std::string mac;
  std::string name;
  std::string password;
  bool isNew = false;
};

// Passwords are this long, from letters and digits only, so that no INI, shell or PowerShell
// rule ever rewrites them: 24 characters of 62 are about 143 bits.
constexpr size_t kMachinePasswordLength = 24;
// What the check asks of a password written by hand.
constexpr size_t kShortestJoinPassword = 16;

// A password of kMachinePasswordLength drawn from random bytes: each byte below 248 picks one of
// the 62 characters (a byte from 248 up is dropped, so every character is equally likely).
// False when the bytes run out first; call again with more.
bool MachinePasswordFromBytes(const std::string& randomBytes, std::string* password);

// The list's bytes with the lines "Username=..." and "password=..." taken out of every
// "Config" section and one "MAC=password" line per new account added to the first "Join"
// section (a new one at the end when there is none); every other byte stays, and the new lines
// end as the file's lines do.
std::string ListWithJoinPasswords(const std::string& bytes,
                                  const std::vector<MachineAccount>& accounts);

// The scripts an administrator runs once where the domain can be managed: PowerShell with the
// ActiveDirectory module (UTF-8 with its mark, CR LF), and a shell script for a Samba AD
// domain controller (UTF-8, LF). ou (UTF-8) is the container's DN, empty for the default one.
// Each makes or resets every account with its password, leaves an account that already joined a
// PC as it is (and says so), and never prints a password.
std::string AccountsPowerShellScript(const std::vector<MachineAccount>& accounts,
                                     const std::string& ou);
std::string AccountsSambaScript(const std::vector<MachineAccount>& accounts, const std::string& ou);
