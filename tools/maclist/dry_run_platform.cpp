// The dry-run platform: reads come from the given files, changes become lines of the plan.
#include "tools/maclist/dry_run_platform.h"

#include "common/list_file.h"
#include "common/program_directory.h"
#include "common/text_rules.h"
#include "platform/system_files.h"
#include "tools/maclist/maclist_texts.h"

namespace {

namespace t = maclist_texts;

// The PC's paths compare as Windows compares them: without regard to letter case.
bool SamePath(const std::string& a, const std::string& b) { return EqualsIgnoringAsciiCase(a, b); }

class DryRunFiles : public FileApi {
 public:
  DryRunFiles(const DryRunSetup& setup, PlanRecord& record) : setup_(setup), record_(record) {}

  std::string ModulePath() override { return setup_.programPath; }
  // The list is there (it was given); icd.ini only when given; any other file, such as the ICD
  // client's settings file, is taken to exist, so the plan shows what would be written to it.
  bool IsExistingFile(const std::string& path) override {
    const std::string directory = ProgramDirectory(setup_.programPath);
    if (SamePath(path, directory + kListFileName)) return true;
    if (SamePath(path, directory + kIcdFileName)) return !setup_.icdFile.empty();
    return true;
  }
  bool IsExistingDirectory(const std::string&) override { return false; }
  bool DeleteFile(const std::string& path) override {
    record_.actions.push_back(t::kDeleteAction + path);
    return true;
  }
  bool DeleteAtNextStart(const std::string& path) override {
    record_.actions.push_back(t::kDeleteAtRestartAction + path);
    return true;
  }
  std::string TempPath() override { return setup_.tempDirectory; }
  bool ReadWholeFile(const std::string&, std::string*) override { return false; }
  bool WriteWholeFile(const std::string& path, const std::string& bytes) override {
    // A file written beside Tolvik is a fetched list: its size says enough.
    if (SamePath(ProgramDirectory(path), ProgramDirectory(setup_.programPath))) {
      record_.actions.push_back(t::kWriteFileAction + path + " (" + std::to_string(bytes.size()) +
                                t::kByteCountSuffix + ")");
      return true;
    }
    record_.actions.push_back(t::kWriteFileAction + path);
    size_t begin = 0;
    while (begin < bytes.size()) {
      size_t end = bytes.find("\r\n", begin);
      if (end == std::string::npos) end = bytes.size();
      record_.actions.push_back(t::kFileLineIndent + bytes.substr(begin, end - begin));
      begin = end + 2;
    }
    return true;
  }
  bool RenameReplacing(const std::string& from, const std::string& to) override {
    record_.actions.push_back(t::kRenameAction + from + t::kRenameArrow + to);
    return true;
  }

 private:
  const DryRunSetup& setup_;
  PlanRecord& record_;
};

// A TFTP server at whatever address Tolvik names, serving the PC's list as mac.ini and the
// given icd.ini, so that Tolvik's own client runs its whole transfer; each request is noted.
class DryRunDatagrams : public DatagramApi {
 public:
  DryRunDatagrams(const DryRunSetup& setup, PlanRecord& record) : setup_(setup), record_(record) {}

  bool Open() override {
    queue_.clear();
    served_.clear();
    return true;
  }
  bool Resolve(const std::string& host, uint32_t* address) override {
    host_ = host;
    *address = kServer;
    return true;
  }
  bool SendTo(uint32_t, uint16_t, const std::string& bytes) override {
    if (bytes.size() < 4) return true;
    const int op = Number(bytes, 0);
    if (op == 1) {
      const std::string name = bytes.substr(2, bytes.find('\0', 2) - 2);
      record_.actions.push_back(t::kOwnTftpReadAction + host_ + " " + name);
      std::string local;
      if (SamePath(name, kListFileName)) local = setup_.listFile;
      if (SamePath(name, kIcdFileName)) local = setup_.icdFile;
      if (local.empty() || !SystemFiles().ReadWholeFile(local, &served_)) {
        record_.actions.push_back(t::kNotOnServerAction);
        queue_.push_back(Packet(5, 1, ""));
        return true;
      }
      QueueBlock(1);
    } else if (op == 4) {
      const size_t acked = static_cast<size_t>(Number(bytes, 2));
      if (acked * 512 <= served_.size()) QueueBlock(static_cast<uint16_t>(acked + 1));
    } else if (op == 2) {
      // The report: taken in, block by block, and shown line by line once whole.
      const std::string name = bytes.substr(2, bytes.find('\0', 2) - 2);
      record_.actions.push_back(t::kOwnTftpWriteAction + host_ + " " + name);
      served_.clear();
      queue_.push_back(Packet(4, 0, ""));
    } else if (op == 3) {
      served_ += bytes.substr(4);
      queue_.push_back(Packet(4, static_cast<uint16_t>(Number(bytes, 2)), ""));
      if (bytes.size() - 4 < 512) {
        size_t begin = 0;
        while (begin < served_.size()) {
          size_t end = served_.find("\r\n", begin);
          if (end == std::string::npos) end = served_.size();
          record_.actions.push_back(t::kFileLineIndent + served_.substr(begin, end - begin));
          begin = end + 2;
        }
      }
    }
    return true;
  }
  ReceiveStatus Receive(uint32_t timeoutMs, Datagram* datagram) override {
    if (queue_.empty()) {
      clock_ += timeoutMs;
      return ReceiveStatus::kNothing;
    }
    datagram->address = kServer;
    datagram->port = kTransferPort;
    datagram->bytes = queue_.front();
    queue_.erase(queue_.begin());
    return ReceiveStatus::kReceived;
  }
  void Close() override {}
  uint32_t Milliseconds() override { return clock_; }

 private:
  static constexpr uint32_t kServer = 0x7F000001;
  static constexpr uint16_t kTransferPort = 50000;

  static int Number(const std::string& bytes, size_t at) {
    return (static_cast<unsigned char>(bytes[at]) << 8) | static_cast<unsigned char>(bytes[at + 1]);
  }
  static std::string Packet(uint16_t op, uint16_t number, const std::string& payload) {
    return std::string{static_cast<char>(op >> 8), static_cast<char>(op & 0xFF),
                       static_cast<char>(number >> 8), static_cast<char>(number & 0xFF)} +
           payload;
  }
  void QueueBlock(uint16_t block) {
    const size_t begin = static_cast<size_t>(block - 1) * 512;
    queue_.push_back(Packet(3, block, served_.substr(begin, 512)));
  }

  const DryRunSetup& setup_;
  PlanRecord& record_;
  std::string host_;
  std::string served_;
  std::vector<std::string> queue_;
  uint32_t clock_ = 0;
};

// Reads go to the local stand-ins of mac.ini and icd.ini; writes are noted.
class DryRunProfile : public ProfileApi {
 public:
  DryRunProfile(const DryRunSetup& setup, ProfileApi& reader, PlanRecord& record)
      : setup_(setup), reader_(reader), record_(record) {}

  std::string GetString(const std::string& section, const std::string& key,
                        const std::string& defaultValue, const std::string& path,
                        uint32_t bufferSize) override {
    const std::string local = LocalPath(path);
    if (local.empty()) return CutDefault(defaultValue, bufferSize);
    return reader_.GetString(section, key, defaultValue, local, bufferSize);
  }
  uint32_t GetSection(const std::string& section, std::vector<char>* buffer,
                      const std::string& path) override {
    const std::string local = LocalPath(path);
    if (local.empty()) {
      // A file that is not there: an empty section.
      for (char& c : *buffer) c = '\0';
      return 0;
    }
    return reader_.GetSection(section, buffer, local);
  }
  bool WriteString(const std::string& section, const std::string& key, const std::string& value,
                   const std::string& path) override {
    record_.actions.push_back(t::kWriteProfileAction + path + " [" + section + "] " + key + "=" +
                              value);
    return true;
  }

 private:
  std::string LocalPath(const std::string& path) const {
    const std::string directory = ProgramDirectory(setup_.programPath);
    if (SamePath(path, directory + kListFileName)) return setup_.listFile;
    if (SamePath(path, directory + kIcdFileName)) return setup_.icdFile;
    return std::string();
  }
  static std::string CutDefault(const std::string& text, uint32_t bufferSize) {
    if (bufferSize == 0) return std::string();
    return text.size() < bufferSize ? text : text.substr(0, bufferSize - 1);
  }

  const DryRunSetup& setup_;
  ProfileApi& reader_;
  PlanRecord& record_;
};

class DryRunRegistry : public RegistryApi {
 public:
  explicit DryRunRegistry(PlanRecord& record) : record_(record) {}
  bool ReadValue(const std::string&, const std::string&, RegistryValue*) override { return false; }
  bool WriteStringValue(const std::string& keyPath, const std::string& valueName,
                        const std::string& value) override {
    record_.actions.push_back(t::kRegistryAction + keyPath + " " + valueName + "=" + value);
    return true;
  }
  bool DeleteValue(const std::string& keyPath, const std::string& valueName) override {
    record_.actions.push_back(t::kRegistryAction + keyPath + " " + valueName + " -");
    return true;
  }

 private:
  PlanRecord& record_;
};

class DryRunAdapters : public AdapterApi {
 public:
  explicit DryRunAdapters(const DryRunSetup& setup) : setup_(setup) {}
  uint32_t GetAdaptersInfo(uint32_t* bufferSize, std::vector<AdapterRecord>* records) override {
    (void)bufferSize;
    AdapterRecord record;
    record.adapterName = t::kAdapterName;
    record.address = setup_.mac;
    records->push_back(record);
    return kErrorSuccess;
  }

 private:
  const DryRunSetup& setup_;
};

class DryRunProcesses : public ProcessApi {
 public:
  DryRunProcesses(PlanRecord& record, bool withoutTftp)
      : record_(record), withoutTftp_(withoutTftp) {}
  bool Start(const ProcessLaunch& launch, uint64_t* processId, uint32_t* startError) override {
    if (withoutTftp_ && launch.commandLine.compare(0, 5, "tftp ") == 0) {
      record_.actions.push_back(t::kCannotStartAction + launch.commandLine);
      *startError = 2;  // ERROR_FILE_NOT_FOUND
      return false;
    }
    record_.actions.push_back(t::kRunAction + launch.commandLine);
    *processId = ++started_;
    return true;
  }
  bool Wait(uint64_t, uint32_t) override { return true; }
  // The plan pictures every command succeeding.
  bool ExitCode(uint64_t, uint32_t* exitCode) override {
    *exitCode = 0;
    return true;
  }
  std::string Output(uint64_t) override { return std::string(); }
  void End(uint64_t) override {}
  void CloseHandles(uint64_t) override {}

 private:
  PlanRecord& record_;
  bool withoutTftp_;
  uint64_t started_ = 0;
};

}  // namespace

std::string NetJoinDomainCall(const DomainJoinRequest& request) {
  const auto argument = [](const std::string& text) {
    return text.empty() ? std::string(t::kNullArgument) : "\"" + text + "\"";
  };
  return t::kNetJoinDomainCall + argument(request.server) + ", " + argument(request.domain) +
         ", " + argument(request.accountOu) + ", " + argument(request.account) + ", " +
         (request.password.empty() ? t::kNullArgument : t::kMaskedPassword) + ", " +
         std::to_string(request.options) + ")";
}

namespace {

class DryRunSystem : public SystemApi {
 public:
  DryRunSystem(const DryRunSetup& setup, PlanRecord& record) : setup_(setup), record_(record) {}
  std::string CommandLine() override { return setup_.commandLine; }
  uint32_t Version() override { return setup_.windowsVersion; }
  void SetLastError(uint32_t) override {}
  uint32_t SetComputerName(const std::string& name) override {
    record_.actions.push_back(t::kSetComputerNameAction + name);
    return 0;
  }
  uint32_t SetComputerNameEx(int nameType, const std::string& name) override {
    record_.actions.push_back(t::kSetComputerNameExAction + std::to_string(nameType) + " " + name);
    return 0;
  }
  std::string EnvironmentVariable(const std::string&) override { return std::string(); }
  uint32_t TickCount() override { return 0; }
  std::string SystemDirectory() override { return t::kSystemDirectory; }
  void Sleep(uint32_t) override {}
  LocalTime Now() override { return LocalTime(); }
  std::string ComputerName(uint32_t) override { return setup_.currentName; }
  void Beep(uint32_t, uint32_t) override {}
  // The plan pictures a run with the rights it needs and with wmic present.
  bool IsAdministrator() override { return true; }
  DomainJoinOutcome JoinDomain(const DomainJoinRequest& request) override {
    record_.actions.push_back(t::kCallAction + NetJoinDomainCall(request));
    return {true, 0};
  }
  std::string AnsiOfUtf16(const std::string&) override { return std::string(); }
  // A PC of a batch in no domain yet.
  DomainMembership JoinInformation() override { return DomainMembership(); }
  bool EnablePrivilege(const std::string&, const std::string&) override { return true; }
  bool InitiateSystemShutdown(const std::string& machine, uint32_t timeoutSeconds,
                              bool forceAppsClosed, bool rebootAfterShutdown) override {
    record_.actions.push_back(t::kShutdownAction + machine + "\" " +
                              std::to_string(timeoutSeconds) + " " +
                              (forceAppsClosed ? "1" : "0") + " " +
                              (rebootAfterShutdown ? "1" : "0"));
    return true;
  }
  bool ExitWindows(uint32_t flags) override {
    record_.actions.push_back(t::kExitWindowsAction + std::to_string(flags));
    return true;
  }

 private:
  const DryRunSetup& setup_;
  PlanRecord& record_;
};

class DryRunWindow : public ClientWindowApi {
 public:
  explicit DryRunWindow(PlanRecord& record) : record_(record) {}
  void SetInfoText(const std::string& text) override { record_.infoText = text; }
  std::string InfoText() override { return record_.infoText; }
  void ShowAndBringToFront() override {}
  void ProcessPendingMessages() override {}
  void PostCloseRequest() override { record_.closeRequested = true; }
  bool IsClosePending() override { return false; }
  void Hide() override {}
  void ShowHelpBox(const std::string&) override { record_.helpShown = true; }
  void InstallIconAndAboutItem() override {}
  bool IsOptionTicked(StartupOption) override { return false; }
  std::string AddressBoxText() override { return std::string(); }

 private:
  PlanRecord& record_;
};

}  // namespace

struct DryRunPlatform::Parts {
  Parts(const DryRunSetup& s, ProfileApi& reader)
      : setup(s),
        profile(setup, reader, record),
        registry(record),
        adapters(setup),
        processes(record, setup.withoutTftp),
        files(setup, record),
        system(setup, record),
        window(record),
        datagrams(setup, record),
        platform{profile, registry, adapters, processes, files, system, window, datagrams} {}

  DryRunSetup setup;
  PlanRecord record;
  DryRunProfile profile;
  DryRunRegistry registry;
  DryRunAdapters adapters;
  DryRunProcesses processes;
  DryRunFiles files;
  DryRunSystem system;
  DryRunWindow window;
  DryRunDatagrams datagrams;
  ClientPlatform platform;
};

DryRunPlatform::DryRunPlatform(const DryRunSetup& setup, ProfileApi& reader)
    : parts_(new Parts(setup, reader)) {}

DryRunPlatform::~DryRunPlatform() { delete parts_; }

ClientPlatform& DryRunPlatform::platform() { return parts_->platform; }

PlanRecord& DryRunPlatform::record() { return parts_->record; }

DryRunSetup& DryRunPlatform::setup() { return parts_->setup; }
