// Tolvik's main window on Windows: builds the controls, routes their events and serves the logic.
#pragma once

#include <windows.h>
// winuser.h makes ExitWindows a two-argument macro; SystemApi has a method of that name.
#undef ExitWindows

#include <array>
#include <string>

#include "client/client_platform.h"
#include "client/client_state.h"
#include "client/client_window_model.h"

class Win32ClientWindow : public ClientWindowApi {
 public:
  explicit Win32ClientWindow(HINSTANCE instance);
  ~Win32ClientWindow() override;
  Win32ClientWindow(const Win32ClientWindow&) = delete;
  Win32ClientWindow& operator=(const Win32ClientWindow&) = delete;

  // Builds the window and its controls and ends with the first run of the main flow.
  // platform.window must be this object. False when the window cannot be created.
  bool Create(ClientPlatform* platform);

  // Shows the window (unless the help switch hid it) and runs the messages until it has closed.
  int RunMessageLoop(int showCommand);

  HWND Handle() const { return hwnd_; }  // null once the window has closed

  // Every message of the window, from WM_NCCREATE on (the window procedure's target).
  LRESULT HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  // ClientWindowApi.
  void SetInfoText(const std::string& text) override;
  std::string InfoText() override;
  void ShowAndBringToFront() override;
  void ProcessPendingMessages() override;
  void PostCloseRequest() override;
  bool IsClosePending() override;
  void Hide() override;
  void ShowHelpBox(const std::string& text) override;
  void InstallIconAndAboutItem() override;
  bool IsOptionTicked(StartupOption option) override;
  std::string AddressBoxText() override;

 private:
  void CreateControls();
  HWND Control(int row) const { return controls_[static_cast<size_t>(row)]; }
  void PressRow(int row);  // as a click would, while the button is enabled and visible
  int RowOfWindow(HWND hwnd) const;
  // Enter and Esc, which no dialog manager handles for this window. True when consumed.
  bool HandleKey(const MSG& msg);
  void Dispatch(MSG* msg);
  void OnButton(int row);
  void OnClose();
  void ReleaseHeldClose();

  HINSTANCE instance_;
  HWND hwnd_ = nullptr;
  std::array<HWND, kControlCount + 1> controls_{};  // by row; [0] unused
  HFONT font_ = nullptr;
  HICON bigIcon_ = nullptr;
  HICON smallIcon_ = nullptr;
  HWND lastFocus_ = nullptr;
  bool hidden_ = false;
  int busy_ = 0;                              // depth of running button handlers
  bool closeHeld_ = false;                    // a close request arrived while a handler ran
  ClientPlatform* platform_ = nullptr;
  ClientState state_;
};
