// Tests of Win32ProcessApi under Windows (Wine): start, wait, timeout, working directory.
#include "platform/win32/win32_process.h"

#include "client/finishing.h"
#include "client/run_and_wait.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_system_directory.h"

#include <windows.h>

#include <gtest/gtest.h>

// <windows.h> maps DeleteFile to DeleteFileA; the interface's method keeps its own name.
#undef DeleteFile

namespace {

std::string TempDirectory() {
  char buffer[MAX_PATH + 1] = {};
  GetTempPathA(sizeof buffer, buffer);
  return buffer;
}

struct RunCase {
  const char* name;
  std::string program;
  std::string arguments;
  uint32_t timeoutMs;
  bool expected;
};

TEST(Win32ProcessApi, RunAndWaitReportsEndAndFailureToStart) {
  const RunCase cases[] = {
      {"ends", "cmd", "/c exit 3", 20000, true},  // the exit code is never looked at
      {"no such program", "tolvik-no-such-program-9", "x", 20000, false},
      {"no such quoted path", "C:\\no such dir\\x.exe", "", 20000, false},
  };
  Win32ProcessApi processes;
  for (const RunCase& c : cases) {
    EXPECT_EQ(RunAndWait(processes, c.program, c.arguments, "", SW_HIDE, c.timeoutMs), c.expected)
        << c.name;
  }
}

TEST(Win32ProcessApi, RunsTheChildInTheGivenDirectory) {
  Win32FileApi files;
  const std::string directory = TempDirectory() + "tolvik run dir\\";
  CreateDirectoryA(directory.c_str(), nullptr);
  const std::string marker = directory + "here.txt";
  files.DeleteFile(marker);
  Win32ProcessApi processes;
  ASSERT_TRUE(RunAndWait(processes, "cmd", "/c echo x> here.txt", directory, SW_HIDE, 20000));
  EXPECT_TRUE(files.IsExistingFile(marker));
  files.DeleteFile(marker);
  RemoveDirectoryA(directory.c_str());
}

// A child that runs for 20 s whatever its input (this test program in its sleeping role, see
// tests/unit_main.cpp): the wait times out, the child is left running (the test ends it itself).
TEST(Win32ProcessApi, TimeoutLeavesTheChildRunning) {
  Win32ProcessApi processes;
  Win32FileApi files;
  ProcessLaunch launch;
  launch.commandLine = FormCommandLine(files.ModulePath(), "--sleep-ms 20000");
  launch.creationFlags = kCreateNewConsole | kCreateNoWindow;
  launch.startupFlags = kStartfUseShowWindow;
  launch.showWindow = kSwHide;
  uint64_t id = 0;
  uint32_t startError = 0;
  ASSERT_TRUE(processes.Start(launch, &id, &startError));
  EXPECT_FALSE(processes.Wait(id, 300));
  processes.CloseHandles(id);
  HANDLE child = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, static_cast<DWORD>(id));
  ASSERT_NE(child, nullptr) << "the child ended with its handles";
  EXPECT_EQ(WaitForSingleObject(child, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  TerminateProcess(child, 0);
  CloseHandle(child);
}

// The self-delete batch file as Tolvik starts it, cmd.exe from the system directory with the
// file's path on its command line, in a folder whose name would split or confuse cmd unquoted.
TEST(Win32ProcessApi, SelfDeleteLaunchRunsTheBatchFileInAFolderWithSpacesAndBrackets) {
  Win32FileApi files;
  const std::string directory = TempDirectory() + "tolvik (del) & dir\\";
  CreateDirectoryA(directory.c_str(), nullptr);
  const std::string batch = directory + "$94827$.bat";
  const std::string marker = directory + "ran.txt";
  files.DeleteFile(marker);
  ASSERT_TRUE(files.WriteWholeFile(batch, "echo x> \"" + marker + "\"\r\n"));
  ProcessLaunch launch = SelfDeleteLaunch(Win32SystemDirectory(), batch);
  launch.creationFlags |= kCreateNoWindow;
  Win32ProcessApi processes;
  uint64_t id = 0;
  uint32_t startError = 0;
  ASSERT_TRUE(processes.Start(launch, &id, &startError)) << launch.applicationName << " " << startError;
  EXPECT_TRUE(processes.Wait(id, 20000));
  processes.CloseHandles(id);
  EXPECT_TRUE(files.IsExistingFile(marker)) << launch.commandLine;
  files.DeleteFile(marker);
  files.DeleteFile(batch);
  RemoveDirectoryA(directory.c_str());
}

// wmic's outcome is in what it prints; a child that prints more than a pipe holds must still end.
TEST(Win32ProcessApi, CapturesWhatTheChildPrintsAndItsExitCode) {
  Win32ProcessApi processes;
  RunRequest request;
  request.program = "cmd";
  request.arguments = "/c echo ReturnValue = 1326;& exit 3";
  request.showState = SW_HIDE;
  request.timeoutMs = 20000;
  request.captureOutput = true;
  RunResult result = StartAndWait(processes, request);
  EXPECT_EQ(result.outcome, RunOutcome::kEnded);
  EXPECT_EQ(result.code, 3u);
  EXPECT_NE(result.output.find("ReturnValue = 1326;"), std::string::npos) << result.output;

  request.arguments = "/c for /L %i in (1,1,2500) do @echo 0123456789012345678901234567890123456789";
  result = StartAndWait(processes, request);
  EXPECT_EQ(result.outcome, RunOutcome::kEnded);
  EXPECT_EQ(result.output.size(), 64u * 1024);  // read to the end, kept up to the limit

  request.program = "tolvik-no-such-program-9";
  result = StartAndWait(processes, request);
  EXPECT_EQ(result.outcome, RunOutcome::kNotStarted);
  EXPECT_EQ(result.code, static_cast<uint32_t>(ERROR_FILE_NOT_FOUND));
}

// The runner's own answers: a message is handled while a child runs, 259 is a child's code like
// any other, and a child that overran is ended on request.
TEST(Win32ProcessApi, HandlesMessagesWhileWaitingTakesEveryExitCodeAndEndsALateChild) {
  Win32ProcessApi processes;
  Win32FileApi files;
  int handled = 0;
  processes.whileWaiting = [](void* context) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ++*static_cast<int*>(context);
  };
  processes.waitingContext = &handled;
  RunRequest request;
  request.program = "cmd";
  request.arguments = "/c exit 259";
  request.showState = SW_HIDE;
  request.timeoutMs = 20000;
  RunResult result = StartAndWait(processes, request);
  EXPECT_EQ(result.outcome, RunOutcome::kEnded);
  EXPECT_EQ(result.code, 259u);  // STILL_ACTIVE's value, but the child has ended

  ProcessLaunch launch;
  launch.commandLine = FormCommandLine(files.ModulePath(), "--sleep-ms 20000");
  launch.creationFlags = kCreateNewConsole | kCreateNoWindow;
  uint64_t id = 0;
  uint32_t startError = 0;
  ASSERT_TRUE(processes.Start(launch, &id, &startError));
  PostThreadMessageA(GetCurrentThreadId(), WM_USER, 0, 0);
  EXPECT_FALSE(processes.Wait(id, 500));
  EXPECT_GE(handled, 1) << "the posted message waited for the child";
  processes.End(id);
  EXPECT_TRUE(processes.Wait(id, 5000)) << "the late child was not ended";
  processes.CloseHandles(id);
}

}  // namespace
