// Stand-in schtasks for the end-to-end tests: records its raw command line. "/create /tn NAME
// /xml FILE" keeps a copy of FILE as task-NAME.xml beside the log (the task exists while that
// copy does); "/delete /tn NAME" removes it and, as Windows' schtasks does for a task that does
// not exist, ends with 1 when there was none.
#include <string>
#include <vector>

#include "tests/wine/command_record.h"

namespace {

// The command line's words; a word between double quotes keeps its spaces.
std::vector<std::string> Words(const std::string& line) {
  std::vector<std::string> words;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && line[i] == ' ') ++i;
    if (i >= line.size()) break;
    std::string word;
    bool quoted = false;
    for (; i < line.size() && (quoted || line[i] != ' '); ++i) {
      if (line[i] == '"') quoted = !quoted;
      else word += line[i];
    }
    words.push_back(word);
  }
  return words;
}

std::string After(const std::vector<std::string>& words, const char* option) {
  for (size_t i = 0; i + 1 < words.size(); ++i) {
    if (lstrcmpiA(words[i].c_str(), option) == 0) return words[i + 1];
  }
  return std::string();
}

bool Has(const std::vector<std::string>& words, const char* option) {
  for (const std::string& word : words) {
    if (lstrcmpiA(word.c_str(), option) == 0) return true;
  }
  return false;
}

}  // namespace

int main() {
  if (!AppendCommandRecord()) return 1;
  const std::vector<std::string> words = Words(GetCommandLineA());
  const std::string kept = RecordDirectory() + "task-" + After(words, "/tn") + ".xml";
  if (Has(words, "/create")) return CopyFileA(After(words, "/xml").c_str(), kept.c_str(), FALSE) ? 0 : 1;
  if (Has(words, "/delete")) return DeleteFileA(kept.c_str()) ? 0 : 1;
  return 1;
}
