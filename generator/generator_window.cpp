// The handlers of Brevane's buttons, options and list headings, over GeneratorWindowApi.
#include "generator/generator_window.h"

#include <vector>

#include "common/list_file.h"
#include "common/program_directory.h"
#include "generator/generate_list.h"
#include "generator/generator_texts.h"
#include "generator/log_import.h"

namespace ids = brevane_controls;

void ImportDhcpLog(GeneratorPlatform& platform, ListModel& model) {
  std::string path;
  if (!platform.window.ChooseLogFile(&path)) return;
  // The log format choice is read at each import, so a change takes effect at the next one.
  const LogFormat format = platform.window.IsOptionSelected(ids::kFormatWindows)
                               ? LogFormat::WindowsDhcpServer
                               : LogFormat::Tftpd32;
  std::string bytes;
  // A file that cannot be read gives no lines, and so an empty list.
  if (!platform.files.ReadWholeFile(path, &bytes)) bytes.clear();
  const bool hasRows = ImportLogBytes(bytes, format, model, platform.collation);
  platform.window.ShowRows(model);
  // With no rows "生成列表" keeps whatever state it had.
  if (hasRows) platform.window.SetControlEnabled(ids::kGenerate, true);
}

void GenerateRows(GeneratorPlatform& platform, ListModel& model) {
  GeneratorWindowApi& window = platform.window;
  GenerationFields fields;
  fields.prefix = window.FieldText(ids::kPrefix);
  fields.suffix = window.FieldText(ids::kSuffix);
  fields.firstNumber = window.FieldText(ids::kFirstNumber);
  fields.digits = window.FieldText(ids::kDigits);
  fields.ipStart = window.FieldText(ids::kIpStart);
  const bool enableSave = GenerateList(model, fields);
  window.ShowRows(model);
  // Once enabled, "保存退出" stays enabled: it is never disabled here.
  if (enableSave) window.SetControlEnabled(ids::kSaveExit, true);
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

  std::vector<ListEntry> rows;
  rows.reserve(model.rows.size());
  for (const ListRow& row : model.rows) {
    rows.push_back(ListEntry{row.cells[kColumnMac], row.cells[kColumnIp],
                             row.cells[kColumnComputerName]});
  }
  const std::string path =
      ProgramDirectory(platform.files.ModulePath()) + generator_texts::kListFileName;
  // Nothing is reported: a failed write leaves the file missing or stale and the window closes.
  WriteListFile(platform.profile, platform.files, path, fields, rows);
  window.PostCloseRequest();
}

void SelectWorkgroup(GeneratorWindowApi& window) {
  window.SetControlEnabled(ids::kWorkgroup, true);
  window.SetControlEnabled(ids::kDomain, false);
  window.SetControlEnabled(ids::kUsernameLabel, false);
  window.SetControlEnabled(ids::kPasswordLabel, false);
  window.SetControlEnabled(ids::kUsername, false);
  window.SetControlEnabled(ids::kPassword, false);
}

void SelectDomain(GeneratorWindowApi& window) {
  window.SetControlEnabled(ids::kWorkgroup, false);
  window.SetControlEnabled(ids::kDomain, true);
  window.SetControlEnabled(ids::kUsernameLabel, true);
  window.SetControlEnabled(ids::kPasswordLabel, true);
  window.SetControlEnabled(ids::kUsername, true);
  window.SetControlEnabled(ids::kPassword, true);
}

void SortByHeading(GeneratorPlatform& platform, ListModel& model, int column) {
  if (column < 0 || column > kColumnMac) return;
  SortByColumn(model, column, platform.collation);
  platform.window.ShowRows(model);
}

bool EnterPressesOpenFile(FocusKind focus) {
  return focus != FocusKind::OtherButton && focus != FocusKind::OptionButton;
}
