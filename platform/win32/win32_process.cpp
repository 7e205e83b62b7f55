// ProcessApi on Windows. The handles of each started child are kept until CloseHandles.
#include "platform/win32/win32_process.h"

#include <windows.h>

#include <vector>

Win32ProcessApi::~Win32ProcessApi() {
  for (auto& entry : open_) {
    CloseHandle(entry.second.process);
    CloseHandle(entry.second.thread);
  }
}

bool Win32ProcessApi::Start(const ProcessLaunch& launch, uint64_t* processId) {
  // CreateProcessA may write into the command line, so it gets a copy of its own.
  std::vector<char> commandLine(launch.commandLine.begin(), launch.commandLine.end());
  commandLine.push_back('\0');

  STARTUPINFOA startup;
  ZeroMemory(&startup, sizeof startup);
  startup.cb = sizeof startup;
  startup.dwFlags = launch.startupFlags;
  startup.wShowWindow = launch.showWindow;

  PROCESS_INFORMATION info;
  ZeroMemory(&info, sizeof info);
  const char* directory = launch.workingDirectory.empty() ? nullptr : launch.workingDirectory.c_str();
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, launch.creationFlags,
                      nullptr, directory, &startup, &info)) {
    return false;
  }
  *processId = info.dwProcessId;
  open_[info.dwProcessId] = Handles{info.hProcess, info.hThread};
  return true;
}

bool Win32ProcessApi::Wait(uint64_t processId, uint32_t timeoutMs) {
  auto found = open_.find(processId);
  if (found == open_.end()) return false;
  return WaitForSingleObject(found->second.process, timeoutMs) == WAIT_OBJECT_0;
}

void Win32ProcessApi::CloseHandles(uint64_t processId) {
  auto found = open_.find(processId);
  if (found == open_.end()) return;
  // Closing the handles never ends the child; a child still running goes on by itself.
  CloseHandle(found->second.process);
  CloseHandle(found->second.thread);
  open_.erase(found);
}
