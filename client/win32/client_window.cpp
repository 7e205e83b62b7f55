// Tolvik's main window: construction, the control events, Enter/Esc, About, and the close handler.
#include "client/win32/client_window.h"

#include <commctrl.h>

#include "client/client_texts.h"
#include "client/button_handlers.h"
#include "client/finishing.h"
#include "client/main_flow.h"
#include "client/report.h"
#include "platform/win32/window_kit.h"

namespace {

namespace t = client_texts;

constexpr char kWindowClass[] = "TolvikMainWindow";
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

const char* ClassOf(ControlKind kind) {
  switch (kind) {
    case ControlKind::InfoText:
    case ControlKind::Label: return "STATIC";
    case ControlKind::AddressBox: return "EDIT";
    default: return "BUTTON";
  }
}

DWORD StyleOf(const ControlInfo& control) {
  DWORD style = WS_CHILD | WS_VISIBLE;
  switch (control.kind) {
    case ControlKind::PushButton:
      return style | (control.row == kRowApplyNow ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
    case ControlKind::GroupBox: return style | BS_GROUPBOX;
    // Wraps at word boundaries, shows "&" as itself, no scroll bar: lines beyond the box are cut.
    case ControlKind::InfoText: return style | SS_LEFT | SS_NOPREFIX;
    case ControlKind::Label: return style | SS_LEFTNOWORDWRAP | SS_NOPREFIX;
    case ControlKind::CheckBox: return style | BS_AUTOCHECKBOX;
    case ControlKind::AddressBox: return style | ES_LEFT | ES_AUTOHSCROLL;
  }
  return style;
}

}  // namespace

Win32ClientWindow::Win32ClientWindow(HINSTANCE instance) : instance_(instance) {}

Win32ClientWindow::~Win32ClientWindow() {
  if (hwnd_) DestroyWindow(hwnd_);
  if (font_) DeleteObject(font_);
  // Icons from LoadIcon/LoadImage with LR_SHARED belong to the system; nothing to free.
}

bool Win32ClientWindow::Create(ClientPlatform* platform) {
  platform_ = platform;

  hwnd_ = CreateMainWindow(instance_, kWindowClass, &ObjectWindowProc<Win32ClientWindow>, nullptr,
                           t::kWindowTitle, kWindowStyle, {kClientWidth, kClientHeight}, this);
  if (!hwnd_) return false;

  // Windows 95 and 98 are turned away; construction goes on, the posted close ends the program.
  if (IsRefusedWindowsVersion(platform_->system.Version())) {
    MessageBoxA(GetActiveWindow(), t::kWin9xRefusal, t::kWin9xCaption, MB_OK | MB_ICONERROR);
    PostCloseRequest();
  }

  // The window font (the style never gives the window a maximize box or a sizing border).
  font_ = CreateWindowFont(t::kFontName, kFontHeight, kFontCharset, VARIABLE_PITCH | FF_DONTCARE);

  // The window procedure handles About and the close; then the common controls and ours.
  InitCommonControls();
  CreateControls();

  CentreOnScreen(hwnd_);

  // Construction ends with the first run of the main flow, guarded as a handler is.
  ++busy_;
  RunMainFlow(*platform_, state_, true);
  --busy_;
  ReleaseHeldClose();
  return true;
}

void Win32ClientWindow::CreateControls() {
  for (const ControlInfo& control : ClientControls()) {
    CaptionMetrics metrics = MeasureCaption(hwnd_, font_, control.caption);
    Rect rect = ControlRectInWindow(control, metrics);
    DWORD exStyle = control.kind == ControlKind::AddressBox ? WS_EX_CLIENTEDGE : 0;
    HWND child = CreateControl(hwnd_, ClientControlId(control.row), ClassOf(control.kind),
                               control.caption, StyleOf(control), exStyle, rect, font_);
    controls_[static_cast<size_t>(control.row)] = child;
    if (control.kind == ControlKind::CheckBox && control.ticked) {
      SendMessageA(child, BM_SETCHECK, BST_CHECKED, 0);
    }
    // The group boxes' children are the window's children at offset positions; keeping the
    // boxes below them in the stacking order means a box never paints over what it frames.
    if (control.kind == ControlKind::GroupBox) {
      SetWindowPos(child, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
  }
  lastFocus_ = Control(kRowApplyNow);
}

int Win32ClientWindow::RunMessageLoop(int showCommand) {
  if (hwnd_ && !hidden_) {
    ShowWindow(hwnd_, showCommand);
    UpdateWindow(hwnd_);
  }
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) Dispatch(&msg);
  return static_cast<int>(msg.wParam);
}

void Win32ClientWindow::Dispatch(MSG* msg) {
  if (HandleKey(*msg)) return;
  TranslateMessage(msg);
  DispatchMessageA(msg);
}

int Win32ClientWindow::RowOfWindow(HWND hwnd) const {
  for (int row = 1; row <= kControlCount; ++row) {
    if (Control(row) == hwnd) return row;
  }
  return 0;
}

bool Win32ClientWindow::HandleKey(const MSG& msg) {
  if (msg.message != WM_KEYDOWN || !hwnd_) return false;
  // Keys of other windows of this thread (a message box) are theirs.
  if (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd)) return false;
  switch (ActionForKey(static_cast<int>(msg.wParam), RowOfWindow(msg.hwnd))) {
    case KeyAction::PassOn: return false;
    case KeyAction::Swallow: return true;
    case KeyAction::PressApply: PressRow(kRowApplyNow); return true;
    case KeyAction::PressExit: PressRow(kRowExit); return true;
  }
  return false;
}

void Win32ClientWindow::PressRow(int row) {
  PressButton(hwnd_, Control(row), ClientControlId(row));
}

void Win32ClientWindow::OnButton(int row) {
  // One run at a time: a click that arrives while a fetch, a wait or an apply handles the
  // window's messages does nothing, but the exit button, whose close waits for the run.
  if (busy_ > 0 && row != kRowExit) return;
  ++busy_;
  switch (row) {
    case kRowApplyNow: ApplyAndReport(*platform_, state_); break;
    case kRowAddToStartup: RegisterRunOnce(*platform_); break;
    case kRowExit: PostCloseRequest(); break;
    case kRowFetch: OnFetchClick(*platform_, state_); break;
    default: break;
  }
  --busy_;
  ReleaseHeldClose();
}

void Win32ClientWindow::OnClose() {
  // A close request that arrives while a handler still runs (it was posted, then dispatched when
  // a fetch processed pending messages) waits for that handler: the window and its state must
  // outlive every handler, and the finishing actions must see what the handler did.
  if (busy_ > 0) {
    closeHeld_ = true;
    return;
  }
  FinishOnClose(*platform_, state_);
  DestroyWindow(hwnd_);
}

void Win32ClientWindow::ReleaseHeldClose() {
  if (busy_ > 0 || !hwnd_ || !closeHeld_) return;
  closeHeld_ = false;
  PostMessageA(hwnd_, WM_CLOSE, 0, 0);
}

LRESULT Win32ClientWindow::HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCREATE:
      hwnd_ = hwnd;
      break;
    case WM_COMMAND: {
      int row = LOWORD(wParam) - kControlIdBase;
      bool isButton = row == kRowApplyNow || row == kRowAddToStartup || row == kRowExit ||
                      row == kRowFetch;
      if (isButton && HIWORD(wParam) == BN_CLICKED) {
        OnButton(row);
        return 0;
      }
      break;
    }
    case WM_SYSCOMMAND:
      AnswerAboutCommand(wParam, t::kAboutText, t::kAboutCaption);
      break;
    case WM_CTLCOLOREDIT:
      if (reinterpret_cast<HWND>(lParam) == Control(kRowAddressBox)) {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
      }
      break;
    case WM_ACTIVATE:
      // No dialog manager keeps the focus for this window: remember the focused control when
      // the window is left and give it back when the window is activated again.
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (RowOfWindow(focus) != 0) lastFocus_ = focus;
      } else if (HIWORD(wParam) == 0 && lastFocus_) {
        SetFocus(lastFocus_);
        return 0;
      }
      break;
    case WM_CLOSE:
      OnClose();
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY:
      ForgetWindowObject(hwnd);
      hwnd_ = nullptr;
      controls_.fill(nullptr);
      lastFocus_ = nullptr;
      break;
    default:
      break;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

void Win32ClientWindow::SetInfoText(const std::string& text) {
  HWND info = Control(kRowInfoText);
  if (!info) return;
  SetWindowTextA(info, text.c_str());
  // The operations that set progress texts block this thread next; draw the text now.
  UpdateWindow(info);
}

std::string Win32ClientWindow::InfoText() { return ReadWindowText(Control(kRowInfoText)); }

void Win32ClientWindow::ShowAndBringToFront() {
  if (!hwnd_) return;
  hidden_ = false;
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
}

void Win32ClientWindow::ProcessPendingMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // Leave the end of the program to the main loop.
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    Dispatch(&msg);
  }
}

void Win32ClientWindow::PostCloseRequest() {
  if (hwnd_) PostMessageA(hwnd_, WM_CLOSE, 0, 0);
}

bool Win32ClientWindow::IsClosePending() { return closeHeld_; }

void Win32ClientWindow::Hide() {
  if (!hwnd_) return;
  hidden_ = true;
  ShowWindow(hwnd_, SW_HIDE);
}

void Win32ClientWindow::ShowHelpBox(const std::string& text) {
  MessageBoxA(hwnd_, text.c_str(), t::kWindowTitle, MB_OK | MB_SETFOREGROUND);
}

void Win32ClientWindow::InstallIconAndAboutItem() {
  if (!hwnd_) return;
  bigIcon_ = static_cast<HICON>(LoadImageA(instance_, "FORM_ICON1", IMAGE_ICON,
                                           GetSystemMetrics(SM_CXICON),
                                           GetSystemMetrics(SM_CYICON), LR_SHARED));
  smallIcon_ = static_cast<HICON>(LoadImageA(instance_, "FORM_ICON1", IMAGE_ICON,
                                             GetSystemMetrics(SM_CXSMICON),
                                             GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  SendMessageA(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_));
  SendMessageA(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
  AppendAboutItem(hwnd_, t::kAboutMenuItem);
}

bool Win32ClientWindow::IsOptionTicked(StartupOption option) {
  HWND box = Control(RowOfOption(option));
  return box && SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

std::string Win32ClientWindow::AddressBoxText() { return ReadWindowText(Control(kRowAddressBox)); }
