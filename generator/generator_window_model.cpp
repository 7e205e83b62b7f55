// Brevane's main window as data: the control table and the rules the Win32 window follows.
#include "generator/generator_window_model.h"

#include <algorithm>

#include "generator/generator_texts.h"

namespace brevane_window {

namespace {

namespace ids = brevane_controls;
namespace t = generator_texts;

// An option button or check box: the square, the gap before the caption, the caption; at least
// as tall as the square's line.
constexpr int kGlyphCaptionGap = 6;
constexpr int kOptionMargin = 4;
constexpr int kOptionMinHeight = 17;

const std::array<ControlInfo, kControlCount> kControls = {{
    {ids::kOpenFile, ControlKind::Button, 0, t::kOpenFileButton, 8, 536, 80, 25, 0},
    {ids::kNameGroup, ControlKind::Group, 0, t::kNameGroup, 264, 376, 249, 145, 0},
    {ids::kPrefixLabel, ControlKind::Label, ids::kNameGroup, t::kPrefixLabel, 44, 87, 0, 0, 0},
    {ids::kSuffixLabel, ControlKind::Label, ids::kNameGroup, t::kSuffixLabel, 44, 119, 0, 0, 0},
    {ids::kFirstNumberLabel, ControlKind::Label, ids::kNameGroup, t::kFirstNumberLabel, 20, 23, 0,
     0, 0},
    {ids::kDigitsLabel, ControlKind::Label, ids::kNameGroup, t::kDigitsLabel, 68, 55, 0, 0, 0},
    {ids::kFirstNumberArrows, ControlKind::Arrows, ids::kNameGroup, "", 0, 0, 0, 0, 0},
    {ids::kDigitsArrows, ControlKind::Arrows, ids::kNameGroup, "", 0, 0, 0, 0, 0},
    {ids::kFirstNumber, ControlKind::Edit, ids::kNameGroup, t::kDefaultFirstNumber, 130, 19, 55, 0,
     kDigitsOnly},
    {ids::kDigits, ControlKind::Edit, ids::kNameGroup, t::kDefaultDigits, 138, 51, 55, 0,
     kDigitsOnly | kReadOnly},
    {ids::kPrefix, ControlKind::Edit, ids::kNameGroup, t::kDefaultPrefix, 130, 83, 100, 0, 0},
    {ids::kSuffix, ControlKind::Edit, ids::kNameGroup, "", 130, 115, 100, 0, 0},
    {ids::kFormatGroup, ControlKind::Group, 0, t::kFormatGroup, 8, 432, 249, 89, 0},
    {ids::kFormatTftpd32, ControlKind::Option, ids::kFormatGroup, t::kFormatTftpd32, 17, 26, 0, 0,
     kTicked},
    {ids::kFormatWindows, ControlKind::Option, ids::kFormatGroup, t::kFormatWindows, 17, 50, 0, 0,
     0},
    {ids::kMembershipGroup, ControlKind::Group, 0, t::kMembershipGroup, 264, 216, 249, 153, 0},
    {ids::kPasswordLabel, ControlKind::Label, ids::kMembershipGroup, t::kPasswordLabel, 40, 124, 0,
     0, kStartsDisabled},
    {ids::kUsernameLabel, ControlKind::Label, ids::kMembershipGroup, t::kUsernameLabel, 40, 92, 0,
     0, kStartsDisabled},
    {ids::kWorkgroup, ControlKind::Edit, ids::kMembershipGroup, "", 72, 24, 161, 0, 0},
    {ids::kDomain, ControlKind::Edit, ids::kMembershipGroup, "", 72, 56, 161, 0, kStartsDisabled},
    {ids::kUsername, ControlKind::Edit, ids::kMembershipGroup, "", 88, 88, 145, 0,
     kStartsDisabled},
    {ids::kPassword, ControlKind::Edit, ids::kMembershipGroup, "", 88, 120, 145, 0,
     kStartsDisabled},
    {ids::kWorkgroupOption, ControlKind::Option, ids::kMembershipGroup, t::kWorkgroupOption, 8, 26,
     0, 0, kTicked},
    {ids::kDomainOption, ControlKind::Option, ids::kMembershipGroup, t::kDomainOption, 8, 58, 0, 0,
     0},
    {ids::kGenerate, ControlKind::Button, 0, t::kGenerateButton, 112, 536, 80, 25,
     kStartsDisabled},
    {ids::kSaveExit, ControlKind::Button, 0, t::kSaveExitButton, 328, 536, 80, 25,
     kStartsDisabled},
    {ids::kExit, ControlKind::Button, 0, t::kExitButton, 432, 536, 80, 25, 0},
    {ids::kList, ControlKind::List, 0, "", 2, 2, 517, 207, 0},
    {ids::kNetworkGroup, ControlKind::Group, 0, t::kNetworkGroup, 8, 216, 249, 209, 0},
    {ids::kMetricLabel, ControlKind::Label, ids::kNetworkGroup, t::kMetricLabel, 63, 117, 0, 0, 0},
    {ids::kDns1Label, ControlKind::Label, ids::kNetworkGroup, t::kDns1Label, 48, 149, 0, 0, 0},
    {ids::kDns2Label, ControlKind::Label, ids::kNetworkGroup, t::kDns2Label, 48, 181, 0, 0, 0},
    {ids::kIpStartLabel, ControlKind::Label, ids::kNetworkGroup, t::kIpStartLabel, 24, 23, 0, 0,
     0},
    {ids::kMaskLabel, ControlKind::Label, ids::kNetworkGroup, t::kMaskLabel, 51, 54, 0, 0, 0},
    {ids::kGatewayLabel, ControlKind::Label, ids::kNetworkGroup, t::kGatewayLabel, 51, 85, 0, 0,
     0},
    {ids::kMetricArrows, ControlKind::Arrows, ids::kNetworkGroup, "", 0, 0, 0, 0, 0},
    {ids::kIpStart, ControlKind::Edit, ids::kNetworkGroup, t::kDefaultIpStart, 112, 19, 121, 0, 0},
    {ids::kMask, ControlKind::Edit, ids::kNetworkGroup, t::kDefaultMask, 112, 50, 121, 0, 0},
    {ids::kGateway, ControlKind::Edit, ids::kNetworkGroup, "", 112, 81, 121, 0, 0},
    {ids::kMetric, ControlKind::Edit, ids::kNetworkGroup, t::kDefaultMetric, 112, 113, 57, 0,
     kDigitsOnly},
    {ids::kDns1, ControlKind::Edit, ids::kNetworkGroup, "", 112, 145, 121, 0, 0},
    {ids::kDns2, ControlKind::Edit, ids::kNetworkGroup, "", 112, 177, 121, 0, 0},
    // Added later, in the free space between "生成列表" and "保存退出"; unticked at start.
    {ids::kReportCheck, ControlKind::Check, 0, t::kReportCheck, 200, 540, 0, 0, 0},
}};

// Ranges and start values; the arrows write plain digits into their field.
const std::array<ArrowsInfo, 3> kArrows = {{
    {ids::kFirstNumberArrows, ids::kFirstNumber, 0, 1000, 1},
    {ids::kMetricArrows, ids::kMetric, 0, 9999, 0},
    {ids::kDigitsArrows, ids::kDigits, 1, 5, 3},
}};

const std::array<HintInfo, 8> kHints = {{
    {ids::kIpStart, t::kIpStartHint},
    {ids::kGateway, t::kGatewayHint},
    {ids::kMetric, t::kMetricHint},
    {ids::kDns1, t::kDnsHint},
    {ids::kDns2, t::kDnsHint},
    {ids::kDomain, t::kDomainHint},
    {ids::kDomainOption, t::kDomainHint},
    {ids::kSaveExit, t::kSaveExitHint},
}};

const std::array<ColumnInfo, 4> kColumns = {{
    {t::kColumnSequence, 50},
    {t::kColumnIp, 90},
    {t::kColumnComputerName, 180},
    {t::kColumnMac, 120},
}};

}  // namespace

const std::array<ControlInfo, kControlCount>& BrevaneControls() { return kControls; }

const ControlInfo* FindControl(int id) {
  const int row = id - ControlId(0);
  if (row < 1 || row > kControlCount) return nullptr;
  return &kControls[static_cast<size_t>(row - 1)];
}

bool StartsGroup(const ControlInfo& control) {
  return control.kind != ControlKind::Arrows && control.id != ids::kFormatWindows &&
         control.id != ids::kDomainOption;
}

Size ControlSize(const ControlInfo& control, const CaptionMetrics& metrics) {
  switch (control.kind) {
    case ControlKind::Label: return metrics.text;
    case ControlKind::Option:
    case ControlKind::Check:
      return {metrics.checkGlyph.width + kGlyphCaptionGap + metrics.text.width,
              std::max(metrics.text.height + kOptionMargin, kOptionMinHeight)};
    case ControlKind::Edit: return {control.width, kEditHeight};
    default: return {control.width, control.height};
  }
}

Rect ControlRectInWindow(const ControlInfo& control, const CaptionMetrics& metrics) {
  Point boxCorner;
  if (const ControlInfo* box = FindControl(control.parentId)) boxCorner = {box->x, box->y};
  return PlaceInWindow({control.x, control.y}, ControlSize(control, metrics), boxCorner);
}

const std::array<ArrowsInfo, 3>& BrevaneArrows() { return kArrows; }

const std::array<HintInfo, 8>& FieldHints() { return kHints; }

const std::array<ColumnInfo, 4>& ListColumns() { return kColumns; }

std::array<EnabledState, 6> MembershipEnabling(bool domainChosen) {
  return {{{ids::kWorkgroup, !domainChosen},
           {ids::kDomain, domainChosen},
           {ids::kUsernameLabel, domainChosen},
           {ids::kPasswordLabel, domainChosen},
           {ids::kUsername, domainChosen},
           {ids::kPassword, domainChosen}}};
}

KeyAction ActionForKey(int virtualKey, int focusId) {
  if (virtualKey == kVirtualKeyEscape) return KeyAction::PressExit;
  if (virtualKey == kVirtualKeyDelete && focusId == ids::kList) return KeyAction::RemoveRows;
  if (virtualKey != kVirtualKeyReturn) return KeyAction::PassOn;
  const ControlInfo* focus = FindControl(focusId);
  if (focus && focus->id != ids::kOpenFile &&
      (focus->kind == ControlKind::Button || focus->kind == ControlKind::Option)) {
    return KeyAction::Swallow;
  }
  return KeyAction::PressOpenFile;
}

}  // namespace brevane_window
