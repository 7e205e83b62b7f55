// Tolvik's program entry: the Windows platform, the main window and its message loop.
#include <windows.h>

#include "client/win32/client_window.h"
#include "platform/profile_api.h"
#include "platform/win32/win32_adapters.h"
#include "platform/win32/win32_datagrams.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_process.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_system.h"
#include "platform/win32/win32_system_directory.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  // Tolvik runs elevated: before anything else loads, DLLs come from Windows' own folder only.
  KeepDllSearchToSystemDirectory();
  Win32RegistryApi registry;
  Win32AdapterApi adapters;
  Win32ProcessApi processes;
  Win32FileApi files;
  Win32SystemApi system;
  Win32DatagramApi datagrams;
  Win32ClientWindow window(instance);
  ClientPlatform platform{SystemProfileApi(), registry, adapters, processes, files, system, window,
                          datagrams};
  // While a child runs, the window goes on answering (its buttons wait for the run to end).
  processes.whileWaiting = [](void* context) {
    static_cast<Win32ClientWindow*>(context)->ProcessPendingMessages();
  };
  processes.waitingContext = &window;
  if (!window.Create(&platform)) return 1;
  return window.RunMessageLoop(showCommand);
}
