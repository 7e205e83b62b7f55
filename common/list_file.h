// The mac.ini list file: its records, Brevane's writing procedure and Tolvik's reading rules.
#pragma once

#include <string>
#include <vector>

#include "platform/file_api.h"
#include "platform/profile_api.h"

// The two files Tolvik reads from its program directory, by these names; Brevane writes the first.
constexpr const char kListFileName[] = "mac.ini";
constexpr const char kIcdFileName[] = "icd.ini";

// The shared settings of section "Config", one text per key, named after the key.
struct ListSettings {
  std::string Gateway;
  std::string Gwmetric;
  std::string Mask;
  std::string DNS1;
  std::string DNS2;
  std::string WorkGroup;
  std::string Domain;
  std::string Username;
  std::string password;
  // Where Tolvik sends its report: empty (no report), "tftp" (the server the list came from)
  // or the address of a TFTP server.
  std::string report;
};

// One line of section "list": the MAC text key and the cells of its value.
struct ListEntry {
  std::string Mac;
  std::string Ip;
  std::string ComputerName;
};

enum class MembershipChoice { Workgroup, Domain };

// The texts of Brevane's fields as typed, and which membership option is selected.
struct ListFields {
  std::string gateway;
  std::string metric;
  std::string mask;
  std::string dns1;
  std::string dns2;
  MembershipChoice membership = MembershipChoice::Workgroup;
  std::string workgroup;
  std::string domain;
  std::string username;
  std::string password;
  std::string report;  // written only when not empty, so a list without reports stays as it was
};

// What Tolvik reads of the file: the settings (with defaults) and the list lines in file order.
struct ListFileContent {
  ListSettings settings;
  std::vector<std::string> lines;  // each "key=value" as the section reader returns it
};

// Why a save did not replace the file; the old file is then as it was.
enum class SaveProblem {
  None,
  PathTooLong,          // the temporary file's path is past what the ANSI calls take
  TargetIsDirectory,    // a directory has the file's name
  TemporaryNotCreated,  // the temporary file could not be created (folder read-only, no right)
  WriteFailed,          // the temporary file was not written whole (disk full)
  ReplaceRefused,       // the old file could not be replaced (read-only, in use)
};

// The text the key-by-key writes of the save give on a fresh file, composed in memory; false
// when some text is outside what is known for certain about the profile functions (see
// list_file.cpp), and the save then writes key by key instead.
bool ComposeListText(const ListFields& fields, const std::vector<ListEntry>& rows,
                     std::string* text);

// The save's writes, one WritePrivateProfileStringA per key, in order, onto path as it is.
// False as soon as one write fails.
bool WriteListKeyByKey(ProfileApi& profile, const std::string& path, const ListFields& fields,
                       const std::vector<ListEntry>& rows);

// Brevane's save: the whole text goes into path + kTemporarySuffix in the same folder, flushed,
// which then replaces path in one step. On any problem the temporary file is removed and the
// old file at path is left as it was.
SaveProblem WriteListFile(ProfileApi& profile, FileApi& files, const std::string& path,
                          const ListFields& fields, const std::vector<ListEntry>& rows);

constexpr const char kTemporarySuffix[] = ".tmp";
// The longest path the ANSI file calls take (MAX_PATH less the NUL).
constexpr size_t kMaxPathLength = 259;

// Section "Join": one line per machine, its MAC text as key and its one-time machine password
// (the password of its computer account, made beforehand) as value.
constexpr const char kJoinSection[] = "Join";

// The one-time machine password section "Join" holds for mac (compared without case), or empty.
std::string ReadJoinPassword(ProfileApi& profile, const std::string& path, const std::string& mac);

// Tolvik's read of an existing file at path.
ListFileContent ReadListFile(ProfileApi& profile, const std::string& path);

// The value of the list line whose key is mac (compared without case), or empty.
std::string ReadListValue(ProfileApi& profile, const std::string& path, const std::string& mac);

// IP text (before the first ",", upper-cased) and computer name (after it, commas kept).
void SplitEntryValue(const std::string& value, std::string* ip, std::string* computerName);

// Every line of a section, however long the section is: the buffer grows until it fits.
std::vector<std::string> ReadWholeSection(ProfileApi& profile, const std::string& section,
                                          const std::string& path);
