// Every fixed text Tolvik shows or writes (UTF-8 here, GBK bytes in the program).
#pragma once

namespace client_texts {

constexpr const char kWindowTitle[] = "Tolvik 0.7";
constexpr const char kHelpText[] =
    "命令行参数：\r\n/?　此帮助\r\n/A　自动修改\r\n/K　修改后自删除\r\n/R　修改后重启\r\n"
    "/N　从网络获取配置\r\n/IP：获取配置IP地址";

// Lookup errors.
constexpr const char kMissingListFile[] =
    "未找到配置文件: MAC.INI\r\n请使用 /N 或 /IP 参数从网络获取配置文件";
constexpr const char kNoMatchingAdapter[] = "未找到对应网卡！";

// Change summary lines (each is followed by CR LF).
constexpr const char kSummaryComputerName[] = "计算机名将改为: ";
constexpr const char kSummaryWorkgroup[] = "工作组将改名为: ";
constexpr const char kSummaryDomain[] = "域将改名为: ";
constexpr const char kSummaryUsername[] = "用户名: ";
constexpr const char kSummaryPassword[] = "密码: ";
constexpr const char kSummaryConnectionOpen[] = "“";
constexpr const char kSummaryConnectionClose[] = "”所在网卡的配置将改为: ";
constexpr const char kSummaryIpDhcp[] = "      IP: DHCP 自动指派";
constexpr const char kSummaryIp[] = "      IP: ";
constexpr const char kSummaryMask[] = "子网掩码: ";
constexpr const char kSummaryGateway[] = "默认网关: ";
constexpr const char kSummaryGatewayDelete[] = "删除";
constexpr const char kSummaryMetricAuto[] = "  跃点数: 自动";
constexpr const char kSummaryMetric[] = "  跃点数: ";
constexpr const char kSummaryDnsDhcp[] = "     DNS: DHCP 自动指派";
constexpr const char kSummaryDns1[] = "首选 DNS: ";
constexpr const char kSummaryDns2[] = "备用 DNS: ";
constexpr const char kSummaryIcdPath[] = "ICD 安装路径:";
constexpr const char kSummaryMainCcs[] = "主用 CCS:";
constexpr const char kSummaryBackCcs[] = "备用 CCS:";
constexpr const char kSummaryAppServer[] = "应用服务器:";

// icd.ini default install path of the ICD client.
constexpr const char kDefaultIcdPath[] = "C:\\Progra~1\\HuaWei\\ICD业务3.1";
// The same folder under %ProgramFiles(x86)% and %ProgramFiles%, where the default path is not
// it: a 32-bit client on 64-bit Windows, or short names switched off.
constexpr const char kIcdFolderInProgramFiles[] = "\\HuaWei\\ICD业务3.1";

// Fetch progress (one space before 获取 for DHCP servers, two for a named address).
constexpr const char kTryingServerPrefix[] = "尝试从 ";
constexpr const char kTryingDhcpServerSuffix[] = " 获取配置文件。";
constexpr const char kTryingNamedAddressSuffix[] = "  获取配置文件。";

// Apply progress.
constexpr const char kChangingNetwork[] = "正在修改网络设置，请稍候……";
constexpr const char kChangingIp[] = "正在修改 IP 地址，请稍候……";
constexpr const char kChangingIpAndGateway[] = "正在修改 IP 地址和默认网关，请稍候……";
constexpr const char kChangingDns[] = "正在修改 DNS 地址，请稍候……";
constexpr const char kChangingComputerName[] = "正在修改计算机名，请稍候……";
constexpr const char kChangingWorkgroup[] = "正在修改工作组，请稍候……";
constexpr const char kJoiningDomain[] = "正在加入域，请稍候……";
constexpr const char kChangingIcd[] = "正在修改 ICD 配置，请稍候……";
constexpr const char kApplyFinished[] = "修改完毕。";
// Without administrator rights nothing is applied (the window stays open).
constexpr const char kNoAdministratorRights[] =
    "没有管理员权限，未做任何修改！\r\n请以管理员身份运行本程序。";
// An apply whose steps did not all succeed: the heading, then one line per failed step: what
// failed, "，无法启动 " and the program when it could not be started, the error code, its
// meaning between full-width brackets where known, and "。".
constexpr const char kApplyIncomplete[] = "修改未全部完成：";
constexpr const char kAddressFailed[] = "修改 IP 地址失败";
constexpr const char kDnsFailed[] = "修改 DNS 地址失败";
constexpr const char kComputerNameFailed[] = "修改计算机名失败";
constexpr const char kWorkgroupFailed[] = "加入工作组失败";
constexpr const char kDomainFailed[] = "加入域失败";
constexpr const char kIcdFailed[] = "修改 ICD 配置失败";
constexpr const char kCannotStart[] = "，无法启动 ";
constexpr const char kErrorCode[] = "，错误代码 ";
constexpr const char kMeaningOpen[] = "（";
constexpr const char kMeaningClose[] = "）";
constexpr const char kFailedLineEnd[] = "。";
// In those brackets, when wmic printed no ReturnValue line and nothing at all.
constexpr const char kNoWmicOutput[] = "wmic 无输出";
// What the common codes of a rename or a join mean.
constexpr const char kCodeFileNotFound[] = "系统找不到指定的文件";           // 2
constexpr const char kCodeAccessDenied[] = "拒绝访问";                       // 5
constexpr const char kCodeNetworkPathNotFound[] = "找不到网络路径";          // 53
constexpr const char kCodeInvalidParameter[] = "参数错误";                   // 87
constexpr const char kCodeInvalidComputerName[] = "计算机名格式不正确";      // 1210
constexpr const char kCodeLogonFailure[] = "用户名或密码不正确";             // 1326
// 1326 when the PC joins its account made beforehand with its one-time password.
constexpr const char kOneTimePasswordRefused[] = "一次性密码与事先建立的计算机帐户不符";
constexpr const char kCodeNoSuchDomain[] = "指定的域不存在或无法联系";       // 1355
constexpr const char kCodeAccountExists[] = "该计算机帐户已存在";            // 2224
constexpr const char kCodeAlreadyJoined[] = "该计算机已加入域";              // 2691
constexpr const char kCodeTimedOut[] = "程序未在限定时间内结束";             // 258, a child overran
// Windows 2000 and XP join a domain under the name they run as: with a new name set, the join
// waits for the restart. This text, the domain, "。".
constexpr const char kJoinAfterRestart[] = "计算机名将在重启后生效，重启后加入域 ";
// Under "修改完毕。" when the ICD client's settings file was found in none of its folders.
constexpr const char kIcdNotInstalled[] = "ICD 客户端未安装，ICD 服务器地址未修改。";

// An unattended run that found no list waits and tries again: what it waits for, then the
// seconds left and kWaitingSecondsSuffix.
constexpr const char kWaitingForAdapter[] = "未找到网卡，等待网卡就绪后重试，还剩 ";
constexpr const char kWaitingForDhcpServer[] = "未找到 DHCP 服务器，等待获取地址后重试，还剩 ";
constexpr const char kWaitingForList[] = "未能获取配置文件，稍后重试，还剩 ";
constexpr const char kWaitingSecondsSuffix[] = " 秒……";

// A report that did not reach its TFTP server: this line goes under the information text, then
// the server's address and why (the server's own error text, or that nobody answered).
constexpr const char kReportNotDelivered[] = "结果未能回报：";
constexpr const char kReportRefused[] = " 拒绝写入：";
constexpr const char kReportNoAnswer[] = " 无应答。";
constexpr const char kReportNoConnection[] = " 无法连接。";

// An unattended run whose next try could not be registered: this line goes under the
// information text, then what failed (schtasks and its code, the file or the registry key), "。".
constexpr const char kNextLogonFailed[] = "无法登记下次登录时重试：";

// Window.
constexpr const char kCheckingConfiguration[] = "检查配置，请稍候……";
constexpr const char kApplyNowButton[] = "直接修改";
constexpr const char kAddToStartupButton[] = "添加至启动项";
constexpr const char kInfoGroup[] = "信息";
constexpr const char kExitButton[] = "退出";
constexpr const char kStartupGroup[] = "添加至启动项时运行参数";
constexpr const char kAddressLabel[] = "获取配置 IP 地址:";
constexpr const char kAutoApplyCheck[] = "自动修改";
constexpr const char kDeleteAfterwardsCheck[] = "修改后自删除";
constexpr const char kRestartAfterwardsCheck[] = "修改后重启";
constexpr const char kFetchFromNetworkCheck[] = "从网络获取配置";
constexpr const char kFetchButton[] = "从网络获取";
constexpr const char kFontName[] = "宋体";
constexpr const char kAboutMenuItem[] = "关于(&A)...";
constexpr const char kAboutCaption[] = "版本信息";
constexpr const char kAboutText[] =
    "Tolvik V 0.7\r\n作者: Quenby\r日期: 2007.4.10\rhttps://tolvik.example.org/";
constexpr const char kWin9xCaption[] = "提示";
constexpr const char kWin9xRefusal[] = "此工具不支持 Win9x 系统。";

// Fixed names.
// The report's file on the TFTP server: kReportFilePrefix, the MAC text, kReportFileSuffix.
constexpr const char kReportFilePrefix[] = "tolvik-";
constexpr const char kReportFileSuffix[] = ".ini";
// A file fetched by Tolvik itself arrives under its name + this, and is renamed once whole.
constexpr const char kFetchingSuffix[] = ".tmp";
constexpr const char kRunOnceKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
constexpr const char kRunOnceValueName[] = "Tolvik";
constexpr const char kSelfDeleteBatchName[] = "$94827$.bat";
// The next logon's run: the task's name (Vista on) and the Run value's (2000, XP), and the
// task definition's file in the temporary folder while schtasks reads it.
constexpr const char kNextLogonName[] = "Tolvik";
constexpr const char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char kTaskFileName[] = "tolvik-task.xml";

}  // namespace client_texts
