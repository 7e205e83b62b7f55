// Tolvik's command line: cutting the whole command line at "/" and reading the switches.
#include "client/command_line.h"

#include "client/client_texts.h"
#include "common/text_rules.h"

std::vector<std::string> SplitAt(const std::string& text, char separator) {
  // The cut works on positions into text instead of copying the rest after every piece, so a
  // 32 KB command line made of thousands of switches is cut in one pass.
  std::vector<std::string> pieces;
  size_t start = 0;
  const size_t end = text.size();
  if (start < end && text[start] == separator) ++start;  // one leading separator is dropped

  // A piece ends at each separator that has at least one character before it in the rest; a
  // separator standing first in the rest (two in a row) ends the cutting.
  for (;;) {
    size_t found = text.find(separator, start);
    if (found == std::string::npos || found == start) break;
    pieces.push_back(text.substr(start, found - start));
    start = found + 1;
  }

  // The rest is the last piece: one separator in front of it is dropped unless it stands alone.
  if (end - start > 1 && text[start] == separator) ++start;
  if (start < end) pieces.push_back(text.substr(start));
  return pieces;
}

void ParseCommandLine(ClientPlatform& platform, ClientState& state, bool* autoApply,
                      bool* fetchRequested) {
  std::vector<std::string> pieces = SplitAt(platform.system.CommandLine(), '/');
  // The first piece is the program path and whatever stands before the first switch.
  for (size_t i = 1; i < pieces.size(); ++i) {
    const std::string trimmed = TrimText(pieces[i]);
    const std::string piece = UpperAscii(trimmed);
    if (piece == "?") {
      // The help hides the window for good; the posted close is handled by the message loop
      // after this run of the main flow has ended, so the run still goes on.
      platform.window.Hide();
      platform.window.ShowHelpBox(client_texts::kHelpText);
      platform.window.PostCloseRequest();
    }
    if (piece == "A") *autoApply = true;
    if (piece == "K") state.DeleteAfterwards = 1;
    if (piece == "R") state.RestartAfterwards = 1;
    if (piece == "N") *fetchRequested = true;
    if (piece.compare(0, 3, "IP:") == 0) {
      *fetchRequested = true;
      state.FetchAddress = trimmed.substr(3);  // case and inner spaces of the address are kept
    }
  }
}
