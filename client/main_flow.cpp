// RunMainFlow: one run from adapter discovery to the summary and, with /A, the apply.
#include "client/main_flow.h"

#include "client/adapter_discovery.h"
#include "client/apply_settings.h"
#include "client/client_texts.h"
#include "client/command_line.h"
#include "client/entry_lookup.h"
#include "client/fetch.h"
#include "common/program_directory.h"

void RunMainFlow(ClientPlatform& platform, ClientState& state, bool firstRun) {
  if (firstRun) platform.window.InstallIconAndAboutItem();

  // Every run starts from fresh adapter lists and switches; the command line is read again.
  state.ConnectionNames.clear();
  state.AdapterMacs.clear();
  state.DhcpServers.clear();
  state.DeleteAfterwards = 0;
  state.Applied = 0;
  state.RestartAfterwards = 0;
  bool autoApply = false;
  bool fetchRequested = false;

  state.AdapterMacs = EnumerateAdapters(platform, state, state.ConnectionNames);
  ReadConnectionNames(platform, state);

  ParseCommandLine(platform, state, &autoApply, &fetchRequested);

  if (fetchRequested) RunFetchStep(platform, state);

  const std::string programDirectory = ProgramDirectory(platform.files.ModulePath());
  LookUpEntryAndShowSummary(platform, state, programDirectory);

  // The list's presence is tested again here rather than taken over from the lookup.
  if (autoApply && platform.files.IsExistingFile(programDirectory + client_texts::kListFileName)) {
    ApplySettings(platform, state);
  }
}
