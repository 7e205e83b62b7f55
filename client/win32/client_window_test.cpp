// The real main window in this process, with the recording fakes behind it: font, icon, window
// menu, version refusal, Enter/Esc, text transport and the close request held while a handler runs.
#include "client/win32/client_window.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "tests/fakes/byte_text.h"
#include "tests/fakes/fake_client_platform.h"
#include "tests/pinned_texts.h"

namespace {

const char kListPath[] = "C:\\Tolvik\\mac.ini";
const char kList[] =
    "[Config]\r\nGateway=192.0.2.1\r\nMask=255.255.255.0\r\nWorkGroup=WG\r\n[list]\r\n"
    "0200C000022A=192.0.2.21,PC-021\r\n";

std::string TextOf(HWND hwnd) {
  char buffer[512] = "";
  int n = GetWindowTextA(hwnd, buffer, sizeof buffer);
  return std::string(buffer, n > 0 ? static_cast<size_t>(n) : 0);
}

// The fakes with the real window in place of the recording one.
struct WindowUnderTest {
  FakeClientPlatform fakes;
  Win32ClientWindow window{GetModuleHandleA(nullptr)};
  ClientPlatform platform{fakes.profile, fakes.registry, fakes.adapters, fakes.processes,
                          fakes.files,   fakes.system,   window,         fakes.datagrams};

  WindowUnderTest() {
    fakes.adapters.Add("{A}", {0x02, 0x00, 0xC0, 0x00, 0x02, 0x2A});
  }

  HWND Control(int row) const { return GetDlgItem(window.Handle(), ClientControlId(row)); }

  // Runs the queued messages as the message loop would, for a little while.
  void Pump() {
    for (int i = 0; i < 5; ++i) {
      window.ProcessPendingMessages();
      Sleep(20);
    }
  }

  // Drains WM_QUIT so that one test's close does not end the next test's loop.
  static void DrainQuit() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
  }

  ~WindowUnderTest() {
    if (window.Handle()) DestroyWindow(window.Handle());
    DrainQuit();
  }
};

// Watches for a message box of this process with a caption, reads its text and presses OK.
class MessageBoxWatcher {
 public:
  explicit MessageBoxWatcher(const char* caption) : caption_(caption) {
    thread_ = std::thread([this] { Watch(); });
  }
  ~MessageBoxWatcher() { Stop(); }
  void Stop() {
    done_ = true;
    if (thread_.joinable()) thread_.join();
  }
  bool seen() const { return seen_; }
  const std::string& text() const { return text_; }

 private:
  void Watch() {
    while (!done_) {
      HWND box = FindWindowA("#32770", caption_);
      if (box) {
        // The box shows its text in the static control with ID 0xFFFF.
        text_ = TextOf(GetDlgItem(box, 0xFFFF));
        seen_ = true;
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        return;
      }
      Sleep(20);
    }
  }
  const char* caption_;
  std::thread thread_;
  std::atomic<bool> done_{false};
  std::atomic<bool> seen_{false};
  std::string text_;
};

TEST(ClientWindow, EveryControlUsesSimSunTwelvePixelsGb2312VariablePitch) {
  WindowUnderTest t;
  ASSERT_TRUE(t.window.Create(&t.platform));
  for (int row = 1; row <= kControlCount; ++row) {
    HWND control = t.Control(row);
    ASSERT_NE(control, nullptr) << "row " << row;
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
    LOGFONTA logFont = {};
    ASSERT_EQ(GetObjectA(font, sizeof logFont, &logFont), static_cast<int>(sizeof logFont))
        << "row " << row;
    EXPECT_EQ(logFont.lfHeight, -12) << "row " << row;
    EXPECT_EQ(logFont.lfCharSet, 134) << "row " << row;
    EXPECT_EQ(logFont.lfPitchAndFamily & 3, VARIABLE_PITCH) << "row " << row;
    EXPECT_EQ(std::string(logFont.lfFaceName), pinned_tolvik_texts::kFontName)
        << "row " << row << ": " << HexBytes(logFont.lfFaceName);
  }
}

TEST(ClientWindow, FirstRunGivesTheIconAndAPlainAboutItemAfterASeparator) {
  WindowUnderTest t;
  ASSERT_TRUE(t.window.Create(&t.platform));
  HWND hwnd = t.window.Handle();
  EXPECT_NE(SendMessageA(hwnd, WM_GETICON, ICON_BIG, 0), 0);
  EXPECT_NE(SendMessageA(hwnd, WM_GETICON, ICON_SMALL, 0), 0);
  HMENU menu = GetSystemMenu(hwnd, FALSE);
  int count = GetMenuItemCount(menu);
  ASSERT_GE(count, 2);
  EXPECT_TRUE(GetMenuState(menu, count - 2, MF_BYPOSITION) & MF_SEPARATOR);
  EXPECT_EQ(GetMenuItemID(menu, count - 1), 1025u);
  EXPECT_FALSE(GetMenuState(menu, count - 1, MF_BYPOSITION) & MF_CHECKED);
  char item[64] = "";
  GetMenuStringA(menu, count - 1, item, sizeof item, MF_BYPOSITION);
  EXPECT_EQ(std::string(item), pinned_tolvik_texts::kAboutMenuItem) << HexBytes(item);
  // The frame the user cannot resize or maximize.
  LONG style = GetWindowLongA(hwnd, GWL_STYLE);
  EXPECT_FALSE(style & (WS_MAXIMIZEBOX | WS_THICKFRAME));
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
}

struct VersionCase {
  const char* system;
  uint32_t version;
  bool refused;
};

TEST(ClientWindow, Windows95And98SeeTheRefusalAndTheWindowClosesOthersOpen) {
  const VersionCase cases[] = {
      {"Windows 95", 0xC3B60004u, true},
      {"Windows 98", 0xC0000A04u, true},
      {"Windows ME", 0xC0005A04u, false},
      {"Windows 2000", 0x08930005u, false},
  };
  for (const VersionCase& c : cases) {
    SCOPED_TRACE(c.system);
    WindowUnderTest t;
    t.fakes.system.version = c.version;
    t.fakes.files.Put(kListPath, kList);
    MessageBoxWatcher watcher(pinned_tolvik_texts::kWin9xCaption);
    ASSERT_TRUE(t.window.Create(&t.platform));
    watcher.Stop();
    EXPECT_EQ(watcher.seen(), c.refused);
    if (c.refused) {
      EXPECT_EQ(watcher.text(), pinned_tolvik_texts::kWin9xRefusal)
          << HexBytes(watcher.text());
    }
    // Construction went on to the first run of the main flow either way.
    EXPECT_NE(t.fakes.log.Find("GetAdaptersInfo("), std::string::npos);
    t.Pump();
    EXPECT_EQ(t.window.Handle() == nullptr, c.refused);
  }
}

struct KeyCase {
  const char* what;
  int focusRow;  // 0: the window itself
  WPARAM key;
  bool applies;
  bool closes;
};

TEST(ClientWindow, EnterAndEscReachTheDefaultAndCancelButtons) {
  const KeyCase cases[] = {
      {"Enter in the address box", kRowAddressBox, VK_RETURN, true, true},
      {"Enter on the apply button", kRowApplyNow, VK_RETURN, true, true},
      {"Enter on the window", 0, VK_RETURN, true, true},
      {"Enter on a check box", kRowRestartAfterwardsCheck, VK_RETURN, false, false},
      {"Enter on the fetch button", kRowFetch, VK_RETURN, false, false},
      {"Enter on the exit button", kRowExit, VK_RETURN, false, false},
      {"Esc in the address box", kRowAddressBox, VK_ESCAPE, false, true},
      {"Esc on a check box", kRowAutoApplyCheck, VK_ESCAPE, false, true},
      {"Tab in the address box", kRowAddressBox, VK_TAB, false, false},
  };
  for (const KeyCase& c : cases) {
    SCOPED_TRACE(c.what);
    WindowUnderTest t;
    t.fakes.files.Put(kListPath, kList);
    ASSERT_TRUE(t.window.Create(&t.platform));
    HWND hwnd = t.window.Handle();
    ShowWindow(hwnd, SW_SHOW);
    HWND target = c.focusRow == 0 ? hwnd : t.Control(c.focusRow);
    SetFocus(target);
    ASSERT_EQ(GetFocus(), target);
    size_t startsBefore = t.fakes.processes.CommandLines().size();
    PostMessageA(target, WM_KEYDOWN, c.key, 1);
    PostMessageA(target, WM_KEYUP, c.key, 0xC0000001);
    t.Pump();
    bool applied = t.fakes.processes.CommandLines().size() > startsBefore;
    EXPECT_EQ(applied, c.applies);
    EXPECT_EQ(t.window.Handle() == nullptr, c.closes);
    if (!c.closes) {
      EXPECT_EQ(SendMessageA(t.Control(kRowRestartAfterwardsCheck), BM_GETCHECK, 0, 0),
                BST_CHECKED);
      EXPECT_EQ(GetFocus(), target);  // Tab moves nothing
    }
  }
}

TEST(ClientWindow, InformationTextComesBackByteForByte) {
  const std::string texts[] = {
      "",
      "A&B && C\r\nsecond line\r\n",
      "\xBC\xC6\xCB\xE3\xBB\xFA\xC3\xFB: PC-021\r\n\xA1\xB0\xB1\xBE\xB5\xD8\xA1\xB1\r\n",
      std::string(3000, 'x') + "\r\n" + std::string(2000, '\xB0'),
  };
  WindowUnderTest t;
  ASSERT_TRUE(t.window.Create(&t.platform));
  for (const std::string& text : texts) {
    t.window.SetInfoText(text);
    std::string back = t.window.InfoText();
    EXPECT_EQ(back.size(), text.size());
    EXPECT_TRUE(back == text) << HexBytes(back.substr(0, 64));
  }
}

TEST(ClientWindow, EachCheckBoxAndTheAddressBoxReadAsTheUserLeftThem) {
  const StartupOption options[] = {StartupOption::AutoApply, StartupOption::DeleteAfterwards,
                                   StartupOption::RestartAfterwards,
                                   StartupOption::FetchFromNetwork};
  for (StartupOption untick : options) {
    WindowUnderTest t;
    ASSERT_TRUE(t.window.Create(&t.platform));
    for (StartupOption option : options) EXPECT_TRUE(t.window.IsOptionTicked(option));
    // A click on the box, as the user would.
    SendMessageA(t.Control(RowOfOption(untick)), BM_CLICK, 0, 0);
    for (StartupOption option : options) {
      EXPECT_EQ(t.window.IsOptionTicked(option), option != untick)
          << static_cast<int>(untick) << " / " << static_cast<int>(option);
    }
  }
  WindowUnderTest t;
  ASSERT_TRUE(t.window.Create(&t.platform));
  EXPECT_EQ(t.window.AddressBoxText(), "");
  SetWindowTextA(t.Control(kRowAddressBox), "  198.51.100.7 ");
  EXPECT_EQ(t.window.AddressBoxText(), "  198.51.100.7 ");
}

TEST(ClientWindow, CloseRequestArrivingDuringAFetchWaitsForTheFetchAndStopsTheApply) {
  // Started with /A /K and no list: the fetch button brings mac.ini. A close request already
  // queued is dispatched while the fetch processes pending messages; it must not close the
  // window under the running handler, but run once it has returned. The user asked to leave:
  // the /A apply does not start, so /K deletes nothing.
  WindowUnderTest t;
  t.fakes.system.commandLine = "\"C:\\Tolvik\\Tolvik.exe\" /A /K";
  t.fakes.processes.onRun = [&t](const ProcessLaunch& launch) {
    if (launch.commandLine.find("get mac.ini") != std::string::npos) {
      t.fakes.files.Put(kListPath, kList);
    }
  };
  ASSERT_TRUE(t.window.Create(&t.platform));
  HWND hwnd = t.window.Handle();
  ASSERT_EQ(t.fakes.log.Find("Start("), std::string::npos);  // nothing to apply yet
  SetWindowTextA(t.Control(kRowAddressBox), "198.51.100.7");
  PostMessageA(hwnd, WM_CLOSE, 0, 0);
  SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(ClientControlId(kRowFetch), BN_CLICKED),
               reinterpret_cast<LPARAM>(t.Control(kRowFetch)));
  ASSERT_EQ(t.window.Handle(), hwnd) << "closed while the fetch was running";
  ASSERT_TRUE(t.fakes.files.Has(kListPath)) << "the fetch brought no list";
  EXPECT_EQ(t.fakes.log.Find("Start(netsh"), std::string::npos) << "applied after the close";
  t.Pump();
  EXPECT_EQ(t.window.Handle(), nullptr);
  EXPECT_TRUE(t.fakes.files.Has(kListPath)) << "/K deleted the list without an apply";
}

TEST(ClientWindow, ButtonsButExitDoNothingWhileARunIsUnderWay) {
  // /A applies during construction; while its first netsh runs (the runner handles the window's
  // messages meanwhile), the user clicks every button but "退出": one apply, no fetch, no
  // RunOnce value, and the window closes after the apply as usual.
  WindowUnderTest t;
  t.fakes.system.commandLine = "\"C:\\Tolvik\\Tolvik.exe\" /A";
  t.fakes.files.Put(kListPath, kList);
  bool clicked = false;
  t.fakes.processes.onRun = [&](const ProcessLaunch&) {
    if (clicked) return;
    clicked = true;
    for (int row : {kRowApplyNow, kRowFetch, kRowAddToStartup}) {
      SendMessageA(t.window.Handle(), WM_COMMAND, MAKEWPARAM(ClientControlId(row), BN_CLICKED),
                   reinterpret_cast<LPARAM>(t.Control(row)));
    }
  };
  ASSERT_TRUE(t.window.Create(&t.platform));
  ASSERT_TRUE(clicked);
  size_t addressRuns = 0;
  for (const std::string& line : t.fakes.processes.CommandLines()) {
    if (line.find(" set address ") != std::string::npos) ++addressRuns;
  }
  EXPECT_EQ(addressRuns, 1u) << "one apply only";
  EXPECT_EQ(t.fakes.log.Find("Start(tftp"), std::string::npos);
  EXPECT_EQ(t.fakes.log.Find("WriteStringValue(SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce"),
            std::string::npos);
  t.Pump();
  EXPECT_EQ(t.window.Handle(), nullptr);
}

}  // namespace
