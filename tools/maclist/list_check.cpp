// The soundness check of a mac.ini list, read as Tolvik reads it.
#include "tools/maclist/list_check.h"

#include <cstdint>
#include <unordered_map>
#include <utility>

#include "common/list_file.h"
#include "common/text_rules.h"
#include "platform/console_text.h"
#include "platform/portable/portable_profile.h"
#include "tools/maclist/address_text.h"
#include "tools/maclist/join_accounts.h"
#include "tools/maclist/json_text.h"

namespace {

// Tolvik's own section reader on older builds: one call with a 32,767-byte buffer.
constexpr uint32_t kOlderClientSectionBuffer = 32767;
// A computer name Windows accepts has at most this many bytes (MAX_COMPUTERNAME_LENGTH).
constexpr size_t kLongestComputerName = 15;

std::string LineText(const ProfileLine& line) {
  return line.hasValue ? line.name + "=" + line.value : line.name;
}

// The first section of a name, as the profile functions pick it; sections[0] has no name.
const ProfileSectionText* FirstSection(const ProfileText& text, const char* name) {
  for (size_t i = 1; i < text.sections.size(); ++i) {
    if (EqualsIgnoringAsciiCase(text.sections[i].name, name)) return &text.sections[i];
  }
  return nullptr;
}

class Checker {
 public:
  Checker(ProfileApi& profile, const std::string& path, const std::string& bytes, bool olderClient)
      : profile_(profile), path_(path), text_(ParseProfileText(bytes)), olderClient_(olderClient) {}

  std::vector<ListFinding> Run();

 private:
  void Add(size_t line, const char* code, const std::string& message) {
    findings_.push_back(ListFinding{line, code, message});
  }
  size_t ConfigLine(const char* key) const;
  std::vector<size_t> ListLineNumbers(const std::vector<std::string>& lines);
  void CheckSections();
  void CheckJoinedLines();
  void CheckSettings(const ListSettings& settings);
  void CheckEntries(const std::vector<std::string>& lines, const std::vector<size_t>& numbers,
                    const ListSettings& settings);
  void CheckJoinPasswords(const std::vector<std::string>& lines,
                          const std::vector<size_t>& numbers, const ListSettings& settings);
  void CheckOlderClientReach(const std::vector<std::string>& lines,
                             const std::vector<size_t>& numbers);

  ProfileApi& profile_;
  const std::string path_;
  // The file read once by the profile rules, every line with its line number.
  const ProfileText text_;
  const bool olderClient_;
  std::vector<ListFinding> findings_;
  // Filled by CheckSettings, used for the machines' addresses.
  bool haveSubnet_ = false;
  uint32_t mask_ = 0;
  uint32_t gateway_ = 0;
};

// The line of the first "config" section that Tolvik reads a key from: the first with that
// name, which gives the value only when it has an "=".
size_t Checker::ConfigLine(const char* key) const {
  const ProfileSectionText* config = FirstSection(text_, "config");
  if (!config) return 0;
  for (const ProfileLine& line : config->lines) {
    if (EqualsIgnoringAsciiCase(line.name, key)) return line.hasValue ? line.fileLine : 0;
  }
  return 0;
}

// The line numbers of the section lines Tolvik read, in order. The file's own first "list"
// section, less the lines the section reader leaves out (comments, lines without a name), gives
// the same lines in the same order; each is taken in turn when its text is the one read. Should
// the reader have read a line differently (Windows' own functions), the line is looked up by
// its text among the lines not yet taken, so the work stays linear either way.
std::vector<size_t> Checker::ListLineNumbers(const std::vector<std::string>& lines) {
  std::vector<const ProfileLine*> candidates;
  if (const ProfileSectionText* list = FirstSection(text_, "list")) {
    for (const ProfileLine& line : list->lines) {
      if (line.name.empty() && !line.hasValue) continue;
      if (!line.name.empty() && line.name[0] == ';') continue;
      candidates.push_back(&line);
    }
  }
  std::vector<size_t> numbers(lines.size(), 0);
  std::unordered_map<std::string, std::vector<size_t>> byText;  // line numbers, last first
  bool indexed = false;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (!indexed && i < candidates.size() && LineText(*candidates[i]) == lines[i]) {
      numbers[i] = candidates[i]->fileLine;
      continue;
    }
    if (!indexed) {
      for (size_t c = candidates.size(); c-- > i;) {
        byText[LineText(*candidates[c])].push_back(candidates[c]->fileLine);
      }
      indexed = true;
    }
    auto found = byText.find(lines[i]);
    if (found != byText.end() && !found->second.empty()) {
      numbers[i] = found->second.back();
      found->second.pop_back();
    }
  }
  return numbers;
}

// Only the first section of a name is read; the lines of a repeated one never reach Tolvik.
void Checker::CheckSections() {
  std::unordered_map<std::string, size_t> firstHeader;
  for (size_t i = 1; i < text_.sections.size(); ++i) {
    const ProfileSectionText& section = text_.sections[i];
    const std::string name = UpperAscii(section.name);
    if (name != "LIST" && name != "CONFIG") continue;
    auto found = firstHeader.find(name);
    if (found == firstHeader.end()) {
      firstHeader.emplace(name, section.fileLine);
    } else {
      Add(section.fileLine, "repeated-section",
          "section [" + section.name + "] repeats the one on line " +
              std::to_string(found->second) + "; its lines are never read");
    }
  }
}

// A line ending in the first byte of a GBK character takes the line end with it when the file
// is converted from the code page, so the next line is read as the rest of this one (Windows
// does the same): the entry on it is lost and this line's value carries its text.
void Checker::CheckJoinedLines() {
  const auto report = [this](size_t line, size_t joined) {
    if (joined == 0) return;
    Add(line, "joined-line",
        "line ends in the first byte of a double-byte character, so line " +
            std::to_string(line + 1) + (joined > 1 ? " to " + std::to_string(line + joined) : "") +
            " is read as part of it");
  };
  for (const ProfileSectionText& section : text_.sections) {
    report(section.fileLine, section.joinedLines);
    for (const ProfileLine& line : section.lines) report(line.fileLine, line.joinedLines);
  }
}

void Checker::CheckSettings(const ListSettings& s) {
  uint32_t mask = 0;
  const bool maskOk = ParseDottedAddress(s.Mask, &mask) && IsContiguousMask(mask) && mask != 0 &&
                      mask <= 0xFFFFFFFCu;
  if (!maskOk) {
    Add(ConfigLine("mask"), "bad-mask",
        "mask \"" + s.Mask + "\" is not a subnet mask such as 255.255.255.0");
  }

  const bool gatewayRemoved = EqualsIgnoringAsciiCase(s.Gateway, "none");
  uint32_t gateway = 0;
  if (!s.Gateway.empty() && !gatewayRemoved) {
    if (!ParseDottedAddress(s.Gateway, &gateway)) {
      Add(ConfigLine("gateway"), "bad-gateway",
          "gateway \"" + s.Gateway + "\" is neither a dotted IPv4 address, NONE nor empty");
    } else if (maskOk) {
      const uint32_t host = gateway & ~mask;
      if (host == 0 || host == ~mask) {
        Add(ConfigLine("gateway"), "gateway-outside-subnet",
            "gateway " + s.Gateway + " is the " + (host == 0 ? "network" : "broadcast") +
                " address of its subnet " + DottedText(gateway & mask) + "/" + s.Mask +
                ", not a host in it");
      } else {
        haveSubnet_ = true;
        mask_ = mask;
        gateway_ = gateway;
      }
    }
  }

  // The metric goes to netsh only with a gateway address, but a wrong one is wrong all the same.
  bool metricOk = !s.Gwmetric.empty();
  for (char c : s.Gwmetric) metricOk = metricOk && c >= '0' && c <= '9';
  if (!metricOk) {
    Add(ConfigLine("gwmetric"), "bad-metric", "metric \"" + s.Gwmetric + "\" is not a number");
  }

  uint32_t dns = 0;
  const bool dns1Address = ParseDottedAddress(s.DNS1, &dns);
  if (!s.DNS1.empty() && s.DNS1 != "DHCP" && !dns1Address) {
    Add(ConfigLine("dns1"), "bad-dns",
        "DNS1 \"" + s.DNS1 + "\" is neither a dotted IPv4 address nor DHCP");
  }
  if (!s.DNS2.empty()) {
    const bool dns2Address = ParseDottedAddress(s.DNS2, &dns);
    const bool dns2Dhcp = EqualsIgnoringAsciiCase(s.DNS2, "DHCP");
    if (!dns2Address && !dns2Dhcp) {
      Add(ConfigLine("dns2"), "bad-dns",
          "DNS2 \"" + s.DNS2 + "\" is neither a dotted IPv4 address nor DHCP");
    } else if (dns2Dhcp && dns1Address) {
      Add(ConfigLine("dns2"), "bad-dns",
          "DNS2 DHCP beside the address DNS1 " + s.DNS1 + " would be added as a server named DHCP");
    } else if (s.DNS1.empty()) {
      Add(ConfigLine("dns2"), "ignored-setting",
          "DNS2 " + s.DNS2 + " is ignored: with DNS1 empty the DNS servers are not touched");
    }
  }

  uint32_t reportServer = 0;
  if (!s.report.empty() && !EqualsIgnoringAsciiCase(s.report, "tftp") &&
      !ParseDottedAddress(s.report, &reportServer)) {
    Add(ConfigLine("report"), "bad-report",
        "report \"" + s.report + "\" is neither tftp nor a dotted IPv4 address of a TFTP server");
  }

  if (!s.WorkGroup.empty() && !s.Domain.empty()) {
    Add(ConfigLine("domain"), "ignored-setting",
        "domain " + s.Domain + " is ignored: the workgroup " + s.WorkGroup + " is joined instead");
  } else if (!s.Domain.empty() && s.Username.empty() && !FirstSection(text_, "join")) {
    Add(ConfigLine("domain"), "domain-without-user",
        "domain " + s.Domain + " is given without a user name to join it");
  }
}

void Checker::CheckEntries(const std::vector<std::string>& lines,
                           const std::vector<size_t>& numbers, const ListSettings& settings) {
  if (lines.empty()) {
    Add(0, "no-machines", "the list section names no machine");
    return;
  }
  std::unordered_map<std::string, size_t> macs;
  std::unordered_map<std::string, size_t> addresses;
  std::unordered_map<std::string, size_t> names;
  const auto lineOf = [&numbers](size_t i) { return numbers[i]; };
  const auto where = [](size_t number) {
    return number ? "line " + std::to_string(number) : std::string("an earlier line");
  };

  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string& text = lines[i];
    const size_t equals = text.find('=');
    if (equals == std::string::npos) {
      Add(lineOf(i), "bad-line", "line \"" + text + "\" has no \"=\" and gives no machine");
      continue;
    }
    const std::string key = text.substr(0, equals);
    const std::string value = text.substr(equals + 1);

    bool keyOk = key.size() == 12;
    for (char c : key) {
      keyOk = keyOk && ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'));
    }
    if (!keyOk) {
      Add(lineOf(i), "bad-mac",
          "key \"" + key + "\" is not a MAC text of 12 hexadecimal digits without separators");
    }
    const auto mac = macs.emplace(UpperAscii(key), lineOf(i));
    if (!mac.second) {
      Add(lineOf(i), "duplicate-mac",
          "MAC " + key + " repeats " + where(mac.first->second) +
              "; Tolvik reads only the first line's value");
      continue;  // this line's value never reaches a PC
    }

    std::string ip;
    std::string name;
    SplitEntryValue(value, &ip, &name);

    const std::string nameProblem = ComputerNameProblem(name);
    if (nameProblem == "name-empty") {
      Add(lineOf(i), "name-empty", "computer name is empty");
    } else if (nameProblem == "name-too-long") {
      Add(lineOf(i), "name-too-long",
          "computer name " + name + " has " + std::to_string(name.size()) +
              " bytes; Windows allows 15");
    } else if (nameProblem == "name-all-digits") {
      Add(lineOf(i), "name-all-digits", "computer name " + name + " is only digits");
    } else if (nameProblem == "name-bad-character") {
      Add(lineOf(i), "name-bad-character",
          "computer name \"" + name + "\" holds a character Windows does not allow in computer names");
    }
    if (!name.empty()) {
      const auto seen = names.emplace(UpperAscii(name), lineOf(i));
      if (!seen.second) {
        Add(lineOf(i), "duplicate-name",
            "computer name " + name + " is given to " + where(seen.first->second) + " too");
      }
    }

    if (ip.empty()) {
      Add(lineOf(i), "empty-address", "address is empty: Tolvik changes nothing on this machine");
      continue;
    }
    if (ip == "DHCP") continue;
    uint32_t address = 0;
    if (!ParseDottedAddress(ip, &address)) {
      Add(lineOf(i), "bad-address",
          "address \"" + ip + "\" is not a dotted IPv4 address with numbers 0 to 255");
      continue;
    }
    const auto seen = addresses.emplace(ip, lineOf(i));
    if (!seen.second) {
      Add(lineOf(i), "duplicate-address",
          "address " + ip + " is given to " + where(seen.first->second) + " too");
    }
    const uint32_t last = address & 255;
    if (last == 0 || last == 255) {
      Add(lineOf(i), "address-not-host",
          "address " + ip + " ends in " + std::to_string(last) + ", which is no machine's address");
    }
    if (haveSubnet_) {
      if ((address & mask_) != (gateway_ & mask_)) {
        Add(lineOf(i), "address-outside-subnet",
            "address " + ip + " is outside the subnet " + DottedText(gateway_ & mask_) + "/" +
                settings.Mask + " of the gateway " + settings.Gateway);
      } else if (address == gateway_) {
        Add(lineOf(i), "address-is-gateway", "address " + ip + " is the gateway's address");
      }
    }
  }
}

// Section "Join": one-time machine passwords, each for one machine of the list, long enough and
// its own; with a domain and no domain account, every machine needs one.
void Checker::CheckJoinPasswords(const std::vector<std::string>& lines,
                                 const std::vector<size_t>& numbers, const ListSettings& s) {
  const ProfileSectionText* join = FirstSection(text_, "join");
  std::unordered_map<std::string, size_t> listed;  // MAC text, upper-cased, to its line
  for (size_t i = 0; i < lines.size(); ++i) {
    listed.emplace(UpperAscii(lines[i].substr(0, lines[i].find('='))), numbers[i]);
  }
  std::unordered_map<std::string, size_t> passwords;  // password to its line
  std::unordered_map<std::string, bool> hasPassword;
  if (join) {
    for (const ProfileLine& line : join->lines) {
      if (!line.hasValue || line.name.empty() || line.name[0] == ';') continue;
      const std::string mac = UpperAscii(line.name);
      if (!hasPassword.emplace(mac, !line.value.empty()).second) continue;  // the first counts
      if (listed.count(mac) == 0) {
        Add(line.fileLine, "join-without-machine",
            "one-time password for " + line.name + ", which no line of the list names");
      }
      if (line.value.empty()) continue;
      if (line.value.size() < kShortestJoinPassword) {
        Add(line.fileLine, "join-password-short",
            "one-time password of " + line.name + " has " + std::to_string(line.value.size()) +
                " characters; give it " + std::to_string(kShortestJoinPassword) +
                " or more (maclist accounts makes 24)");
      }
      const auto seen = passwords.emplace(line.value, line.fileLine);
      if (!seen.second) {
        Add(line.fileLine, "join-password-repeated",
            "one-time password of " + line.name + " is the one of line " +
                std::to_string(seen.first->second) + " too; each machine needs its own");
      }
    }
  }
  const bool joinsDomain = !s.Domain.empty() && s.WorkGroup.empty();
  if (!join || !joinsDomain || !s.Username.empty()) return;
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string mac = UpperAscii(lines[i].substr(0, lines[i].find('=')));
    if (listed[mac] != numbers[i]) continue;  // a MAC listed again: its first line counts
    const auto found = hasPassword.find(mac);
    if (found == hasPassword.end() || !found->second) {
      Add(numbers[i], "join-password-missing",
          "machine " + mac +
              " has no one-time password in [Join] and the list names no domain account: it "
              "cannot join " + s.Domain);
    }
  }
}

// An older Tolvik reads the list section once into 32,767 bytes: what lies past them is lost.
// The section reader itself says what fits; a line reaches the client when its key does.
void Checker::CheckOlderClientReach(const std::vector<std::string>& lines,
                                    const std::vector<size_t>& numbers) {
  std::vector<char> buffer(kOlderClientSectionBuffer, '\0');
  const uint32_t copied = profile_.GetSection("list", &buffer, path_);
  if (copied + 2 < kOlderClientSectionBuffer) return;  // the whole section fitted
  size_t offset = 0;
  for (size_t i = 0; i < lines.size(); ++i) {
    const size_t key = lines[i].find('=');
    const size_t keyEnd = offset + (key == std::string::npos ? lines[i].size() : key);
    if (keyEnd > copied) {
      Add(numbers[i], "beyond-older-client",
          "line lies past the first 32,767 bytes of the list section; an older client never "
          "sees it");
    }
    offset += lines[i].size() + 1;
  }
}

std::vector<ListFinding> Checker::Run() {
  const ListFileContent content = ReadListFile(profile_, path_);
  const std::vector<size_t> numbers = ListLineNumbers(content.lines);
  CheckSections();
  CheckJoinedLines();
  CheckSettings(content.settings);
  CheckEntries(content.lines, numbers, content.settings);
  CheckJoinPasswords(content.lines, numbers, content.settings);
  if (olderClient_) CheckOlderClientReach(content.lines, numbers);
  return findings_;
}

}  // namespace

std::string ComputerNameProblem(const std::string& name) {
  if (name.empty()) return "name-empty";
  if (name.size() > kLongestComputerName) return "name-too-long";
  bool allDigits = true;
  for (unsigned char c : name) allDigits = allDigits && c >= '0' && c <= '9';
  if (allDigits) return "name-all-digits";
  // Letters, digits and these symbols are the set Windows accepts; GBK characters (bytes from
  // 0x80 up) are letters to it.
  static const std::string kSymbols = "!@#$%^&')(.-_{}~";
  for (unsigned char c : name) {
    const bool letterOrDigit = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') ||
                               (c >= 'a' && c <= 'z') || c >= 0x80;
    if (!letterOrDigit && kSymbols.find(static_cast<char>(c)) == std::string::npos) {
      return "name-bad-character";
    }
  }
  return std::string();
}

std::vector<ListFinding> CheckList(ProfileApi& profile, const std::string& path,
                                   const std::string& bytes, bool olderClient) {
  return Checker(profile, path, bytes, olderClient).Run();
}

std::string FindingsText(const std::string& displayPath, const std::vector<ListFinding>& findings) {
  std::string text;
  for (const ListFinding& f : findings) {
    text += displayPath + ":" + (f.line ? std::to_string(f.line) : std::string("-")) + ": " +
            TerminalText(f.message) + " [" + f.code + "]\n";
  }
  return text;
}

std::string FindingsJson(const std::string& displayPath, const std::vector<ListFinding>& findings) {
  std::string json = "{\"file\": " + JsonString(displayPath) +
                     ", \"count\": " + std::to_string(findings.size()) + ", \"findings\": [";
  for (size_t i = 0; i < findings.size(); ++i) {
    const ListFinding& f = findings[i];
    json += i ? ",\n  " : "\n  ";
    json += "{\"line\": " + (f.line ? std::to_string(f.line) : std::string("null")) +
            ", \"code\": " + JsonString(f.code) +
            ", \"message\": " + JsonString(Utf8FromGbk(f.message)) + "}";
  }
  json += findings.empty() ? "]}\n" : "\n]}\n";
  return json;
}
