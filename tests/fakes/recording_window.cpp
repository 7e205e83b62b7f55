// RecordingWindow: keeps the information text and the visible state like the real window.
#include "tests/fakes/recording_window.h"

void RecordingWindow::SetInfoText(const std::string& text) {
  log_.Add("SetInfoText(" + text + ")");
  infoText = text;
  infoTexts.push_back(text);
}

std::string RecordingWindow::InfoText() {
  log_.Add("InfoText()");
  return infoText;
}

void RecordingWindow::ShowAndBringToFront() {
  log_.Add("ShowAndBringToFront()");
  visible = true;
}

void RecordingWindow::ProcessPendingMessages() {
  log_.Add("ProcessPendingMessages()");
  if (onProcessPendingMessages) onProcessPendingMessages();
}

void RecordingWindow::PostCloseRequest() {
  log_.Add("PostCloseRequest()");
  ++closeRequests;
}

bool RecordingWindow::IsClosePending() { return closePending; }

void RecordingWindow::Hide() {
  log_.Add("Hide()");
  visible = false;
}

void RecordingWindow::ShowHelpBox(const std::string& text) {
  log_.Add("ShowHelpBox(" + text + ")");
  helpBoxes.push_back(text);
}

void RecordingWindow::InstallIconAndAboutItem() {
  log_.Add("InstallIconAndAboutItem()");
  ++iconInstalls;
}

bool RecordingWindow::IsOptionTicked(StartupOption option) {
  log_.Add(std::string("IsOptionTicked(") + OptionName(option) + ")");
  return ticked.count(option) != 0;
}

std::string RecordingWindow::AddressBoxText() {
  log_.Add("AddressBoxText()");
  return addressBox;
}

const char* RecordingWindow::OptionName(StartupOption option) {
  switch (option) {
    case StartupOption::AutoApply: return "AutoApply";
    case StartupOption::DeleteAfterwards: return "DeleteAfterwards";
    case StartupOption::RestartAfterwards: return "RestartAfterwards";
    case StartupOption::FetchFromNetwork: return "FetchFromNetwork";
  }
  return "?";
}
