// The next logon of an unattended run: the task or the Run value, and their removal.
//
// Windows deletes a RunOnce value before it runs it, and Explorer waits for each RunOnce program
// before the desktop appears; a program must not write RunOnce again while it runs (Microsoft's
// "Run and RunOnce Registry Keys" page, KB 314866). From Vista on, Run values that need
// elevation are not started at logon, so a task started at the highest run level takes their
// place. A task and a Run value stay until removed: a PC switched off during a run tries again.
#include "client/next_logon.h"

#include "client/client_texts.h"
#include "client/step_outcome.h"
#include "client/system_programs.h"
#include "common/text_rules.h"
#include "platform/code_page_api.h"

namespace t = client_texts;

namespace {

// Windows Vista is version 6.0; GetVersion keeps the major version in its lowest byte.
constexpr uint32_t kTaskSchedulerMajorVersion = 6;

// Task Scheduler schema 1.2 (Vista on), learn.microsoft.com/windows/win32/taskschd/:
// - LogonTrigger without UserId: any user's logon; the Principal's GroupId narrows it to the
//   Administrators group (LogonTrigger.UserId page);
// - with the Administrators group the task only runs at RunLevel HighestAvailable
//   (Principal.RunLevel, IPrincipal::RunLevel pages);
// - DisallowStartIfOnBatteries and StopIfGoingOnBatteries default to true, ExecutionTimeLimit to
//   three days; PT0S lets a run that waits for its network go on (settingsType page).
constexpr const char kTaskHead[] =
    "<?xml version=\"1.0\" encoding=\"UTF-16\"?>"
    "<Task version=\"1.2\" xmlns=\"http://schemas.microsoft.com/windows/2004/02/mit/task\">"
    "<Triggers><LogonTrigger><Enabled>true</Enabled></LogonTrigger></Triggers>"
    "<Principals><Principal><GroupId>S-1-5-32-544</GroupId>"
    "<RunLevel>HighestAvailable</RunLevel></Principal></Principals>"
    "<Settings><DisallowStartIfOnBatteries>false</DisallowStartIfOnBatteries>"
    "<StopIfGoingOnBatteries>false</StopIfGoingOnBatteries>"
    "<ExecutionTimeLimit>PT0S</ExecutionTimeLimit></Settings>"
    "<Actions><Exec><Command>";

std::string XmlText(const std::string& text) {
  std::string escaped;
  for (char c : text) {
    if (c == '&') escaped += "&amp;";
    else if (c == '<') escaped += "&lt;";
    else if (c == '>') escaped += "&gt;";
    else escaped += c;
  }
  return escaped;
}

// UTF-16 little-endian with its byte-order mark, as schtasks /xml reads a file.
std::string Utf16File(const std::string& ansi) {
  std::string bytes = "\xFF\xFE";
  for (char16_t unit : SystemCodePageApi().AnsiToUtf16(ansi)) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

RunResult RunSchtasks(ClientPlatform& platform, const std::string& arguments) {
  RunRequest request;
  request.arguments = arguments;
  request.showState = kSwHide;
  request.timeoutMs = kInfinite;  // schtasks' own limit applies
  return RunSystemProgram(platform, kSchtasks, request);
}

void SayNotArranged(ClientPlatform& platform, const std::string& what) {
  platform.window.SetInfoText(platform.window.InfoText() + "\r\n" + t::kNextLogonFailed + what +
                              t::kFailedLineEnd);
}

// "schtasks，错误代码 N（meaning）" for a run that failed, empty for one that succeeded.
std::string SchtasksFailure(const RunResult& run) {
  uint32_t code = run.code;
  if (run.outcome == RunOutcome::kStillRunning) code = kWaitTimeoutCode;
  if (run.outcome == RunOutcome::kEnded && code == 0) return std::string();
  std::string text = std::string(kSchtasks.commandName) + t::kErrorCode + std::to_string(code);
  const std::string meaning = MeaningOfCode(code);
  if (!meaning.empty()) text += t::kMeaningOpen + meaning + t::kMeaningClose;
  return text;
}

void CreateTask(ClientPlatform& platform, const std::string& command, const std::string& switches) {
  std::string temp = platform.files.TempPath();
  if (!temp.empty() && temp.back() != '\\') temp += '\\';
  const std::string file = temp + t::kTaskFileName;
  if (temp.empty() || !platform.files.WriteWholeFile(file, Utf16File(TaskDefinition(command, switches)))) {
    SayNotArranged(platform, file);
    return;
  }
  const std::string failure = SchtasksFailure(RunSchtasks(
      platform, std::string("/create /tn ") + t::kNextLogonName + " /xml \"" + file + "\" /f"));
  platform.files.DeleteFile(file);
  if (!failure.empty()) SayNotArranged(platform, failure);
}

}  // namespace

NextLogonAction NextLogonActionFor(uint32_t windowsVersion, bool applied) {
  if ((windowsVersion & 0xFF) >= kTaskSchedulerMajorVersion) {
    return applied ? NextLogonAction::kDeleteTask : NextLogonAction::kCreateTask;
  }
  return applied ? NextLogonAction::kDeleteRunValue : NextLogonAction::kWriteRunValue;
}

std::string CommandLineSwitches(const std::string& commandLine) {
  size_t end = 0;
  if (!commandLine.empty() && commandLine[0] == '"') {
    end = commandLine.find('"', 1);
    end = end == std::string::npos ? commandLine.size() : end + 1;
  } else {
    while (end < commandLine.size() && commandLine[end] != ' ' && commandLine[end] != '\t') ++end;
  }
  return TrimText(commandLine.substr(end));
}

std::string TaskDefinition(const std::string& command, const std::string& arguments) {
  return kTaskHead + XmlText(command) + "</Command><Arguments>" + XmlText(arguments) +
         "</Arguments></Exec></Actions></Task>";
}

void ArrangeNextLogon(ClientPlatform& platform, bool applied) {
  const std::string program = platform.files.ModulePath();
  const std::string switches = CommandLineSwitches(platform.system.CommandLine());
  switch (NextLogonActionFor(platform.system.Version(), applied)) {
    case NextLogonAction::kCreateTask:
      CreateTask(platform, program, switches);
      break;
    case NextLogonAction::kDeleteTask:
      // Whether or not a task exists: the answer does not matter.
      RunSchtasks(platform, std::string("/delete /tn ") + t::kNextLogonName + " /f");
      break;
    case NextLogonAction::kWriteRunValue:
      // Explorer neither deletes nor waits for a Run value.
      if (!platform.registry.WriteStringValue(t::kRunKey, t::kNextLogonName,
                                              "\"" + program + "\" " + switches)) {
        SayNotArranged(platform, std::string("HKLM\\") + t::kRunKey);
      }
      break;
    case NextLogonAction::kDeleteRunValue:
      platform.registry.DeleteValue(t::kRunKey, t::kNextLogonName);
      break;
  }
}
