// Brevane's main window: builds the controls, maps their events to the handlers, shows the rows.
#pragma once

#include <windows.h>

#include <string>

#include "generator/generator_window.h"
#include "generator/list_model.h"

class BrevaneWindow : public GeneratorWindowApi {
 public:
  BrevaneWindow(FileApi& files, ProfileApi& profile, CollationApi& collation);
  ~BrevaneWindow() override;
  BrevaneWindow(const BrevaneWindow&) = delete;
  BrevaneWindow& operator=(const BrevaneWindow&) = delete;

  // Builds the window and its controls (hidden); false when Windows refuses the window.
  bool Create(HINSTANCE instance);
  HWND Handle() const { return hwnd_; }

  // Enter and Esc for the whole window, before the dialog manager sees them; true when used.
  bool PreTranslateKey(const MSG& message);

  // Every message of the window, from WM_NCCREATE on (the window procedure's target).
  LRESULT HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  // GeneratorWindowApi
  bool ChooseLogFiles(std::vector<std::string>* paths) override;
  std::string FieldText(int control) override;
  bool IsOptionSelected(int control) override;
  void SetControlEnabled(int control, bool enabled) override;
  void ShowRows(const ListModel& model) override;
  int SelectedRow() override;
  bool IsRowSelected(int index) override;
  void SelectRow(int index, bool scrollIntoView) override;
  void ShowMessage(const std::string& caption, const std::string& text) override;
  void PostCloseRequest() override;

 private:
  void OnCommand(int id, int code);
  void CreateControls();
  void SetUpList(HWND list);
  void AddToolTip(int control, const char* text);
  void ShowListMenu(LPARAM at);  // the list's context menu at that screen point (-1: the keyboard)
  void Press(int id);  // as a click would, while the button is enabled and visible
  HWND Control(int id) const { return GetDlgItem(hwnd_, id); }

  GeneratorPlatform platform_;
  ListModel model_;
  HWND hwnd_ = nullptr;
  HWND tooltip_ = nullptr;
  HFONT font_ = nullptr;      // Tahoma for every control but the list
  HFONT listFont_ = nullptr;  // SimSun for the list
  HBRUSH fieldBrush_ = nullptr;
};
