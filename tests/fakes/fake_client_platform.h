// FakeClientPlatform: one of each recording fake, sharing one call log, bundled as ClientPlatform.
#pragma once

#include <string>
#include <vector>

#include "client/client_platform.h"
#include "tests/fakes/call_log.h"
#include "tests/fakes/fake_adapter_api.h"
#include "tests/fakes/fake_file_api.h"
#include "tests/fakes/fake_process_api.h"
#include "tests/fakes/fake_profile_api.h"
#include "tests/fakes/fake_registry_api.h"
#include "tests/fakes/fake_system_api.h"
#include "tests/fakes/recording_window.h"
#include "tests/fakes/scripted_datagram_api.h"

// The program runs as C:\Tolvik\Tolvik.exe with C:\TEMP\ as its temporary directory unless a
// test changes files.modulePath / files.tempPath. The profile reads and writes the INI texts
// held by files, so Put("C:\\Tolvik\\mac.ini", text) makes a list file that both the presence
// test and the profile reads see.
struct FakeClientPlatform {
  CallLog log;
  FakeFileApi files{log};
  FakeProfileApi profile{log, files};
  FakeRegistryApi registry{log};
  FakeAdapterApi adapters{log};
  RecordingProcessApi processes{log};
  FakeSystemApi system{log};
  RecordingWindow window{log};
  ScriptedDatagramApi datagrams{log};

  ClientPlatform platform() {
    return ClientPlatform{profile, registry, adapters, processes, files, system, window, datagrams};
  }
};
