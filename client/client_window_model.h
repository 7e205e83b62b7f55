// Tolvik's main window as data: its controls, their places, the keyboard rules and the version check.
#pragma once

#include <array>
#include <cstdint>

#include "client/client_window_api.h"
#include "common/window_layout.h"

enum class ControlKind { PushButton, GroupBox, InfoText, Label, CheckBox, AddressBox };

// Rows of the control table, in creation order; the control ID is 1000 + the row.
enum ControlRow : int {
  kRowApplyNow = 1,
  kRowAddToStartup = 2,
  kRowInfoGroup = 3,
  kRowInfoText = 4,
  kRowExit = 5,
  kRowStartupGroup = 6,
  kRowAddressLabel = 7,
  kRowAutoApplyCheck = 8,
  kRowDeleteAfterwardsCheck = 9,
  kRowRestartAfterwardsCheck = 10,
  kRowAddressBox = 11,
  kRowFetchFromNetworkCheck = 12,
  kRowFetch = 13,
};

constexpr int kControlCount = 13;
constexpr int kControlIdBase = 1000;
constexpr int ClientControlId(int row) { return kControlIdBase + row; }

constexpr int kClientWidth = 337;
constexpr int kClientHeight = 334;
constexpr int kAddressBoxHeight = 22;   // a single-line edit box's default height

// The window font: SimSun, height -12, GB2312 character set, variable pitch.
constexpr int kFontHeight = -12;
constexpr int kFontCharset = 134;

struct ControlInfo {
  int row;
  ControlKind kind;
  int parentRow;        // 0: the window; otherwise the group box the position is relative to
  const char* caption;  // initial text (GBK at run time)
  int x, y;             // top-left corner in the parent's client area
  int width, height;    // 0 x 0: sized to the caption; height 0 alone: the kind's default height
  bool ticked;          // check boxes start ticked
};

// The 13 controls in creation order (index = row - 1).
const std::array<ControlInfo, kControlCount>& ClientControls();
const ControlInfo& ControlByRow(int row);

// The size a control is given: the table's size, or the one its caption needs.
Size ControlSize(const ControlInfo& control, const CaptionMetrics& metrics);

// The control's place in the window's client area (group box children are offset by their box).
Rect ControlRectInWindow(const ControlInfo& control, const CaptionMetrics& metrics);

// GetVersion's value says Windows 95 or 98: the top bit set, and major 4 with a minor below 90,
// or a major above 4. Windows ME (4.90 on), Windows 3.x and the NT family pass.
bool IsRefusedWindowsVersion(uint32_t version);

// The row of the check box that stands for a start-up switch.
int RowOfOption(StartupOption option);

constexpr int kVirtualKeyReturn = 0x0D;
constexpr int kVirtualKeyEscape = 0x1B;

enum class KeyAction { PassOn, Swallow, PressApply, PressExit };

// What a key press does, given the row of the control that has the focus (0: the window itself
// or nothing of ours). Enter presses "直接修改" unless the focus is on another button or a check
// box, where it does nothing; Esc presses "退出" wherever the focus is.
KeyAction ActionForKey(int virtualKey, int focusRow);
