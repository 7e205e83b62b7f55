// One-time machine passwords: the list's section "Join" and the two account scripts.
#include "tools/maclist/join_accounts.h"

#include "common/list_file.h"
#include "common/text_rules.h"
#include "platform/console_text.h"

namespace {

const char kPasswordCharacters[] =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

// A line's text before its line end.
std::string LineBody(const std::string& line) {
  size_t end = line.size();
  while (end > 0 && (line[end - 1] == '\n' || line[end - 1] == '\r')) --end;
  return line.substr(0, end);
}

// The section a header line names ("[ Config ]" names "CONFIG"), or false for other lines.
bool SectionHeader(const std::string& trimmed, std::string* name) {
  if (trimmed.empty() || trimmed[0] != '[') return false;
  const size_t close = trimmed.find(']');
  *name = UpperAscii(TrimText(trimmed.substr(1, close == std::string::npos ? std::string::npos
                                                                            : close - 1)));
  return true;
}

// Between single quotes in PowerShell a quote is written twice.
std::string PowerShellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("''") : std::string(1, c);
  return quoted + "'";
}

// Between single quotes in a POSIX shell nothing is special but the quote itself.
std::string ShellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

}  // namespace

bool MachinePasswordFromBytes(const std::string& randomBytes, std::string* password) {
  password->clear();
  for (unsigned char byte : randomBytes) {
    if (password->size() == kMachinePasswordLength) break;
    if (byte < 248) password->push_back(kPasswordCharacters[byte % 62]);
  }
  return password->size() == kMachinePasswordLength;
}

std::string ListWithJoinPasswords(const std::string& bytes,
                                  const std::vector<MachineAccount>& accounts) {
  const std::string lineEnd =
      bytes.find('\n') != std::string::npos && bytes.find("\r\n") == std::string::npos ? "\n"
                                                                                        : "\r\n";
  std::string added;
  for (const MachineAccount& account : accounts) {
    if (account.isNew) added += account.mac + "=" + account.password + lineEnd;
  }
  std::string result;
  std::string section;
  bool inFirstJoin = false;
  bool joinSeen = false;
  size_t joinEnd = std::string::npos;  // where the first Join section's last line ends in result
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find('\n', start);
    end = end == std::string::npos ? bytes.size() : end + 1;
    const std::string line = bytes.substr(start, end - start);
    start = end;
    const std::string trimmed = TrimText(LineBody(line));
    if (SectionHeader(trimmed, &section)) {
      inFirstJoin = section == "JOIN" && !joinSeen;
      joinSeen = joinSeen || inFirstJoin;
    } else if (section == "CONFIG") {
      const size_t equals = trimmed.find('=');
      const std::string key = UpperAscii(TrimText(trimmed.substr(0, equals)));
      if (equals != std::string::npos && (key == "USERNAME" || key == "PASSWORD")) continue;
    }
    result += line;
    if (inFirstJoin && !trimmed.empty()) joinEnd = result.size();
  }
  if (added.empty()) return result;
  if (!joinSeen) {
    if (!result.empty() && result.back() != '\n') result += lineEnd;
    return result + "[" + std::string(kJoinSection) + "]" + lineEnd + added;
  }
  if (result[joinEnd - 1] != '\n') added = lineEnd + added;
  return result.insert(joinEnd, added);
}

std::string AccountsPowerShellScript(const std::vector<MachineAccount>& accounts,
                                     const std::string& ou) {
  std::string script =
      "\xEF\xBB\xBF# Makes the computer accounts of the batch, each with its one-time password, so\n"
      "# that every PC joins the domain with its own account and no domain password.\n"
      "# Run once as a domain administrator where the ActiveDirectory module is installed.\n"
      "# This file holds the passwords: delete it once the batch is done.\n"
      "Import-Module ActiveDirectory -ErrorAction Stop\n"
      "$ou = " + PowerShellQuoted(ou) + "\n"
      "$failed = 0\n"
      "function Set-MachineAccount([string]$Name, [string]$Password) {\n"
      "  $secure = ConvertTo-SecureString -String $Password -AsPlainText -Force\n"
      "  $account = Get-ADComputer -Filter \"sAMAccountName -eq '$($Name.Replace(\"'\", \"''\"))`$'\" "
      "-Properties OperatingSystem, LastLogonDate\n"
      "  # A PC that joined writes its system's name and logs on: such an account stays as it is.\n"
      "  if ($account -and ($account.OperatingSystem -or $account.LastLogonDate)) {\n"
      "    Write-Host \"${Name}: already joined by a PC, left as it is\"\n"
      "    return\n"
      "  }\n"
      "  try {\n"
      "    if ($account) {\n"
      "      Set-ADAccountPassword -Identity $account -Reset -NewPassword $secure\n"
      "      Write-Host \"${Name}: one-time password set anew\"\n"
      "    } elseif ($ou) {\n"
      "      New-ADComputer -Name $Name -SamAccountName \"$Name`$\" -Path $ou -AccountPassword $secure -Enabled $true\n"
      "      Write-Host \"${Name}: account made\"\n"
      "    } else {\n"
      "      New-ADComputer -Name $Name -SamAccountName \"$Name`$\" -AccountPassword $secure -Enabled $true\n"
      "      Write-Host \"${Name}: account made\"\n"
      "    }\n"
      "  } catch {\n"
      "    Write-Host \"${Name}: $($_.Exception.Message)\"\n"
      "    $script:failed++\n"
      "  }\n"
      "}\n";
  for (const MachineAccount& account : accounts) {
    script += "Set-MachineAccount " + PowerShellQuoted(Utf8FromGbk(account.name)) + " " +
              PowerShellQuoted(account.password) + "\n";
  }
  script += "if ($failed) { exit 1 }\n";
  std::string crlf;
  for (char c : script) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  return crlf;
}

std::string AccountsSambaScript(const std::vector<MachineAccount>& accounts, const std::string& ou) {
  std::string script =
      "#!/bin/sh\n"
      "# Makes the computer accounts of the batch on a Samba AD domain controller, each with its\n"
      "# one-time password, so that every PC joins with its own account and no domain password.\n"
      "# Run once as root on the domain controller; options given to this script (for example\n"
      "# -s /etc/samba/smb.conf, or -H ldap://dc -U Administrator) go to every samba-tool call.\n"
      "# This file holds the passwords: delete it once the batch is done.\n"
      "ou=" + ShellQuoted(ou) + "\n"
      "failed=0\n"
      "# Samba 4.17 on calls it \"computer add\"; older versions \"computer create\".\n"
      "if samba-tool computer add --help >/dev/null 2>&1; then add=add; else add=create; fi\n"
      "account() {  # account NAME PASSWORD SAMBA-TOOL-OPTIONS...\n"
      "  name=$1 password=$2\n"
      "  shift 2\n"
      "  if samba-tool computer show \"$name\" \"$@\" >/dev/null 2>&1; then\n"
      "    # A PC that joined writes its system's name and logs on: such an account stays as it is.\n"
      "    if samba-tool computer show \"$name\" --attributes=operatingSystem,lastLogonTimestamp \"$@\" 2>/dev/null |\n"
      "        grep -qiE '^(operatingSystem|lastLogonTimestamp):'; then\n"
      "      echo \"$name: already joined by a PC, left as it is\"\n"
      "      return 0\n"
      "    fi\n"
      "  elif [ -n \"$ou\" ]; then\n"
      "    samba-tool computer $add \"$name\" --computerou=\"$ou\" \"$@\" >/dev/null ||\n"
      "      { echo \"$name: the account could not be made\"; failed=1; return 0; }\n"
      "  else\n"
      "    samba-tool computer $add \"$name\" \"$@\" >/dev/null ||\n"
      "      { echo \"$name: the account could not be made\"; failed=1; return 0; }\n"
      "  fi\n"
      "  samba-tool user setpassword \"$name\\$\" --newpassword=\"$password\" \"$@\" >/dev/null ||\n"
      "    { echo \"$name: the one-time password could not be set\"; failed=1; return 0; }\n"
      "  echo \"$name: ready for its one-time join\"\n"
      "}\n";
  for (const MachineAccount& account : accounts) {
    script += "account " + ShellQuoted(Utf8FromGbk(account.name)) + " " +
              ShellQuoted(account.password) + " \"$@\"\n";
  }
  return script + "exit $failed\n";
}
