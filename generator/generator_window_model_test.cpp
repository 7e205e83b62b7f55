// Tests of Brevane's window data: ids in row order, room for every control, start states against
// the membership rule, Enter/Esc routing.
#include "generator/generator_window_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/hex_bytes.h"
#include "tests/layout_checks.h"

namespace {

namespace ids = brevane_controls;
using namespace brevane_window;

TEST(BrevaneWindowTable, IdsFollowTheRowsAndEveryParentIsAGroupBox) {
  int row = 0;
  for (const ControlInfo& control : BrevaneControls()) {
    ++row;
    EXPECT_EQ(control.id, ControlId(row)) << "row " << row;
    EXPECT_EQ(FindControl(control.id), &control) << "row " << row;
    if (control.parentId != 0) {
      ASSERT_NE(FindControl(control.parentId), nullptr) << "row " << row;
      EXPECT_EQ(FindControl(control.parentId)->kind, ControlKind::Group) << "row " << row;
    }
  }
  EXPECT_EQ(FindControl(ControlId(0)), nullptr);
  EXPECT_EQ(FindControl(ControlId(kControlCount + 1)), nullptr);
  EXPECT_EQ(FindControl(0), nullptr);
}

TEST(BrevaneWindowLayout, WithTheWindowFontNothingOverlapsOrLeavesItsBox) {
  // The check glyph as Windows draws it at 96 and at 120 dots per inch; text 14 and 16 high.
  for (int glyph : {13, 16}) {
    std::vector<Rect> rects;
    for (const ControlInfo& control : BrevaneControls()) {
      CaptionMetrics metrics{{TwelvePixelWidth(control.caption), glyph == 13 ? 14 : 16},
                             {glyph, glyph}};
      rects.push_back(ControlRectInWindow(control, metrics));
    }
    for (size_t i = 0; i < rects.size(); ++i) {
      const ControlInfo& control = BrevaneControls()[i];
      // The arrows take their place beside their field once attached.
      if (control.kind == ControlKind::Arrows) continue;
      const Rect& r = rects[i];
      SCOPED_TRACE("glyph " + std::to_string(glyph) + " id " + std::to_string(control.id) +
                   " caption " + HexBytes(control.caption));
      EXPECT_GT(r.width, 0);
      EXPECT_GT(r.height, 0);
      EXPECT_GE(r.x, 0);
      EXPECT_GE(r.y, 0);
      EXPECT_LE(r.Right(), kClientWidth);
      EXPECT_LE(r.Bottom(), kClientHeight);
      if (control.parentId != 0) {
        // Inside the frame of its box, below the box's caption.
        const Rect& box = rects[static_cast<size_t>(control.parentId - ControlId(1))];
        EXPECT_GE(r.x, box.x + 2);
        EXPECT_LE(r.Right(), box.Right() - 2);
        EXPECT_GE(r.y, box.y + 12);
        EXPECT_LE(r.Bottom(), box.Bottom() - 2);
      }
      if (control.kind == ControlKind::Group) continue;
      for (size_t j = i + 1; j < rects.size(); ++j) {
        const ControlKind other = BrevaneControls()[j].kind;
        if (other == ControlKind::Group || other == ControlKind::Arrows) continue;
        EXPECT_FALSE(Overlap(r, rects[j])) << "overlaps id " << BrevaneControls()[j].id;
      }
    }
  }
}

TEST(BrevaneWindowLayout, StartStatesAreTheWorkgroupChoice) {
  // At start the workgroup is chosen: the controls the rule greys start disabled, and besides
  // them only "生成列表" and "保存退出".
  std::vector<int> expected = {ids::kGenerate, ids::kSaveExit};
  const auto workgroup = MembershipEnabling(false);
  const auto domain = MembershipEnabling(true);
  for (size_t i = 0; i < workgroup.size(); ++i) {
    if (!workgroup[i].enabled) expected.push_back(workgroup[i].control);
    // The domain choice turns every one of them the other way.
    EXPECT_EQ(domain[i].control, workgroup[i].control);
    EXPECT_EQ(domain[i].enabled, !workgroup[i].enabled);
  }
  std::vector<int> disabled;
  for (const ControlInfo& control : BrevaneControls()) {
    if (control.options & kStartsDisabled) disabled.push_back(control.id);
  }
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(disabled, expected);
  EXPECT_TRUE(FindControl(ids::kWorkgroupOption)->options & kTicked);
  EXPECT_FALSE(FindControl(ids::kDomainOption)->options & kTicked);
}

struct KeyCase {
  int key;
  int focusId;
  KeyAction expected;
};

TEST(BrevaneWindowKeys, EnterOpensUnlessOnAnotherButtonOrAnOptionEscAlwaysExits) {
  const int kTab = 0x09, kLetterA = 0x41;
  const KeyCase cases[] = {
      // Enter: nothing of ours, "打开文件", fields, the list and the check box open a log.
      {kVirtualKeyReturn, 0, KeyAction::PressOpenFile},
      {kVirtualKeyReturn, ids::kOpenFile, KeyAction::PressOpenFile},
      {kVirtualKeyReturn, ids::kPrefix, KeyAction::PressOpenFile},
      {kVirtualKeyReturn, ids::kDigits, KeyAction::PressOpenFile},
      {kVirtualKeyReturn, ids::kList, KeyAction::PressOpenFile},
      {kVirtualKeyReturn, ids::kReportCheck, KeyAction::PressOpenFile},
      {kVirtualKeyReturn, ControlId(99), KeyAction::PressOpenFile},
      // Enter on another button or an option button does nothing.
      {kVirtualKeyReturn, ids::kGenerate, KeyAction::Swallow},
      {kVirtualKeyReturn, ids::kSaveExit, KeyAction::Swallow},
      {kVirtualKeyReturn, ids::kExit, KeyAction::Swallow},
      {kVirtualKeyReturn, ids::kFormatTftpd32, KeyAction::Swallow},
      {kVirtualKeyReturn, ids::kFormatWindows, KeyAction::Swallow},
      {kVirtualKeyReturn, ids::kWorkgroupOption, KeyAction::Swallow},
      {kVirtualKeyReturn, ids::kDomainOption, KeyAction::Swallow},
      // Esc exits wherever the focus is.
      {kVirtualKeyEscape, 0, KeyAction::PressExit},
      {kVirtualKeyEscape, ids::kPrefix, KeyAction::PressExit},
      {kVirtualKeyEscape, ids::kDomainOption, KeyAction::PressExit},
      {kVirtualKeyEscape, ids::kGenerate, KeyAction::PressExit},
      // Delete on the list removes the selected rows; in a field it deletes text.
      {kVirtualKeyDelete, ids::kList, KeyAction::RemoveRows},
      {kVirtualKeyDelete, ids::kPrefix, KeyAction::PassOn},
      {kVirtualKeyDelete, 0, KeyAction::PassOn},
      // Other keys are the controls' own (Tab goes to the dialog manager).
      {kTab, ids::kPrefix, KeyAction::PassOn},
      {kLetterA, ids::kMetric, KeyAction::PassOn},
  };
  for (const KeyCase& c : cases) {
    EXPECT_EQ(static_cast<int>(ActionForKey(c.key, c.focusId)), static_cast<int>(c.expected))
        << "key " << c.key << " focus id " << c.focusId;
  }
}

}  // namespace
