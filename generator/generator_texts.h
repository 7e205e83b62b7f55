// Every fixed text Brevane shows or writes (UTF-8 here, GBK bytes in the program).
#pragma once

namespace generator_texts {

constexpr const char kWindowTitle[] = "Brevane V0.7";
constexpr const char kFontName[] = "Tahoma";
constexpr const char kListFontName[] = "宋体";

constexpr const char kOpenFileButton[] = "打开文件";
constexpr const char kNameGroup[] = "计算机名设置";
constexpr const char kPrefixLabel[] = "计算机名前缀:";
constexpr const char kSuffixLabel[] = "计算机名后缀:";
constexpr const char kFirstNumberLabel[] = "计算机名起始序号:";
constexpr const char kDigitsLabel[] = "序号位数:";
constexpr const char kDefaultFirstNumber[] = "1";
constexpr const char kDefaultDigits[] = "3";
constexpr const char kDefaultPrefix[] = "COMPUTER";
constexpr const char kFormatGroup[] = "DHCP 列表格式";
constexpr const char kFormatTftpd32[] = "TFTPD32";
constexpr const char kFormatWindows[] = "Windows DHCP Server";
constexpr const char kMembershipGroup[] = "工作组和域";
constexpr const char kPasswordLabel[] = "密码:";
constexpr const char kUsernameLabel[] = "用户名:";
constexpr const char kWorkgroupOption[] = "工作组:";
constexpr const char kDomainOption[] = "域:";
constexpr const char kGenerateButton[] = "生成列表";
constexpr const char kSaveExitButton[] = "保存退出";
constexpr const char kExitButton[] = "退出";
constexpr const char kNetworkGroup[] = "网络设置";
constexpr const char kReportCheck[] = "修改后回报结果";
constexpr const char kMetricLabel[] = "跃点数:";
constexpr const char kDns1Label[] = "主用 DNS:";
constexpr const char kDns2Label[] = "备用 DNS:";
constexpr const char kIpStartLabel[] = "IP 地址起始值:";
constexpr const char kMaskLabel[] = "子网掩码:";
constexpr const char kGatewayLabel[] = "默认网关:";
constexpr const char kDefaultIpStart[] = "192.168.0.1";
constexpr const char kDefaultMask[] = "255.255.255.0";
constexpr const char kDefaultMetric[] = "0";

// List columns, left to right.
constexpr const char kColumnSequence[] = "序号";
constexpr const char kColumnIp[] = "IP 地址";
constexpr const char kColumnComputerName[] = "计算机名";
constexpr const char kColumnMac[] = "MAC 地址";

// Open-file dialog filter, with "|" between the parts as the window shows them.
constexpr const char kOpenFileFilter[] =
    "列表文件 (*.txt,*.ini,*.lst)|*.txt;*.ini;*.lst|所有文件 (*.*)|*.*";

// Tooltips.
constexpr const char kIpStartHint[] = "IP 设为“DHCP”表示自动获取，留空则表示不修改 IP。";
constexpr const char kGatewayHint[] = "网关设为“NONE”表示删除网关，留空则表示不修改网关。";
constexpr const char kMetricHint[] = "设为 0 代表跃点自动计数。";
constexpr const char kDnsHint[] = "DNS 设为“DHCP”表示自动获取";
constexpr const char kDomainHint[] =
    "注意: 加入域功能暂时只对尚未加入过域的计算机有效。对已加入域的计算机暂不支持加入到工作组。";
constexpr const char kSaveExitHint[] = "在当前目录下生成 mac.ini 列表文件。";

constexpr const char kAboutMenuItem[] = "关于(&A)...";
constexpr const char kAboutCaption[] = "版本信息";
constexpr const char kAboutText[] =
    "Brevane V0.7\r\n作者: Quenby\r日期: 2007.4.25\rhttps://brevane.example.org/";

// A save that did not replace mac.ini: the file's path, then the reason; the window stays open.
constexpr const char kSaveFailedCaption[] = "保存失败";
constexpr const char kSaveFailedBefore[] = "无法保存列表文件 ";
constexpr const char kSaveFailedAfter[] = "\r\n原文件未作改动，请排除问题后再次保存。";
constexpr const char kSavePathTooLong[] = "：路径太长。";
constexpr const char kSaveTargetIsDirectory[] = "：已有同名的文件夹。";
constexpr const char kSaveTemporaryNotCreated[] = "：无法在该文件夹中创建临时文件（文件夹只读或没有写入权限）。";
constexpr const char kSaveWriteFailed[] = "：写入临时文件失败（磁盘空间不足？）。";
constexpr const char kSaveReplaceRefused[] = "：无法替换原文件（文件只读或正被其他程序使用）。";

// A generation refused because the last number of an address would pass 255:
// start value, how many machines fit from it, how many rows the list has.
constexpr const char kTooManyMachinesCaption[] = "无法生成列表";
constexpr const char kTooManyMachinesBefore[] = "从 IP 地址起始值 ";
constexpr const char kTooManyMachinesFit[] = " 起只能分配 ";
constexpr const char kTooManyMachinesRows[] = " 台计算机（地址最后一段不能超过 255），而列表中有 ";
constexpr const char kTooManyMachinesAfter[] = " 台。\r\n列表未作改动，请改小起始值。";

// After an import from a lease file of dnsmasq, ISC dhcpd or Kea, whose order is not the order
// in which the machines first took a lease.
constexpr const char kLeaseOrderCaption[] = "导入提示";
constexpr const char kLeaseOrderNotice[] =
    "租约文件只保存每个租约的最新状态，续租过的计算机已排到后面，释放的租约可能已不在文件中；要按计算机开机的顺序排列，请导入 DHCP 服务器的日志。";

// An import that gave no row: no MAC address was found, and what the import reads.
constexpr const char kNoMacCaption[] = "未找到 MAC 地址";
constexpr const char kNoMacText[] =
    "所选文件中没有找到任何 MAC 地址，列表为空。\r\n能读取的文件：TFTPD32 的 DHCP 日志；Windows DHCP Server 导出的租约列表（制表符或逗号分隔，或 PowerShell 导出的 CSV）；dnsmasq、ISC dhcpd、Kea 的日志和租约文件；每行一个 MAC 地址的文本。";

// The list's context menu: removes the selected rows (Delete does the same).
constexpr const char kRemoveRowsItem[] = "删除所选行";

// The IP start value and IP cell that mean "obtain the address automatically".
constexpr const char kDhcpKeyword[] = "DHCP";

// What the import looks for in a TFTPD32 log line (letter case as shown).
constexpr const char kTftpdReceivedMarker[] = "Rcvd DHCP";
constexpr const char kTftpdMacMarker[] = "Mac";

// Morning and afternoon as Chinese systems write them in lease expiration times.
constexpr const char kMorningMarker[] = "上午";
constexpr const char kAfternoonMarker[] = "下午";

}  // namespace generator_texts
