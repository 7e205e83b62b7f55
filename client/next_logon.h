// The next logon of an unattended run that did not apply everything: a Task Scheduler task from
// Windows Vista on, the HKLM Run value on 2000 and XP; removed once a run applied everything.
#pragma once

#include <string>

#include "client/client_platform.h"

// What a run leaves for the next logon, by Windows version and by whether it applied everything.
enum class NextLogonAction { kCreateTask, kDeleteTask, kWriteRunValue, kDeleteRunValue };
NextLogonAction NextLogonActionFor(uint32_t windowsVersion, bool applied);

// The switches of a command line: what follows the program, quoted or not, trimmed.
std::string CommandLineSwitches(const std::string& commandLine);

// The task definition (ANSI text): a logon trigger for any user, the Administrators group with
// the highest run level, no battery conditions and no time limit, running command with arguments.
std::string TaskDefinition(const std::string& command, const std::string& arguments);

// Registers or removes the next logon's run as NextLogonActionFor says. A registration that
// fails adds one line under the information text; the run's outcome stays as it is.
void ArrangeNextLogon(ClientPlatform& platform, bool applied);
