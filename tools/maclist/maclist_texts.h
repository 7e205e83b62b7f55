// maclist's own fixed texts: the plan's action words and the PC it pictures by default, and the
// words of the status page.
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

// maclist status --html, the page for the administrator (GBK here, UTF-8 on the page). The
// console and the JSON keep their English words.
constexpr const char kPageTitle[] = "Tolvik 回报状态";
constexpr const char kPageTitleSeparator[] = "：";
constexpr const char kPageTrustNote[] =
    "回报由各台电脑自己写到 TFTP 服务器上，TFTP 写入不验证身份：这里显示的是电脑所报告的情况，"
    "不是证明。";
constexpr const char kColumnNumber[] = "序号";
constexpr const char kColumnName[] = "计算机名";
constexpr const char kColumnIp[] = "IP 地址";
constexpr const char kColumnMac[] = "MAC 地址";
constexpr const char kColumnState[] = "状态";
constexpr const char kColumnDetails[] = "详情";
constexpr const char kColumnTime[] = "回报时间";
// The states, in the order of the status code's MachineState.
constexpr const char kStateDone[] = "已完成";
constexpr const char kStateFailed[] = "未完成";
constexpr const char kStatePending[] = "等待重启";
constexpr const char kStateNoReport[] = "无回报";
constexpr const char kStateStale[] = "回报与列表不符";
constexpr const char kStateNotInList[] = "不在列表中";
constexpr const char kStateUnreadable[] = "回报无法读取";
constexpr const char kStateInconsistent[] = "回报自相矛盾";
constexpr const char kStateConflicting[] = "回报重复冲突";
// The summary: "已完成 48 台，未完成 1 台；回报列表中没有本机 1 台".
constexpr const char kSummaryCountSuffix[] = " 台";
constexpr const char kSummarySeparator[] = "，";
constexpr const char kSummaryNoEntry[] = "；回报列表中没有本机";

}  // namespace maclist_texts
