// Brevane's main window as data: its controls, their places, the arrows, hints and list columns,
// the keyboard rule and the enabling rule of the membership choice.
#pragma once

#include <array>

#include "common/window_layout.h"

// Every control has the stable id 1000 + its row in the control table (rows count from 1 in
// creation order), so a test program can find it with GetDlgItem.
constexpr int ControlId(int row) { return 1000 + row; }

namespace brevane_controls {
constexpr int kOpenFile = ControlId(1);
constexpr int kNameGroup = ControlId(2);
constexpr int kPrefixLabel = ControlId(3);
constexpr int kSuffixLabel = ControlId(4);
constexpr int kFirstNumberLabel = ControlId(5);
constexpr int kDigitsLabel = ControlId(6);
constexpr int kFirstNumberArrows = ControlId(7);
constexpr int kDigitsArrows = ControlId(8);
constexpr int kFirstNumber = ControlId(9);
constexpr int kDigits = ControlId(10);
constexpr int kPrefix = ControlId(11);
constexpr int kSuffix = ControlId(12);
constexpr int kFormatGroup = ControlId(13);
constexpr int kFormatTftpd32 = ControlId(14);
constexpr int kFormatWindows = ControlId(15);
constexpr int kMembershipGroup = ControlId(16);
constexpr int kPasswordLabel = ControlId(17);
constexpr int kUsernameLabel = ControlId(18);
constexpr int kWorkgroup = ControlId(19);
constexpr int kDomain = ControlId(20);
constexpr int kUsername = ControlId(21);
constexpr int kPassword = ControlId(22);
constexpr int kWorkgroupOption = ControlId(23);
constexpr int kDomainOption = ControlId(24);
constexpr int kGenerate = ControlId(25);
constexpr int kSaveExit = ControlId(26);
constexpr int kExit = ControlId(27);
constexpr int kList = ControlId(28);
constexpr int kNetworkGroup = ControlId(29);
constexpr int kMetricLabel = ControlId(30);
constexpr int kDns1Label = ControlId(31);
constexpr int kDns2Label = ControlId(32);
constexpr int kIpStartLabel = ControlId(33);
constexpr int kMaskLabel = ControlId(34);
constexpr int kGatewayLabel = ControlId(35);
constexpr int kMetricArrows = ControlId(36);
constexpr int kIpStart = ControlId(37);
constexpr int kMask = ControlId(38);
constexpr int kGateway = ControlId(39);
constexpr int kMetric = ControlId(40);
constexpr int kDns1 = ControlId(41);
constexpr int kDns2 = ControlId(42);
constexpr int kReportCheck = ControlId(43);
}  // namespace brevane_controls

namespace brevane_window {

constexpr int kControlCount = 43;
constexpr int kClientWidth = 521;
constexpr int kClientHeight = 573;
constexpr int kEditHeight = 22;  // the default height of a single-line edit box

enum class ControlKind { Button, Group, Label, Arrows, Edit, Option, Check, List };

// Options of a control.
constexpr unsigned kDigitsOnly = 1;      // an edit box that refuses other characters
constexpr unsigned kReadOnly = 2;        // an edit box changed only by its arrows
constexpr unsigned kStartsDisabled = 4;
constexpr unsigned kTicked = 8;          // an option button chosen at start

struct ControlInfo {
  int id;
  ControlKind kind;
  int parentId;         // 0: the window; otherwise the group box the position is relative to
  const char* caption;  // initial text (GBK at run time)
  int x, y;             // top-left corner in the parent's client area
  int width, height;    // labels, options and the check box take their caption's size; edit
                        // boxes the default height
  unsigned options;
};

// The 43 controls in creation order (index = row - 1).
const std::array<ControlInfo, kControlCount>& BrevaneControls();
// The control of that id; nullptr for an id that is not one of the table's.
const ControlInfo* FindControl(int id);

// Every control starts a group of its own except the second option of each pair and the arrows,
// so the option buttons clear their partner and no other control.
bool StartsGroup(const ControlInfo& control);

// The size a control is given: the table's size, or the one its caption needs.
Size ControlSize(const ControlInfo& control, const CaptionMetrics& metrics);

// The control's place in the window's client area (group box children are offset by their box).
Rect ControlRectInWindow(const ControlInfo& control, const CaptionMetrics& metrics);

// Up-down arrows attached to the right edge of their field, in the order they are attached.
struct ArrowsInfo {
  int arrows, field;
  int low, high, value;
};
const std::array<ArrowsInfo, 3>& BrevaneArrows();

// The eight controls with a hint, in the order the hints are added.
struct HintInfo {
  int control;
  const char* text;
};
const std::array<HintInfo, 8>& FieldHints();

// The list's columns, left to right.
struct ColumnInfo {
  const char* heading;
  int width;
};
const std::array<ColumnInfo, 4>& ListColumns();

// The membership choice enables one side and disables the other: the workgroup field against
// the domain, user name and password with their labels; the texts stay as they are.
struct EnabledState {
  int control;
  bool enabled;
};
std::array<EnabledState, 6> MembershipEnabling(bool domainChosen);

constexpr int kVirtualKeyReturn = 0x0D;
constexpr int kVirtualKeyEscape = 0x1B;
constexpr int kVirtualKeyDelete = 0x2E;

// The command of the list's context menu item "删除所选行" (1025 is the About item).
constexpr int kRemoveRowsCommand = 1026;

enum class KeyAction { PassOn, Swallow, PressOpenFile, PressExit, RemoveRows };

// What a key press does, given the id of the control that has the focus (0: none of ours).
// Enter presses "打开文件" unless the focus is on another button or an option button, where it
// does nothing; Esc presses "退出" wherever the focus is; Delete on the list removes the selected
// rows (in a field it stays the field's own key).
KeyAction ActionForKey(int virtualKey, int focusId);

}  // namespace brevane_window
