// maclist's own fixed texts: the plan's action words and the PC it pictures by default.
#pragma once

#include <cstdint>

namespace maclist_texts {

// The PC the plan pictures when no option says otherwise.
constexpr const char kDefaultConnection[] = "本地连接";  // Windows' first LAN connection name
constexpr const char kDefaultProgramPath[] = "C:\\Tolvik\\Tolvik.exe";
constexpr const char kDefaultTempDirectory[] = "C:\\WINDOWS\\TEMP\\";
constexpr const char kDefaultCurrentName[] = "%COMPUTERNAME%";
constexpr const char kAdapterName[] = "{00000000-0000-0000-0000-000000000000}";
// GetVersion of each Windows the plan can picture (--windows): the major version in the lowest
// byte, the minor in the next, the build above. Windows 8.1 to 11 report 6.2 to a program that
// does not declare them in its manifest.
struct WindowsVersionName {
  const char* name;
  uint32_t version;
};
constexpr WindowsVersionName kWindowsVersions[] = {
    {"2000", 0x08930005}, {"xp", 0x0A280105}, {"vista", 0x17710006}, {"7", 0x1DB10106},
    {"8", 0x23F00206},    {"10", 0x23F00206}, {"11", 0x23F00206},
};
constexpr const char kDefaultWindows[] = "10";
// The system directory the plan pictures: Tolvik starts netsh, wmic, tftp and cmd from there.
constexpr const char kSystemDirectory[] = "C:\\WINDOWS\\system32";

// One line of the plan per action, in the order Tolvik takes them.
constexpr const char kRunAction[] = "run: ";
constexpr const char kCannotStartAction[] = "cannot start: ";
constexpr const char kOwnTftpReadAction[] = "read over TFTP by Tolvik itself: ";
constexpr const char kNotOnServerAction[] = "    not on the server: nothing written";
constexpr const char kOwnTftpWriteAction[] = "put over TFTP by Tolvik itself: ";
constexpr const char kRenameAction[] = "rename: ";
constexpr const char kRenameArrow[] = " -> ";
constexpr const char kByteCountSuffix[] = " bytes";
constexpr const char kWmicRunAction[] = "run: wmic ";
// Follows the wmic line: the call Tolvik makes instead on a PC where wmic cannot be started.
constexpr const char kJoinFallbackAction[] = "    where wmic is missing: ";
// A NetJoinDomain call: its arguments in order, texts between double quotes, a missing one as
// NULL, a password as kMaskedPassword.
constexpr const char kNetJoinDomainCall[] = "NetJoinDomain(";
constexpr const char kNullArgument[] = "NULL";
constexpr const char kMaskedPassword[] = "\"***\"";
constexpr const char kCallAction[] = "call: ";
// Follows a domain join: the join options the other Windows versions get.
constexpr const char kOlderWindowsJoinOptions[] = "    on Windows 2000 and XP: FJoinOptions=";
constexpr const char kOlderWindowsJoinWhen[] = ", once a restart has put a new name in effect";
constexpr const char kNewerWindowsJoinOptions[] = "    on Windows Vista and later: FJoinOptions=";
// Windows 2000 and XP with a new name: what the first pass shows, then the second pass.
constexpr const char kShowsAction[] = "shows: ";
constexpr const char kSecondPass[] = "after the restart, running as ";
constexpr const char kSetComputerNameAction[] = "call: SetComputerNameA ";
constexpr const char kSetComputerNameExAction[] = "call: SetComputerNameExA ";
constexpr const char kWriteProfileAction[] = "write: ";
constexpr const char kWriteFileAction[] = "write file: ";
constexpr const char kFileLineIndent[] = "    ";
constexpr const char kDeleteAction[] = "delete: ";
constexpr const char kDeleteAtRestartAction[] = "delete at restart: ";
constexpr const char kRegistryAction[] = "registry: HKEY_LOCAL_MACHINE\\";
constexpr const char kShutdownAction[] = "restart: InitiateSystemShutdownA \"";
constexpr const char kExitWindowsAction[] = "restart: ExitWindowsEx ";

}  // namespace maclist_texts
