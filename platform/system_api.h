// System calls: command line, version, computer name, system directory, beep, restart and
// privileges.
#pragma once

#include <cstdint>
#include <string>

constexpr int kComputerNamePhysicalDnsHostname = 5;
constexpr uint32_t kEwxShutdown = 1;
constexpr uint32_t kEwxReboot = 2;
constexpr uint32_t kEwxForce = 4;
constexpr uint32_t kNetSetupJoinDomain = 1;   // NETSETUP_JOIN_DOMAIN
constexpr uint32_t kNetSetupAcctCreate = 2;   // NETSETUP_ACCT_CREATE
constexpr uint32_t kNetSetupJoinWithNewName = 0x400;  // NETSETUP_JOIN_WITH_NEW_NAME
// The join of an account made beforehand with its one-time machine password, no user account.
constexpr uint32_t kNetSetupJoinUnsecure = 0x40;        // NETSETUP_JOIN_UNSECURE
constexpr uint32_t kNetSetupMachinePwdPassed = 0x80;    // NETSETUP_MACHINE_PWD_PASSED

// The arguments of one NetJoinDomain call, texts in the ANSI code page; an empty text is passed
// as a null pointer (no server, no OU, the caller's own account).
struct DomainJoinRequest {
  std::string server;
  std::string domain;
  std::string accountOu;
  std::string account;
  std::string password;
  uint32_t options = 0;
};

// The local date and time, as GetLocalTime gives them.
struct LocalTime {
  uint16_t year = 0;
  uint16_t month = 0;
  uint16_t day = 0;
  uint16_t hour = 0;
  uint16_t minute = 0;
  uint16_t second = 0;
};

struct DomainJoinOutcome {
  bool available = false;  // netapi32.dll and its NetJoinDomain were found
  uint32_t status = 0;     // NetJoinDomain's result (0: done); else the loader's error code
};

// What NetGetJoinInformation says of this PC: whether it is a member of a domain, and that
// domain's NetBIOS name (ANSI code page). Not a member where the call is missing or fails.
struct DomainMembership {
  bool inDomain = false;
  std::string domain;
};

class SystemApi {
 public:
  virtual ~SystemApi() = default;

  virtual std::string CommandLine() = 0;                       // GetCommandLineA
  virtual uint32_t Version() = 0;                              // GetVersion
  virtual void SetLastError(uint32_t code) = 0;                // SetLastError
  // SetComputerNameA and SetComputerNameExA: 0 when Windows took the name, else its error code.
  virtual uint32_t SetComputerName(const std::string& name) = 0;
  virtual uint32_t SetComputerNameEx(int nameType, const std::string& name) = 0;
  // GetComputerNameA into a buffer of bufferSize + 1 bytes with the size given as bufferSize;
  // the text up to the first NUL (empty on failure).
  virtual std::string ComputerName(uint32_t bufferSize) = 0;
  virtual void Beep(uint32_t frequency, uint32_t durationMs) = 0;
  // GetEnvironmentVariableA; empty when the variable is not set.
  virtual std::string EnvironmentVariable(const std::string& name) = 0;
  virtual uint32_t TickCount() = 0;                            // GetTickCount, milliseconds
  // GetSystemDirectoryA: Windows' own programs and DLLs, and the only folder Tolvik starts or
  // loads them from. Empty when Windows cannot say.
  virtual std::string SystemDirectory() = 0;
  virtual void Sleep(uint32_t milliseconds) = 0;               // Sleep
  virtual LocalTime Now() = 0;                                 // GetLocalTime

  // Whether this process's token holds the built-in Administrators group (CheckTokenMembership).
  // True where Windows offers no such check: Windows 95 and 98 know no rights.
  virtual bool IsAdministrator() = 0;
  // NetJoinDomain from netapi32.dll, looked up at run time (NT only; missing on Windows 98).
  virtual DomainJoinOutcome JoinDomain(const DomainJoinRequest& request) = 0;
  // UTF-16 little-endian bytes (an odd last byte ignored) in the ANSI code page, as
  // WideCharToMultiByte(CP_ACP) gives them: GBK on the target PCs.
  virtual std::string AnsiOfUtf16(const std::string& bytes) = 0;
  // NetGetJoinInformation for this computer, looked up at run time like NetJoinDomain.
  virtual DomainMembership JoinInformation() = 0;

  // Restart support. EnablePrivilege opens this process's token (TOKEN_ADJUST_PRIVILEGES |
  // TOKEN_QUERY), looks the privilege up on machine and enables it; false when the look-up fails.
  virtual bool EnablePrivilege(const std::string& machine, const std::string& privilege) = 0;
  virtual bool InitiateSystemShutdown(const std::string& machine, uint32_t timeoutSeconds,
                                      bool forceAppsClosed, bool rebootAfterShutdown) = 0;
  virtual bool ExitWindows(uint32_t flags) = 0;                // ExitWindowsEx(flags, 0)
};
