// RecordingWindow: Tolvik's main window as the logic sees it, with every call recorded.
#pragma once

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "client/client_window_api.h"
#include "tests/fakes/call_log.h"

// Log entries: "SetInfoText(<text>)", "InfoText()", "ShowAndBringToFront()",
// "ProcessPendingMessages()", "PostCloseRequest()", "Hide()", "ShowHelpBox(<text>)",
// "InstallIconAndAboutItem()", "IsOptionTicked(<AutoApply|DeleteAfterwards|...>)",
// "AddressBoxText()".
class RecordingWindow : public ClientWindowApi {
 public:
  explicit RecordingWindow(CallLog& log) : log_(log) {}

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

  static const char* OptionName(StartupOption option);

  // As the window starts: all four boxes ticked, the address box empty.
  std::set<StartupOption> ticked = {StartupOption::AutoApply, StartupOption::DeleteAfterwards,
                                    StartupOption::RestartAfterwards,
                                    StartupOption::FetchFromNetwork};
  std::string addressBox;
  // Runs at each ProcessPendingMessages, e.g. to model a click queued meanwhile.
  std::function<void()> onProcessPendingMessages;

  std::string infoText;
  std::vector<std::string> infoTexts;  // every text set, in order
  std::vector<std::string> helpBoxes;
  bool visible = false;
  int closeRequests = 0;
  bool closePending = false;  // what IsClosePending answers (not logged)
  int iconInstalls = 0;

 private:
  CallLog& log_;
};
