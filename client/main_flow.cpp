// RunMainFlow: one run from adapter discovery to the summary and, with /A, the apply.
#include "client/main_flow.h"

#include "client/adapter_discovery.h"
#include "client/apply_settings.h"
#include "client/client_texts.h"
#include "client/command_line.h"
#include "client/entry_lookup.h"
#include "client/fetch.h"
#include "client/fetch_retry.h"
#include "client/next_logon.h"
#include "client/report.h"
#include "common/list_file.h"
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

  const std::string programDirectory = ProgramDirectory(platform.files.ModulePath());
  const std::string listPath = programDirectory + kListFileName;
  // Unattended, at a clone's first logon: the adapter or its lease may not be ready yet.
  const bool unattended = autoApply && fetchRequested;
  if (unattended) {
    FetchUntilListArrives(platform, state, listPath);
  } else if (fetchRequested) {
    RunFetchStep(platform, state);
  }

  LookUpEntryAndShowSummary(platform, state, programDirectory);
  // A list without this PC's line is reported at once; an entry is reported after its apply.
  // Either leaves before a close is posted, so before /K deletes anything or /R restarts.
  if (state.EntryMac.empty() && !state.List.report.empty()) ReportNoEntry(platform, state);

  // The list's presence is tested again here rather than taken over from the lookup. A close
  // asked for meanwhile (the exit button during the wait) is not overtaken by an apply.
  if (autoApply && platform.files.IsExistingFile(listPath) && !platform.window.IsClosePending()) {
    ApplyAndReport(platform, state);
  }

  // An unattended run that did not apply everything (no list, no entry, a failed step) is
  // tried again at the next logon; one that did removes that.
  if (autoApply) ArrangeNextLogon(platform, state.Applied != 0);
}
