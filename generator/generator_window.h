// Brevane's window behind its buttons, free of Windows: the window operations the handlers need
// (GeneratorWindowApi) and the handlers themselves; the controls are in generator_window_model.h.
#pragma once

#include <string>
#include <vector>

#include "common/list_file.h"
#include "generator/generator_window_model.h"
#include "generator/list_model.h"
#include "platform/collation_api.h"
#include "platform/file_api.h"
#include "platform/profile_api.h"

// What the handlers need of Brevane's window; the Win32 window and the tests' recorder implement it.
class GeneratorWindowApi {
 public:
  virtual ~GeneratorWindowApi() = default;
  // Shows the open-file dialog, in which several files of one server may be chosen; false when
  // the user cancels it.
  virtual bool ChooseLogFiles(std::vector<std::string>* paths) = 0;
  virtual std::string FieldText(int control) = 0;      // as typed
  virtual bool IsOptionSelected(int control) = 0;      // an option button or the check box
  virtual void SetControlEnabled(int control, bool enabled) = 0;
  virtual void ShowRows(const ListModel& model) = 0;   // the list shows exactly these rows
  virtual int SelectedRow() = 0;                       // the first selected row, -1 for none
  virtual bool IsRowSelected(int index) = 0;
  // Selects that row alone, scrolled into view if asked; -1 clears the selection.
  virtual void SelectRow(int index, bool scrollIntoView) = 0;
  // A message box owned by the active window, with a warning icon and an OK button.
  virtual void ShowMessage(const std::string& caption, const std::string& text) = 0;
  virtual void PostCloseRequest() = 0;                 // posts WM_CLOSE, never sends it
};

// The Windows operations Brevane's handlers reach.
struct GeneratorPlatform {
  GeneratorWindowApi& window;
  FileApi& files;
  ProfileApi& profile;
  CollationApi& collation;
};

// "打开文件": asks for a log (or several files of one server, read one after the other),
// replaces the rows with one row per machine, enables "生成列表" when at least one row exists;
// a file that gives no row is answered by a message naming the files the import reads.
// A cancelled dialog changes nothing. Rows read from a lease file of dnsmasq, ISC dhcpd or Kea
// are followed by a message: such a file keeps no order of first lease.
void ImportDhcpLog(GeneratorPlatform& platform, ListModel& model);

// The files the open-file dialog returns in its buffer: one full path, or (several chosen) the
// folder, then each name, NUL-separated and ended by two NULs.
std::vector<std::string> SplitChosenFiles(const std::vector<char>& buffer);

// "生成列表": names and addresses from the fields; enables "保存退出" once the first row has an IP.
// A start address from which the rows' last numbers would pass 255 is refused with a message
// that says how many machines fit, and the rows stay as they were.
void GenerateRows(GeneratorPlatform& platform, ListModel& model);

// Delete on the list, or its context menu's "删除所选行": removes the selected rows (devices that
// are not part of the batch) with RemoveRows and selects the row that took the first one's
// place. Names and addresses stay until the next "生成列表" numbers the remaining rows anew.
void RemoveSelectedRows(GeneratorPlatform& platform, ListModel& model);

// "保存退出": writes program directory + "mac.ini" from the fields and the rows in display
// order, then posts a close request. A save that fails shows why and keeps the window open.
void SaveAndExit(GeneratorPlatform& platform, const ListModel& model);

// The message of a failed save: the file's path and the reason.
std::string SaveFailureText(const std::string& path, SaveProblem problem);

// The membership options: the workgroup field against the domain, user name and password.
void SelectWorkgroup(GeneratorWindowApi& window);
void SelectDomain(GeneratorWindowApi& window);

// A click on a column heading: sorts the rows (direction flips) and shows them.
void SortByHeading(GeneratorPlatform& platform, ListModel& model, int column);
