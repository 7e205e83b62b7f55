// Tests of the main window's data: version refusal, Enter/Esc routing, room for every control.
#include "client/client_window_model.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/fakes/byte_text.h"
#include "tests/layout_checks.h"
#include "tests/pinned_texts.h"

namespace {

// GetVersion values: low byte major, next byte minor, top bit set for the 95/98/ME family.
struct VersionCase {
  const char* system;
  uint32_t version;
  bool refused;
};

TEST(ClientWindowVersionCheck, RefusesOnlyWindows95And98) {
  const VersionCase cases[] = {
      {"Windows 95 (4.0)", 0xC3B60004u, true},
      {"Windows 95 OSR2 (4.3)", 0xC0000304u, true},
      {"Windows 98 (4.10)", 0xC0000A04u, true},
      {"last minor before ME (4.89)", 0xC0005904u, true},
      {"Windows ME (4.90)", 0xC0005A04u, false},
      {"above ME (4.95)", 0xC0005F04u, false},
      {"family major 5", 0x80000005u, true},
      {"Win32s on Windows 3.1 (3.10)", 0x80000A03u, false},
      {"Windows NT 4.0", 0x05650004u, false},
      {"Windows NT 4.0 minor 10 (no top bit)", 0x00000A04u, false},
      {"Windows 2000", 0x08930005u, false},
      {"Windows XP", 0x0A280105u, false},
      {"Windows 8+ without a manifest (6.2)", 0x23F00206u, false},
  };
  for (const VersionCase& c : cases) {
    EXPECT_EQ(IsRefusedWindowsVersion(c.version), c.refused) << c.system;
  }
}

struct KeyCase {
  int key;
  int focusRow;
  KeyAction expected;
};

TEST(ClientWindowKeys, EnterAppliesUnlessOnAnotherButtonOrCheckBoxEscAlwaysExits) {
  const int kTab = 0x09, kSpace = 0x20, kLetterA = 0x41;
  const KeyCase cases[] = {
      // Enter: the window itself, the apply button, texts and the address box apply.
      {kVirtualKeyReturn, 0, KeyAction::PressApply},
      {kVirtualKeyReturn, kRowApplyNow, KeyAction::PressApply},
      {kVirtualKeyReturn, kRowAddressBox, KeyAction::PressApply},
      {kVirtualKeyReturn, kRowInfoText, KeyAction::PressApply},
      {kVirtualKeyReturn, 99, KeyAction::PressApply},
      // Enter on another button or a check box does nothing.
      {kVirtualKeyReturn, kRowAddToStartup, KeyAction::Swallow},
      {kVirtualKeyReturn, kRowExit, KeyAction::Swallow},
      {kVirtualKeyReturn, kRowFetch, KeyAction::Swallow},
      {kVirtualKeyReturn, kRowAutoApplyCheck, KeyAction::Swallow},
      {kVirtualKeyReturn, kRowDeleteAfterwardsCheck, KeyAction::Swallow},
      {kVirtualKeyReturn, kRowRestartAfterwardsCheck, KeyAction::Swallow},
      {kVirtualKeyReturn, kRowFetchFromNetworkCheck, KeyAction::Swallow},
      // Esc exits wherever the focus is.
      {kVirtualKeyEscape, 0, KeyAction::PressExit},
      {kVirtualKeyEscape, kRowAddressBox, KeyAction::PressExit},
      {kVirtualKeyEscape, kRowAutoApplyCheck, KeyAction::PressExit},
      {kVirtualKeyEscape, kRowFetch, KeyAction::PressExit},
      // Other keys are the controls' own; Tab moves nothing because nobody handles it.
      {kTab, kRowAddressBox, KeyAction::PassOn},
      {kSpace, kRowAutoApplyCheck, KeyAction::PassOn},
      {kLetterA, kRowAddressBox, KeyAction::PassOn},
  };
  for (const KeyCase& c : cases) {
    EXPECT_EQ(static_cast<int>(ActionForKey(c.key, c.focusRow)), static_cast<int>(c.expected))
        << "key " << c.key << " focus row " << c.focusRow;
  }
}

TEST(ClientWindowLayout, WithTheWindowFontNothingOverlapsOrLeavesItsBox) {
  // The check glyph as Windows draws it at 96 and at 120 dots per inch.
  for (int glyph : {13, 16}) {
    std::vector<Rect> rects;
    for (const ControlInfo& control : ClientControls()) {
      CaptionMetrics metrics{{TwelvePixelWidth(control.caption), 12}, {glyph, glyph}};
      rects.push_back(ControlRectInWindow(control, metrics));
    }
    for (const ControlInfo& control : ClientControls()) {
      const Rect& r = rects[static_cast<size_t>(control.row - 1)];
      SCOPED_TRACE("glyph " + std::to_string(glyph) + " row " + std::to_string(control.row) +
                   " caption " + HexBytes(control.caption));
      EXPECT_GE(r.x, 0);
      EXPECT_GE(r.y, 0);
      EXPECT_LE(r.Right(), kClientWidth);
      EXPECT_LE(r.Bottom(), kClientHeight);
      if (control.parentRow != 0) {
        // Inside the frame of its box, below the box's 12-pixel caption.
        const Rect& box = rects[static_cast<size_t>(control.parentRow - 1)];
        EXPECT_GE(r.x, box.x + 2);
        EXPECT_LE(r.Right(), box.Right() - 2);
        EXPECT_GE(r.y, box.y + 12);
        EXPECT_LE(r.Bottom(), box.Bottom() - 2);
      }
      if (control.kind == ControlKind::GroupBox) continue;
      for (const ControlInfo& other : ClientControls()) {
        if (other.row <= control.row || other.kind == ControlKind::GroupBox) continue;
        EXPECT_FALSE(Overlap(r, rects[static_cast<size_t>(other.row - 1)]))
            << "overlaps row " << other.row;
      }
    }
  }
}

TEST(ClientWindowLayout, CheckBoxesAreWideEnoughForGlyphAndCaption) {
  const ControlInfo& box = ControlByRow(kRowFetchFromNetworkCheck);
  CaptionMetrics metrics{{84, 12}, {13, 13}};
  Size size = ControlSize(box, metrics);
  EXPECT_GE(size.width, 13 + 84);
  EXPECT_GE(size.height, 13);
  // A caption taller than the glyph decides the height.
  metrics.text.height = 20;
  EXPECT_GE(ControlSize(box, metrics).height, 20);
}

struct OptionCase {
  StartupOption option;
  const char* caption;  // GBK bytes
};

TEST(ClientWindowLayout, EachStartupOptionReadsItsOwnTickedCheckBox) {
  const OptionCase cases[] = {
      {StartupOption::AutoApply, pinned_tolvik_texts::kAutoApplyCheck},
      {StartupOption::DeleteAfterwards, pinned_tolvik_texts::kDeleteAfterwardsCheck},
      {StartupOption::RestartAfterwards, pinned_tolvik_texts::kRestartAfterwardsCheck},
      {StartupOption::FetchFromNetwork, pinned_tolvik_texts::kFetchFromNetworkCheck},
  };
  for (const OptionCase& c : cases) {
    const ControlInfo& control = ControlByRow(RowOfOption(c.option));
    EXPECT_EQ(control.kind, ControlKind::CheckBox);
    EXPECT_TRUE(control.ticked);
    EXPECT_EQ(std::string(control.caption), std::string(c.caption))
        << HexBytes(control.caption) << " != " << HexBytes(c.caption);
  }
}

TEST(ClientWindowLayout, CentredOriginSplitsTheFreeSpace) {
  EXPECT_EQ(CentredOrigin(1024, 343), 340);
  EXPECT_EQ(CentredOrigin(768, 368), 200);
  EXPECT_EQ(CentredOrigin(343, 343), 0);
}

}  // namespace
