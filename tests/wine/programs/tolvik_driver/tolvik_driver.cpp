// Drives a running Tolvik.exe from outside, as a user or an accessibility tool would, and checks
// what it shows. Steps run in command-line order; the first failing step ends the program with 1.
//
//   wait-window MS          find the visible window "Tolvik 0.7" whose first run has finished
//   wait-gone MS            the window has closed and Tolvik's process has ended
//   check-layout            size, frame, centring, title and the 13 controls
//   info-out FILE           write the information text's bytes to FILE
//   expect-info FILE        the information text equals FILE's bytes
//   click ROW               BM_CLICK on the control of that table row (ID 1000 + row)
//   set-text ROW TEXT       WM_SETTEXT on a control
//   expect-check ROW 0|1    a check box's state
//   focus ROW               moves the keyboard focus (0: the window itself)
//   key enter|esc|tab       a key press where the focus is (esc-menu: Esc for an open menu)
//   expect-alive            the window is still there
//   sys-command close|about|menu  the title bar's close box, the About item, Alt+Space
//   about-box               the About box is up with its text; dismisses it
//   help-box                the help box is up with the help text, the window hidden; dismisses it
//   adapters                prints "adapter NAME MAC" for each adapter
#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/win32/window_kit.h"
#include "tests/hex_bytes.h"
#include "tests/pinned_texts.h"
#include "tests/wine/programs/window_probe.h"

namespace {

namespace t = pinned_tolvik_texts;

// The window's class, so that a message box captioned with the same title is never taken for it.
constexpr char kMainClass[] = "TolvikMainWindow";

HWND g_window = nullptr;
DWORD g_processId = 0;
DWORD g_threadId = 0;

bool Fail(const std::string& what) {
  std::printf("FAIL %s\n", what.c_str());
  return false;
}

HWND ControlOf(int row) { return GetDlgItem(g_window, 1000 + row); }

bool ExpectBytes(const std::string& what, const std::string& got, const std::string& want) {
  if (got == want) return true;
  return Fail(what + ": got [" + HexBytes(got) + "] want [" + HexBytes(want) + "]");
}

bool WaitWindow(DWORD timeoutMs) {
  DWORD start = GetTickCount();
  for (;;) {
    HWND window = FindWindowA(kMainClass, t::kWindowTitle);
    // Visible means the message loop has started, so the first run of the main flow is over.
    if (window && IsWindowVisible(window)) {
      g_window = window;
      g_threadId = GetWindowThreadProcessId(window, &g_processId);
      std::printf("window found\n");
      return true;
    }
    if (GetTickCount() - start > timeoutMs) return Fail("no visible window \"Tolvik 0.7\"");
    Sleep(100);
  }
}

bool WaitGone(DWORD timeoutMs) {
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, g_processId);
  if (!WaitFor([] { return !g_window || !IsWindow(g_window); }, timeoutMs)) {
    return Fail("the window is still open");
  }
  if (process) {
    DWORD waited = WaitForSingleObject(process, timeoutMs);
    CloseHandle(process);
    if (waited != WAIT_OBJECT_0) return Fail("Tolvik's process did not end");
  }
  std::printf("window closed, process ended\n");
  return true;
}

struct Expected {
  int row;
  const char* className;
  const char* caption;
  int x, y, width, height;  // in the window's client area; width 0: sized to the caption
  DWORD typeMask;           // style bits that give the control's type
  DWORD type;
};

// The places as the window's table gives them, group box children offset by their box.
const Expected kExpected[] = {
    {1, "Button", t::kApplyNowButton, 240, 206, 85, 25, BS_TYPEMASK, BS_DEFPUSHBUTTON},
    {2, "Button", t::kAddToStartupButton, 240, 235, 85, 25, BS_TYPEMASK, BS_PUSHBUTTON},
    {3, "Button", t::kInfoGroup, 8, 8, 321, 193, BS_TYPEMASK, BS_GROUPBOX},
    {4, "Static", nullptr, 8 + 4, 8 + 24, 313, 165, SS_TYPEMASK, SS_LEFT},
    {5, "Button", t::kExitButton, 240, 299, 85, 25, BS_TYPEMASK, BS_PUSHBUTTON},
    {6, "Button", t::kStartupGroup, 8, 208, 225, 113, BS_TYPEMASK, BS_GROUPBOX},
    {7, "Static", t::kAddressLabel, 8 + 10, 208 + 80, 0, 0, 0, 0},
    {8, "Button", t::kAutoApplyCheck, 8 + 8, 208 + 16, 0, 0, BS_TYPEMASK, BS_AUTOCHECKBOX},
    {9, "Button", t::kDeleteAfterwardsCheck, 8 + 8, 208 + 48, 0, 0, BS_TYPEMASK, BS_AUTOCHECKBOX},
    {10, "Button", t::kRestartAfterwardsCheck, 8 + 112, 208 + 16, 0, 0, BS_TYPEMASK,
     BS_AUTOCHECKBOX},
    {11, "Edit", "", 8 + 120, 208 + 75, 94, 22, ES_READONLY | ES_MULTILINE, 0},
    {12, "Button", t::kFetchFromNetworkCheck, 8 + 112, 208 + 48, 0, 0, BS_TYPEMASK,
     BS_AUTOCHECKBOX},
    {13, "Button", t::kFetchButton, 240, 264, 85, 25, BS_TYPEMASK, BS_PUSHBUTTON},
};

SIZE MeasureInSimSun(const char* caption) {
  HFONT font = CreateWindowFont(t::kFontName, -12, 134, VARIABLE_PITCH | FF_DONTCARE);
  const Size size = MeasureCaption(nullptr, font, caption).text;
  DeleteObject(font);
  return SIZE{size.width, size.height};
}

bool CheckLayout() {
  bool ok = true;
  char text[512];

  // The window: client area, frame, centring.
  RECT client;
  GetClientRect(g_window, &client);
  if (client.right != 337 || client.bottom != 334) {
    std::snprintf(text, sizeof text, "client area %ldx%ld, want 337x334", client.right,
                  client.bottom);
    ok = Fail(text);
  }
  LONG style = GetWindowLongA(g_window, GWL_STYLE);
  if (!(style & WS_CAPTION) || !(style & WS_SYSMENU) || !(style & WS_MINIMIZEBOX)) {
    ok = Fail("title bar, window menu or minimize box missing");
  }
  if (style & (WS_MAXIMIZEBOX | WS_THICKFRAME)) ok = Fail("maximize box or sizing border present");
  RECT outer;
  GetWindowRect(g_window, &outer);
  int wantX = (GetSystemMetrics(SM_CXSCREEN) - (outer.right - outer.left)) / 2;
  int wantY = (GetSystemMetrics(SM_CYSCREEN) - (outer.bottom - outer.top)) / 2;
  if (std::abs(outer.left - wantX) > 1 || std::abs(outer.top - wantY) > 1) {
    std::snprintf(text, sizeof text, "window at %ld,%ld, centred would be %d,%d", outer.left,
                  outer.top, wantX, wantY);
    ok = Fail(text);
  }
  std::string title = WindowText(g_window);
  ok = ExpectBytes("title", title, "Tolvik 0.7") && ok;

  // The controls: class, ID, place, size, type, caption, state. (Fonts, icons and menus are
  // handles of Tolvik's own process under Wine; the window's in-process tests check those.)
  std::vector<RECT> rects;
  for (const Expected& e : kExpected) {
    std::string name = "row " + std::to_string(e.row);
    HWND control = ControlOf(e.row);
    if (!control || GetParent(control) != g_window) {
      ok = Fail(name + ": no child with ID " + std::to_string(1000 + e.row));
      rects.push_back(RECT{0, 0, 0, 0});
      continue;
    }
    if (!IsClass(control, e.className)) ok = Fail(name + ": class " + ClassOf(control));
    RECT r = RectInClient(g_window, control);
    rects.push_back(r);
    int width = r.right - r.left;
    int height = r.bottom - r.top;
    if (r.left != e.x || r.top != e.y) {
      std::snprintf(text, sizeof text, "%s: at %ld,%ld, want %d,%d", name.c_str(), r.left, r.top,
                    e.x, e.y);
      ok = Fail(text);
    }
    if (e.width != 0 && (width != e.width || height != e.height)) {
      std::snprintf(text, sizeof text, "%s: size %dx%d, want %dx%d", name.c_str(), width, height,
                    e.width, e.height);
      ok = Fail(text);
    }
    if (e.width == 0) {
      // Sized to the caption in 12-pixel SimSun (the label exactly; a check box adds its glyph).
      SIZE need = MeasureInSimSun(e.caption);
      bool isCheck = e.type == BS_AUTOCHECKBOX;
      int glyph = isCheck ? GetSystemMetrics(SM_CXMENUCHECK) : 0;
      bool fits = isCheck ? (width >= need.cx + glyph && height >= need.cy)
                          : (width == need.cx && height == need.cy);
      if (!fits || need.cx < 12) {
        std::snprintf(text, sizeof text, "%s: size %dx%d for a caption of %ldx%ld", name.c_str(),
                      width, height, need.cx, need.cy);
        ok = Fail(text);
      }
    }
    LONG controlStyle = GetWindowLongA(control, GWL_STYLE);
    if (e.typeMask != 0 && static_cast<DWORD>(controlStyle & e.typeMask) != e.type) {
      std::snprintf(text, sizeof text, "%s: style %08lX", name.c_str(), controlStyle);
      ok = Fail(text);
    }
    if (!IsWindowVisible(control) || !IsWindowEnabled(control)) {
      ok = Fail(name + ": hidden or disabled");
    }
    if (e.caption) ok = ExpectBytes(name + " caption", WindowText(control), e.caption) && ok;
    if (e.type == BS_AUTOCHECKBOX && e.typeMask == BS_TYPEMASK &&
        SendMessageA(control, BM_GETCHECK, 0, 0) != BST_CHECKED) {
      ok = Fail(name + ": not ticked at start");
    }
  }
  // The information text: no prefix processing, no scroll bars.
  LONG infoStyle = GetWindowLongA(ControlOf(4), GWL_STYLE);
  if (!(infoStyle & SS_NOPREFIX) || (infoStyle & (WS_VSCROLL | WS_HSCROLL))) {
    ok = Fail("information text: prefix processing or a scroll bar");
  }
  // Nothing but the group boxes overlaps another control.
  for (size_t i = 0; i < rects.size(); ++i) {
    for (size_t j = i + 1; j < rects.size(); ++j) {
      if (kExpected[i].type == BS_GROUPBOX || kExpected[j].type == BS_GROUPBOX) continue;
      RECT overlap;
      if (IntersectRect(&overlap, &rects[i], &rects[j])) {
        ok = Fail("rows " + std::to_string(kExpected[i].row) + " and " +
                  std::to_string(kExpected[j].row) + " overlap");
      }
    }
  }

  if (ok) std::printf("layout ok\n");
  return ok;
}

bool WriteFileBytes(const char* path, const std::string& bytes) {
  FILE* file = std::fopen(path, "wb");
  if (!file) return Fail(std::string("cannot write ") + path);
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
  return true;
}

bool ReadFileBytes(const char* path, std::string* bytes) {
  FILE* file = std::fopen(path, "rb");
  if (!file) return Fail(std::string("cannot read ") + path);
  char buffer[4096];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes->append(buffer, n);
  std::fclose(file);
  return true;
}

bool Focus(int row) {
  HWND target = row == 0 ? g_window : ControlOf(row);
  DWORD self = GetCurrentThreadId();
  AttachThreadInput(self, g_threadId, TRUE);
  SetForegroundWindow(g_window);
  SetFocus(target);
  AttachThreadInput(self, g_threadId, FALSE);
  Sleep(200);
  if (FocusOfThread(g_threadId) != target) {
    return Fail("focus did not move to row " + std::to_string(row));
  }
  std::printf("focus on row %d\n", row);
  return true;
}

bool Key(const std::string& name) {
  WPARAM key = name == "enter" ? VK_RETURN : name == "tab" ? VK_TAB : VK_ESCAPE;
  // "esc-menu" goes to the window, where an open menu's loop takes it.
  HWND focus = name == "esc-menu" ? g_window : FocusOfThread(g_threadId);
  if (!focus) focus = g_window;
  UINT scan = MapVirtualKeyA(static_cast<UINT>(key), 0);
  PostMessageA(focus, WM_KEYDOWN, key, 1 | (scan << 16));
  PostMessageA(focus, WM_KEYUP, key, 1 | (scan << 16) | 0xC0000000u);
  Sleep(500);
  std::printf("key %s\n", name.c_str());
  return true;
}

// Waits for Tolvik's message box with the caption, checks its text and presses its OK button.
bool MessageBoxShows(const char* caption, const std::string& wantText) {
  HWND box = FindProcessWindow(g_processId, caption, nullptr, "#32770", 10000);
  if (!box) return Fail(std::string("no message box ") + HexBytes(caption));
  // A message box shows its text in the static control with ID 0xFFFF.
  bool ok = ExpectBytes("message box text", WindowText(GetDlgItem(box, 0xFFFF)), wantText);
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  Sleep(300);
  if (ok) std::printf("message box ok\n");
  return ok;
}

bool Adapters() {
  ULONG size = 0;
  GetAdaptersInfo(nullptr, &size);
  std::vector<char> buffer(size ? size : 1);
  IP_ADAPTER_INFO* info = reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data());
  if (GetAdaptersInfo(info, &size) != NO_ERROR) return Fail("GetAdaptersInfo");
  for (; info; info = info->Next) {
    std::string mac;
    char digits[3];
    for (UINT i = 0; i < info->AddressLength; ++i) {
      std::snprintf(digits, sizeof digits, "%02X", info->Address[i]);
      mac += digits;
    }
    std::printf("adapter %s %s\n", info->AdapterName, mac.c_str());
  }
  return true;
}

bool NeedWindow() { return g_window || Fail("no window: wait-window first"); }

}  // namespace

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IONBF, 0);
  for (int i = 1; i < argc; ++i) {
    std::string step = argv[i];
    auto next = [&]() -> const char* { return i + 1 < argc ? argv[++i] : ""; };
    bool ok = true;
    if (step == "wait-window") {
      ok = WaitWindow(static_cast<DWORD>(std::atoi(next())));
    } else if (step == "wait-gone") {
      ok = NeedWindow() && WaitGone(static_cast<DWORD>(std::atoi(next())));
    } else if (step == "check-layout") {
      ok = NeedWindow() && CheckLayout();
    } else if (step == "info-out") {
      ok = NeedWindow() && WriteFileBytes(next(), WindowText(ControlOf(4)));
    } else if (step == "expect-info") {
      std::string want;
      ok = NeedWindow() && ReadFileBytes(next(), &want) &&
           ExpectBytes("information text", WindowText(ControlOf(4)), want);
      if (ok) std::printf("information text ok\n");
    } else if (step == "click") {
      int row = std::atoi(next());
      ok = NeedWindow();
      // Posted: the handler may block Tolvik for a while or close the window.
      if (ok) PostMessageA(ControlOf(row), BM_CLICK, 0, 0);
      Sleep(500);
      std::printf("clicked row %d\n", row);
    } else if (step == "set-text") {
      int row = std::atoi(next());
      const char* text = next();
      ok = NeedWindow() && SendMessageA(ControlOf(row), WM_SETTEXT, 0,
                                        reinterpret_cast<LPARAM>(text)) != 0;
      if (!ok) Fail("WM_SETTEXT");
    } else if (step == "expect-check") {
      int row = std::atoi(next());
      LRESULT want = std::atoi(next()) ? BST_CHECKED : BST_UNCHECKED;
      // A sent message overtakes the posted click still queued on a busy machine, so the state
      // is read until it matches, for up to 10 s.
      ok = NeedWindow() &&
           WaitFor([&] { return SendMessageA(ControlOf(row), BM_GETCHECK, 0, 0) == want; }, 10000);
      if (!ok) Fail("check box row " + std::to_string(row) + " state");
    } else if (step == "focus") {
      ok = NeedWindow() && Focus(std::atoi(next()));
    } else if (step == "key") {
      ok = NeedWindow() && Key(next());
    } else if (step == "expect-alive") {
      ok = NeedWindow() && IsWindow(g_window) && IsWindowVisible(g_window);
      if (!ok) Fail("the window has gone");
      else std::printf("window still open\n");
    } else if (step == "sys-command") {
      std::string which = next();
      ok = NeedWindow();
      // "menu" opens the window menu as Alt+Space does.
      if (ok && which == "menu") {
        PostMessageA(g_window, WM_SYSCOMMAND, SC_KEYMENU, ' ');
      } else if (ok) {
        PostMessageA(g_window, WM_SYSCOMMAND, which == "about" ? kAboutCommandId : SC_CLOSE, 0);
      }
      Sleep(300);
    } else if (step == "about-box") {
      ok = NeedWindow() &&
           MessageBoxShows(t::kAboutCaption, t::kAboutText);
    } else if (step == "help-box") {
      // The window of a /? run is hidden, so find it by title without waiting for it to show.
      for (int tries = 0; !g_window && tries < 100; ++tries) {
        g_window = FindWindowA(kMainClass, t::kWindowTitle);
        if (!g_window) Sleep(100);
      }
      if (g_window) g_threadId = GetWindowThreadProcessId(g_window, &g_processId);
      ok = NeedWindow();
      if (ok && IsWindowVisible(g_window)) ok = Fail("the window is visible under /?");
      ok = ok && MessageBoxShows(t::kWindowTitle, t::kHelpText);
    } else if (step == "adapters") {
      ok = Adapters();
    } else {
      ok = Fail("unknown step " + step);
    }
    if (!ok) return 1;
  }
  return 0;
}
