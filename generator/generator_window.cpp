// The handlers of Brevane's buttons, options and list headings, over GeneratorWindowApi.
#include "generator/generator_window.h"

#include <algorithm>
#include <vector>

#include "common/list_file.h"
#include "common/program_directory.h"
#include "generator/generate_list.h"
#include "generator/generator_texts.h"
#include "generator/log_import.h"

namespace ids = brevane_controls;
namespace texts = generator_texts;

void ImportDhcpLog(GeneratorPlatform& platform, ListModel& model) {
  std::vector<std::string> paths;
  if (!platform.window.ChooseLogFiles(&paths)) return;
  // The log format choice is read at each import, so a change takes effect at the next one.
  const LogFormat format = platform.window.IsOptionSelected(ids::kFormatWindows)
                               ? LogFormat::WindowsDhcpServer
                               : LogFormat::Tftpd32;
  std::string bytes;
  for (const std::string& path : paths) {
    std::string file;
    // A file that cannot be read gives no lines.
    if (platform.files.ReadWholeFile(path, &file)) AppendLogFile(&bytes, file);
  }
  ImportReport report;
  const bool hasRows = ImportLogBytes(bytes, format, model, platform.collation,
                                      SystemCodePageApi(), &report);
  platform.window.ShowRows(model);
  platform.window.SelectRow(-1, false);  // the rows are new ones
  // With no rows "生成列表" keeps whatever state it had.
  if (hasRows) platform.window.SetControlEnabled(ids::kGenerate, true);
  // An empty list without a word would leave the user guessing what went wrong.
  if (!hasRows) platform.window.ShowMessage(texts::kNoMacCaption, texts::kNoMacText);
  if (hasRows && KeepsOnlyLatestLeases(report.reader)) {
    platform.window.ShowMessage(texts::kLeaseOrderCaption, texts::kLeaseOrderNotice);
  }
}

std::vector<std::string> SplitChosenFiles(const std::vector<char>& buffer) {
  std::vector<std::string> parts;
  size_t pos = 0;
  while (pos < buffer.size() && buffer[pos] != '\0') {
    size_t end = pos;
    while (end < buffer.size() && buffer[end] != '\0') ++end;
    parts.emplace_back(buffer.data() + pos, end - pos);
    pos = end + 1;
  }
  if (parts.size() <= 1) return parts;
  std::string folder = parts[0];
  // Only a drive's root ("C:\\") ends in a backslash already; a last byte 0x5C of a longer
  // folder name may be the second byte of a GBK character.
  const bool root = folder.size() == 3 && folder[1] == ':' && folder[2] == '\\';
  if (!root) folder += '\\';
  std::vector<std::string> paths;
  for (size_t i = 1; i < parts.size(); ++i) paths.push_back(folder + parts[i]);
  return paths;
}

void GenerateRows(GeneratorPlatform& platform, ListModel& model) {
  GeneratorWindowApi& window = platform.window;
  GenerationFields fields;
  fields.prefix = window.FieldText(ids::kPrefix);
  fields.suffix = window.FieldText(ids::kSuffix);
  fields.firstNumber = window.FieldText(ids::kFirstNumber);
  fields.digits = window.FieldText(ids::kDigits);
  fields.ipStart = window.FieldText(ids::kIpStart);
  const size_t fit = MachinesThatFit(fields.ipStart);
  if (model.rows.size() > fit) {
    window.ShowMessage(texts::kTooManyMachinesCaption,
                       texts::kTooManyMachinesBefore + fields.ipStart + texts::kTooManyMachinesFit +
                           std::to_string(fit) + texts::kTooManyMachinesRows +
                           std::to_string(model.rows.size()) + texts::kTooManyMachinesAfter);
    return;
  }
  // The rows keep their places, so the selected one stays selected, and the list stays scrolled
  // where the user left it, even with the selected row out of view.
  const int selected = window.SelectedRow();
  const bool enableSave = GenerateList(model, fields);
  window.ShowRows(model);
  window.SelectRow(selected, false);
  // Once enabled, "保存退出" stays enabled: it is never disabled here.
  if (enableSave) window.SetControlEnabled(ids::kSaveExit, true);
}

void RemoveSelectedRows(GeneratorPlatform& platform, ListModel& model) {
  const int first = platform.window.SelectedRow();
  if (first < 0) return;
  std::vector<char> removed(model.rows.size(), 0);
  for (size_t i = 0; i < removed.size(); ++i) {
    removed[i] = platform.window.IsRowSelected(static_cast<int>(i)) ? 1 : 0;
  }
  RemoveRows(model, removed);
  platform.window.ShowRows(model);
  // The next row takes the place and the selection, scrolled into view, as in Explorer.
  platform.window.SelectRow(std::min(first, static_cast<int>(model.rows.size()) - 1), true);
}

void SaveAndExit(GeneratorPlatform& platform, const ListModel& model) {
  GeneratorWindowApi& window = platform.window;
  ListFields fields;
  fields.gateway = window.FieldText(ids::kGateway);
  fields.metric = window.FieldText(ids::kMetric);
  fields.mask = window.FieldText(ids::kMask);
  fields.dns1 = window.FieldText(ids::kDns1);
  fields.dns2 = window.FieldText(ids::kDns2);
  fields.membership = window.IsOptionSelected(ids::kDomainOption) ? MembershipChoice::Domain
                                                                  : MembershipChoice::Workgroup;
  fields.workgroup = window.FieldText(ids::kWorkgroup);
  fields.domain = window.FieldText(ids::kDomain);
  fields.username = window.FieldText(ids::kUsername);
  fields.password = window.FieldText(ids::kPassword);
  // Ticked, every PC puts its report on the TFTP server its list came from.
  if (window.IsOptionSelected(ids::kReportCheck)) fields.report = "tftp";

  std::vector<ListEntry> rows;
  rows.reserve(model.rows.size());
  for (const ListRow& row : model.rows) {
    rows.push_back(ListEntry{row.cells[kColumnMac], row.cells[kColumnIp],
                             row.cells[kColumnComputerName]});
  }
  const std::string path =
      ProgramDirectory(platform.files.ModulePath()) + kListFileName;
  // Only a save that replaced the file closes the window; otherwise every field and row stays
  // so that the user can remove the cause and save again.
  const SaveProblem problem = WriteListFile(platform.profile, platform.files, path, fields, rows);
  if (problem != SaveProblem::None) {
    window.ShowMessage(texts::kSaveFailedCaption, SaveFailureText(path, problem));
    return;
  }
  window.PostCloseRequest();
}

std::string SaveFailureText(const std::string& path, SaveProblem problem) {
  const char* reason = texts::kSaveReplaceRefused;
  switch (problem) {
    case SaveProblem::PathTooLong: reason = texts::kSavePathTooLong; break;
    case SaveProblem::TargetIsDirectory: reason = texts::kSaveTargetIsDirectory; break;
    case SaveProblem::TemporaryNotCreated: reason = texts::kSaveTemporaryNotCreated; break;
    case SaveProblem::WriteFailed: reason = texts::kSaveWriteFailed; break;
    case SaveProblem::ReplaceRefused:
    case SaveProblem::None: break;
  }
  return texts::kSaveFailedBefore + path + reason + texts::kSaveFailedAfter;
}

namespace {

void ApplyMembershipChoice(GeneratorWindowApi& window, bool domainChosen) {
  for (const brevane_window::EnabledState& state :
       brevane_window::MembershipEnabling(domainChosen)) {
    window.SetControlEnabled(state.control, state.enabled);
  }
}

}  // namespace

void SelectWorkgroup(GeneratorWindowApi& window) { ApplyMembershipChoice(window, false); }

void SelectDomain(GeneratorWindowApi& window) { ApplyMembershipChoice(window, true); }

void SortByHeading(GeneratorPlatform& platform, ListModel& model, int column) {
  if (column < 0 || column > kColumnMac) return;
  // The selected row moves with the sort and stays selected, as in a list view's own sort.
  const int selected = platform.window.SelectedRow();
  size_t followed = selected < 0 ? static_cast<size_t>(-1) : static_cast<size_t>(selected);
  SortByColumn(model, column, platform.collation, &followed);
  platform.window.ShowRows(model);
  platform.window.SelectRow(selected < 0 ? -1 : static_cast<int>(followed), true);
}
