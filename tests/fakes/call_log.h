// CallLog: one ordered record of every platform call the fakes receive, shared by all of them.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

// Each entry reads "Name(arg, arg)" with the arguments as bytes (GBK texts stay GBK), so a test
// can compare whole sequences of calls. Queries (IsExistingFile, ReadValue, IsOptionTicked...)
// are logged too; Only() keeps the calls a test is about.
struct CallLog {
  std::vector<std::string> calls;

  void Add(const std::string& entry) { calls.push_back(entry); }

  // The name of an entry: its text up to the first "(".
  static std::string NameOf(const std::string& entry) {
    return entry.substr(0, entry.find('('));
  }

  // The entries whose name is one of names, in order.
  std::vector<std::string> Only(std::initializer_list<const char*> names) const {
    std::vector<std::string> kept;
    for (const std::string& entry : calls) {
      const std::string name = NameOf(entry);
      for (const char* wanted : names) {
        if (name == wanted) {
          kept.push_back(entry);
          break;
        }
      }
    }
    return kept;
  }

  // The position of the first entry that begins with prefix (the last one when asked), or npos.
  size_t Find(const std::string& prefix, bool last = false) const {
    size_t found = std::string::npos;
    for (size_t i = 0; i < calls.size(); ++i) {
      if (calls[i].compare(0, prefix.size(), prefix) != 0) continue;
      found = i;
      if (!last) break;
    }
    return found;
  }

  // How many entries have the given name.
  size_t Count(const char* name) const { return Only({name}).size(); }

  void Clear() { calls.clear(); }
};
