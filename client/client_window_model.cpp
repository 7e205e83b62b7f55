// Tolvik's main window as data: the control table and the rules the Win32 window follows.
#include "client/client_window_model.h"

#include <algorithm>

#include "client/client_texts.h"

namespace {

namespace t = client_texts;

// Gap between the check glyph and the caption, and room around the caption for the focus frame.
constexpr int kCheckCaptionGap = 4;
constexpr int kFocusMargin = 2;

const std::array<ControlInfo, kControlCount> kControls = {{
    {kRowApplyNow, ControlKind::PushButton, 0, t::kApplyNowButton, 240, 206, 85, 25, false},
    {kRowAddToStartup, ControlKind::PushButton, 0, t::kAddToStartupButton, 240, 235, 85, 25, false},
    {kRowInfoGroup, ControlKind::GroupBox, 0, t::kInfoGroup, 8, 8, 321, 193, false},
    {kRowInfoText, ControlKind::InfoText, kRowInfoGroup, t::kCheckingConfiguration, 4, 24, 313, 165,
     false},
    {kRowExit, ControlKind::PushButton, 0, t::kExitButton, 240, 299, 85, 25, false},
    {kRowStartupGroup, ControlKind::GroupBox, 0, t::kStartupGroup, 8, 208, 225, 113, false},
    {kRowAddressLabel, ControlKind::Label, kRowStartupGroup, t::kAddressLabel, 10, 80, 0, 0, false},
    {kRowAutoApplyCheck, ControlKind::CheckBox, kRowStartupGroup, t::kAutoApplyCheck, 8, 16, 0, 0,
     true},
    {kRowDeleteAfterwardsCheck, ControlKind::CheckBox, kRowStartupGroup, t::kDeleteAfterwardsCheck,
     8, 48, 0, 0, true},
    {kRowRestartAfterwardsCheck, ControlKind::CheckBox, kRowStartupGroup,
     t::kRestartAfterwardsCheck, 112, 16, 0, 0, true},
    {kRowAddressBox, ControlKind::AddressBox, kRowStartupGroup, "", 120, 75, 94, 0, false},
    {kRowFetchFromNetworkCheck, ControlKind::CheckBox, kRowStartupGroup, t::kFetchFromNetworkCheck,
     112, 48, 0, 0, true},
    {kRowFetch, ControlKind::PushButton, 0, t::kFetchButton, 240, 264, 85, 25, false},
}};

}  // namespace

const std::array<ControlInfo, kControlCount>& ClientControls() { return kControls; }

const ControlInfo& ControlByRow(int row) { return kControls.at(static_cast<size_t>(row - 1)); }

Size ControlSize(const ControlInfo& control, const CaptionMetrics& metrics) {
  if (control.width > 0 && control.height > 0) return {control.width, control.height};
  if (control.width > 0) return {control.width, kAddressBoxHeight};
  switch (control.kind) {
    case ControlKind::CheckBox:
      return {metrics.checkGlyph.width + kCheckCaptionGap + metrics.text.width + kFocusMargin,
              std::max(metrics.text.height, metrics.checkGlyph.height) + 2 * kFocusMargin};
    default:
      return metrics.text;
  }
}

Rect ControlRectInWindow(const ControlInfo& control, const CaptionMetrics& metrics) {
  Point boxCorner;
  if (control.parentRow != 0) {
    const ControlInfo& box = ControlByRow(control.parentRow);
    boxCorner = {box.x, box.y};
  }
  return PlaceInWindow({control.x, control.y}, ControlSize(control, metrics), boxCorner);
}

bool IsRefusedWindowsVersion(uint32_t version) {
  if ((version & 0x80000000u) == 0) return false;  // NT family
  uint32_t major = version & 0xFFu;
  uint32_t minor = (version >> 8) & 0xFFu;
  if (major == 4) return minor < 90;
  return major > 4;
}

int RowOfOption(StartupOption option) {
  switch (option) {
    case StartupOption::AutoApply: return kRowAutoApplyCheck;
    case StartupOption::DeleteAfterwards: return kRowDeleteAfterwardsCheck;
    case StartupOption::RestartAfterwards: return kRowRestartAfterwardsCheck;
    case StartupOption::FetchFromNetwork: return kRowFetchFromNetworkCheck;
  }
  return 0;
}

KeyAction ActionForKey(int virtualKey, int focusRow) {
  if (virtualKey == kVirtualKeyEscape) return KeyAction::PressExit;
  if (virtualKey != kVirtualKeyReturn) return KeyAction::PassOn;
  if (focusRow >= 1 && focusRow <= kControlCount && focusRow != kRowApplyNow) {
    ControlKind kind = ControlByRow(focusRow).kind;
    if (kind == ControlKind::PushButton || kind == ControlKind::CheckBox) return KeyAction::Swallow;
  }
  return KeyAction::PressApply;
}
