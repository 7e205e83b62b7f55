// ProcessApi on Windows. The handles of each started child are kept until CloseHandles.
#include "platform/win32/win32_process.h"

#include <windows.h>

#include <vector>

namespace {

// More than any tool Tolvik starts prints; a child that writes more is still read to its end so
// that it never blocks on a full pipe, but the rest is not kept.
constexpr size_t kOutputLimit = 64 * 1024;
// How long one wait for the child lasts between two reads of its pipe.
constexpr DWORD kPipeReadIntervalMs = 50;

void CloseIfOpen(HANDLE handle) {
  if (handle != nullptr && handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
}

// An inheritable copy of handle for the child. DuplicateHandle rather than
// SetHandleInformation, which Windows 95 and 98 do not have.
HANDLE InheritableCopy(HANDLE handle) {
  HANDLE copy = nullptr;
  if (!DuplicateHandle(GetCurrentProcess(), handle, GetCurrentProcess(), &copy, 0, TRUE,
                       DUPLICATE_SAME_ACCESS)) {
    return nullptr;
  }
  return copy;
}

}  // namespace

Win32ProcessApi::~Win32ProcessApi() {
  for (auto& entry : open_) {
    CloseHandle(entry.second.process);
    CloseHandle(entry.second.thread);
    CloseIfOpen(entry.second.outputPipe);
  }
}

bool Win32ProcessApi::Start(const ProcessLaunch& launch, uint64_t* processId,
                            uint32_t* startError) {
  // CreateProcessA may write into the command line, so it gets a copy of its own.
  std::vector<char> commandLine(launch.commandLine.begin(), launch.commandLine.end());
  commandLine.push_back('\0');

  STARTUPINFOA startup;
  ZeroMemory(&startup, sizeof startup);
  startup.cb = sizeof startup;
  startup.dwFlags = launch.startupFlags;
  startup.wShowWindow = launch.showWindow;

  // With captured output the child inherits exactly three handles: the NUL device as its input
  // and the write end of one pipe as its output and error. Our read end stays ours alone.
  HANDLE pipeRead = nullptr;
  HANDLE pipeWrite = nullptr;
  HANDLE childOutput = nullptr;
  HANDLE childInput = INVALID_HANDLE_VALUE;
  if (launch.captureOutput) {
    SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
    if (!CreatePipe(&pipeRead, &pipeWrite, nullptr, 0)) {
      *startError = GetLastError();
      return false;
    }
    childOutput = InheritableCopy(pipeWrite);
    CloseHandle(pipeWrite);
    childInput = CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable,
                             OPEN_EXISTING, 0, nullptr);
    if (childOutput == nullptr || childInput == INVALID_HANDLE_VALUE) {
      *startError = GetLastError();
      CloseIfOpen(pipeRead);
      CloseIfOpen(childOutput);
      CloseIfOpen(childInput);
      return false;
    }
    startup.dwFlags |= STARTF_USESTDHANDLES;
    startup.hStdInput = childInput;
    startup.hStdOutput = childOutput;
    startup.hStdError = childOutput;
  }

  PROCESS_INFORMATION info;
  ZeroMemory(&info, sizeof info);
  const char* application = launch.applicationName.empty() ? nullptr : launch.applicationName.c_str();
  const char* directory = launch.workingDirectory.empty() ? nullptr : launch.workingDirectory.c_str();
  const BOOL started = CreateProcessA(application, commandLine.data(), nullptr, nullptr,
                                      launch.captureOutput ? TRUE : FALSE, launch.creationFlags,
                                      nullptr, directory, &startup, &info);
  const DWORD error = GetLastError();
  // The child holds its own copies now; ours would keep the pipe from ever reporting its end.
  CloseIfOpen(childOutput);
  CloseIfOpen(childInput);
  if (!started) {
    CloseIfOpen(pipeRead);
    *startError = error;
    return false;
  }
  *processId = info.dwProcessId;
  open_[info.dwProcessId] = Handles{info.hProcess, info.hThread, pipeRead, std::string()};
  return true;
}

void Win32ProcessApi::ReadAvailableOutput(Handles& handles) {
  if (handles.outputPipe == nullptr) return;
  char buffer[4096];
  for (;;) {
    DWORD available = 0;
    if (!PeekNamedPipe(handles.outputPipe, nullptr, 0, nullptr, &available, nullptr) ||
        available == 0) {
      return;
    }
    DWORD read = 0;
    const DWORD wanted = available < sizeof buffer ? available : sizeof buffer;
    if (!ReadFile(handles.outputPipe, buffer, wanted, &read, nullptr) || read == 0) return;
    const size_t room = kOutputLimit - handles.output.size();
    handles.output.append(buffer, read < room ? read : room);
  }
}

bool Win32ProcessApi::WaitHandlingMessages(void* process, uint32_t timeoutMs) {
  const DWORD begin = GetTickCount();
  for (;;) {
    DWORD left = INFINITE;
    if (timeoutMs != INFINITE) {
      const DWORD elapsed = GetTickCount() - begin;
      left = elapsed >= timeoutMs ? 0 : timeoutMs - elapsed;
    }
    if (whileWaiting == nullptr) return WaitForSingleObject(process, left) == WAIT_OBJECT_0;
    // Wakes for the process's end or for any message of this thread's windows.
    const DWORD result = MsgWaitForMultipleObjects(1, &process, FALSE, left, QS_ALLINPUT);
    if (result == WAIT_OBJECT_0) return true;
    if (result != WAIT_OBJECT_0 + 1) return false;  // time up, or the wait failed
    whileWaiting(waitingContext);
  }
}

bool Win32ProcessApi::Wait(uint64_t processId, uint32_t timeoutMs) {
  auto found = open_.find(processId);
  if (found == open_.end()) return false;
  // A map keeps its elements in place while others come and go.
  Handles& handles = found->second;
  if (handles.outputPipe == nullptr) return WaitHandlingMessages(handles.process, timeoutMs);
  // The pipe is read while the child runs: a child whose output fills the pipe's buffer would
  // otherwise wait for us as we wait for it.
  const DWORD begin = GetTickCount();
  for (;;) {
    ReadAvailableOutput(handles);
    DWORD slice = kPipeReadIntervalMs;
    if (timeoutMs != INFINITE) {
      const DWORD elapsed = GetTickCount() - begin;
      const DWORD left = elapsed >= timeoutMs ? 0 : timeoutMs - elapsed;
      if (left < slice) slice = left;
    }
    if (WaitHandlingMessages(handles.process, slice)) {
      ReadAvailableOutput(handles);
      return true;
    }
    if (WaitForSingleObject(handles.process, 0) == WAIT_FAILED) return false;
    if (timeoutMs != INFINITE && GetTickCount() - begin >= timeoutMs) return false;
  }
}

bool Win32ProcessApi::ExitCode(uint64_t processId, uint32_t* exitCode) {
  auto found = open_.find(processId);
  if (found == open_.end()) {
    *exitCode = ERROR_INVALID_HANDLE;
    return false;
  }
  DWORD code = 0;
  // Called once Wait has seen the end, so 259 (STILL_ACTIVE) is the child's own exit code.
  // https://learn.microsoft.com/windows/win32/api/processthreadsapi/nf-processthreadsapi-getexitcodeprocess
  if (!GetExitCodeProcess(found->second.process, &code)) {
    const DWORD error = GetLastError();
    *exitCode = error != 0 ? error : ERROR_INVALID_HANDLE;
    return false;
  }
  *exitCode = code;
  return true;
}

void Win32ProcessApi::End(uint64_t processId) {
  auto found = open_.find(processId);
  if (found != open_.end()) TerminateProcess(found->second.process, WAIT_TIMEOUT);
}

std::string Win32ProcessApi::Output(uint64_t processId) {
  auto found = open_.find(processId);
  return found == open_.end() ? std::string() : found->second.output;
}

void Win32ProcessApi::CloseHandles(uint64_t processId) {
  auto found = open_.find(processId);
  if (found == open_.end()) return;
  // Closing the handles never ends the child; a child still running goes on by itself.
  CloseHandle(found->second.process);
  CloseHandle(found->second.thread);
  CloseIfOpen(found->second.outputPipe);
  open_.erase(found);
}
