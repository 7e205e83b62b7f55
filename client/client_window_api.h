// What Tolvik's logic needs of its main window; the real window and the test recorder implement it.
#pragma once

#include <string>

// The four check boxes of the group "添加至启动项时运行参数".
enum class StartupOption { AutoApply, DeleteAfterwards, RestartAfterwards, FetchFromNetwork };

class ClientWindowApi {
 public:
  virtual ~ClientWindowApi() = default;

  virtual void SetInfoText(const std::string& text) = 0;   // replaces the information text
  virtual std::string InfoText() = 0;
  virtual void ShowAndBringToFront() = 0;                  // visible and in the foreground
  virtual void ProcessPendingMessages() = 0;
  virtual void PostCloseRequest() = 0;                     // posts WM_CLOSE, never sends it
  // True when a close request arrived while an operation ran and waits for it to end.
  virtual bool IsClosePending() = 0;
  virtual void Hide() = 0;
  // Message box owned by the window, the window's title as caption, OK only, no icon, foreground.
  virtual void ShowHelpBox(const std::string& text) = 0;
  // Gives the window its icon "FORM_ICON1" and appends the About item to its window menu.
  virtual void InstallIconAndAboutItem() = 0;
  virtual bool IsOptionTicked(StartupOption option) = 0;
  virtual std::string AddressBoxText() = 0;                // as typed
};
