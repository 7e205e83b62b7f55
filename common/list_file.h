// The mac.ini list file: its records, Brevane's writing procedure and Tolvik's reading rules.
#pragma once

#include <string>
#include <vector>

#include "platform/file_api.h"
#include "platform/profile_api.h"

// The nine shared settings of section "Config", one text per key, named after the key.
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
};

// What Tolvik reads of the file: the settings (with defaults) and the list lines in file order.
struct ListFileContent {
  ListSettings settings;
  std::vector<std::string> lines;  // each "key=value" as the section reader returns it
};

// Brevane's save: deletes an existing file at path, then writes "Config" and "list" key by key.
void WriteListFile(ProfileApi& profile, FileApi& files, const std::string& path,
                   const ListFields& fields, const std::vector<ListEntry>& rows);

// Tolvik's read of an existing file at path.
ListFileContent ReadListFile(ProfileApi& profile, const std::string& path);

// The value of the list line whose key is mac (compared without case), or empty.
std::string ReadListValue(ProfileApi& profile, const std::string& path, const std::string& mac);

// IP text (before the first ",", upper-cased) and computer name (after it, commas kept).
void SplitEntryValue(const std::string& value, std::string* ip, std::string* computerName);

// Every line of a section, however long the section is: the buffer grows until it fits.
std::vector<std::string> ReadWholeSection(ProfileApi& profile, const std::string& section,
                                          const std::string& path);
