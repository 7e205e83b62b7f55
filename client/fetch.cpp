// Fetching mac.ini and icd.ini over TFTP: the tftp runs (or Tolvik's own client), the DHCP-server
// loop, the fetch of the main flow.
#include "client/fetch.h"

#include <vector>

#include "client/client_texts.h"
#include "client/run_and_wait.h"
#include "client/system_programs.h"
#include "client/tftp_read.h"
#include "common/list_file.h"
#include "common/program_directory.h"
#include "common/text_rules.h"

namespace {

std::string ProgramDirectoryOf(ClientPlatform& platform) {
  return ProgramDirectory(platform.files.ModulePath());
}

// Fetches one file with Windows' tftp, or with Tolvik's own client when tftp cannot be started
// (an optional feature, off by default since Windows Vista; only the system directory's counts).
// False when the server did not answer: Tolvik's client heard nothing (or the port was refused),
// or tftp was still running when its time was up (it says no more than its exit code).
bool FetchFile(ClientPlatform& platform, const std::string& address, const std::string& directory,
               const std::string& fileName) {
  // tftp stores what it fetches in its working directory; running it in the program directory
  // puts the files where the lookup reads them, whatever directory Tolvik was started from.
  RunRequest request;
  request.arguments = address + " get " + fileName;
  request.workingDirectory = directory;
  request.showState = kSwHide;
  request.timeoutMs = kInfinite;  // tftp's own limit applies
  const RunOutcome run = RunSystemProgram(platform, kTftp, request).outcome;
  if (run != RunOutcome::kNotStarted) return run == RunOutcome::kEnded;
  std::string content;
  const TftpOutcome outcome = TftpReadFile(platform.datagrams, address, fileName, &content);
  if (outcome != TftpOutcome::kComplete) {
    // Whatever was there before stays.
    return outcome == TftpOutcome::kServerError || outcome == TftpOutcome::kTooLarge;
  }
  // Written aside and renamed only when whole, so the lookup never reads a part of a file.
  const std::string fetching = directory + fileName + client_texts::kFetchingSuffix;
  if (!platform.files.WriteWholeFile(fetching, content) ||
      !platform.files.RenameReplacing(fetching, directory + fileName)) {
    platform.files.DeleteFile(fetching);
  }
  return true;
}

}  // namespace

void FetchFromServer(ClientPlatform& platform, const std::string& address) {
  const std::string directory = ProgramDirectoryOf(platform);
  // A server silent about mac.ini is not asked for icd.ini in the same attempt.
  if (FetchFile(platform, address, directory, kListFileName)) {
    FetchFile(platform, address, directory, kIcdFileName);
  }
}

void FetchFromDhcpServers(ClientPlatform& platform, ClientState& state) {
  // Processing pending messages can run a queued click of the fetch button, which refills
  // state.DhcpServers; the loop walks its own copy so that never pulls the list from under it.
  const std::vector<std::string> servers = state.DhcpServers;
  const std::string listPath = ProgramDirectoryOf(platform) + kListFileName;
  state.ListServer.clear();
  for (const std::string& server : servers) {
    platform.window.ShowAndBringToFront();
    platform.window.ProcessPendingMessages();
    platform.window.SetInfoText(std::string(client_texts::kTryingServerPrefix) + server +
                                client_texts::kTryingDhcpServerSuffix);
    FetchFromServer(platform, server);
    if (platform.files.IsExistingFile(listPath)) {
      state.ListServer = server;
      break;
    }
  }
}

void FetchFromNamedAddress(ClientPlatform& platform, ClientState& state, const std::string& address) {
  const std::string server = address;  // the caller's text may change while messages run
  platform.window.SetInfoText(std::string(client_texts::kTryingServerPrefix) + server +
                              client_texts::kTryingNamedAddressSuffix);
  platform.window.ShowAndBringToFront();
  platform.window.ProcessPendingMessages();
  // The server asked last: a list there afterwards came from it.
  state.ListServer = TrimText(server);
  FetchFromServer(platform, server);
}

void RunFetchStep(ClientPlatform& platform, ClientState& state) {
  if (!state.FetchAddress.empty()) {
    FetchFromNamedAddress(platform, state, state.FetchAddress);
  } else {
    FetchFromDhcpServers(platform, state);
  }
}
