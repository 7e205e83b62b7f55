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

// Runs "schtasks VERB Tolvik MORE /f"; empty when it ended with 0, else
// "schtasks，错误代码 N（…）".
std::string RunSchtasks(ClientPlatform& platform, const char* verb, const std::string& more) {
  RunRequest request;
  request.arguments = verb;
  request.arguments += t::kNextLogonName;
  request.arguments += more;
  request.arguments += " /f";
  request.showState = kSwHide;
  request.timeoutMs = kInfinite;  // schtasks' own limit applies
  const RunResult run = RunSystemProgram(platform, kSchtasks, request);
  std::string failure;
  if (run.outcome != RunOutcome::kEnded || run.code != 0) {
    failure = kSchtasks.commandName;
    failure += CodeText(run.outcome == RunOutcome::kStillRunning ? kWaitTimeoutCode : run.code);
  }
  return failure;
}

// The Run value, or the task: its definition in the temporary folder while schtasks reads it
// (UTF-16 LE with a byte-order mark, as schtasks /xml wants). Empty when done, else what failed.
std::string Register(ClientPlatform& platform, bool task, const std::string& program,
                     const std::string& switches) {
  if (!task) {
    // Explorer neither deletes nor waits for a Run value.
    std::string command = "\"" + program;
    command += "\" ";
    command += switches;
    return platform.registry.WriteStringValue(t::kRunKey, t::kNextLogonName, command)
               ? std::string()
               : std::string(t::kRunKey);
  }
  std::string file = platform.files.TempPath();
  if (!file.empty() && file.back() != '\\') file += '\\';
  file += t::kTaskFileName;
  const bool noTempFolder = file.size() == sizeof t::kTaskFileName - 1;
  if (noTempFolder || !platform.files.WriteWholeFile(
                          file, "\xFF\xFE" + AnsiToUtf16LeBytes(TaskDefinition(program, switches)))) {
    return file;
  }
  const std::string failure = RunSchtasks(platform, "/create /tn ", " /xml \"" + file + "\"");
  platform.files.DeleteFile(file);
  return failure;
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
  std::string text = kTaskHead;
  text += XmlText(command);
  text += "</Command><Arguments>";
  text += XmlText(arguments);
  text += "</Arguments></Exec></Actions></Task>";
  return text;
}

void ArrangeNextLogon(ClientPlatform& platform, bool applied) {
  const bool task = NextLogonActionFor(platform.system.Version(), false) == NextLogonAction::kCreateTask;
  if (applied) {
    // Whether or not there is one: the answer does not matter.
    if (task) RunSchtasks(platform, "/delete /tn ", std::string());
    else platform.registry.DeleteValue(t::kRunKey, t::kNextLogonName);
    return;
  }
  const std::string failure = Register(platform, task, platform.files.ModulePath(),
                                       CommandLineSwitches(platform.system.CommandLine()));
  if (failure.empty()) return;
  std::string info = platform.window.InfoText();
  info += "\r\n";
  info += t::kNextLogonFailed;
  info += failure;
  info += t::kFailedLineEnd;
  platform.window.SetInfoText(info);
}
