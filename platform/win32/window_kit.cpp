// The Win32 chores both program windows share.
#include "platform/win32/window_kit.h"

void* WindowObject(HWND window, UINT message, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    void* object = reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
    return object;
  }
  return reinterpret_cast<void*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

void ForgetWindowObject(HWND window) { SetWindowLongPtrA(window, GWLP_USERDATA, 0); }

HWND CreateMainWindow(HINSTANCE instance, const char* className, WNDPROC procedure, HICON icon,
                      const char* title, DWORD style, Size clientArea, void* object) {
  // RegisterClassA, not its Ex form: Windows 95 and 98 must load Tolvik to be refused.
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hIcon = icon;
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  windowClass.lpszClassName = className;
  RegisterClassA(&windowClass);
  RECT outer = {0, 0, clientArea.width, clientArea.height};
  AdjustWindowRectEx(&outer, style, FALSE, 0);
  return CreateWindowExA(0, className, title, style, CW_USEDEFAULT, CW_USEDEFAULT,
                         outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr,
                         instance, object);
}

void CentreOnScreen(HWND window) {
  RECT rect;
  GetWindowRect(window, &rect);
  const int left = CentredOrigin(GetSystemMetrics(SM_CXSCREEN), rect.right - rect.left);
  const int top = CentredOrigin(GetSystemMetrics(SM_CYSCREEN), rect.bottom - rect.top);
  SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HFONT CreateWindowFont(const char* face, int height, BYTE charset, BYTE pitchAndFamily) {
  return CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, charset, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, pitchAndFamily, face);
}

HWND CreateControl(HWND parent, int id, const char* className, const char* caption, DWORD style,
                   DWORD exStyle, const Rect& place, HFONT font) {
  HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent, GWLP_HINSTANCE));
  HWND control = CreateWindowExA(exStyle, className, caption, style, place.x, place.y, place.width,
                                 place.height, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance,
                                 nullptr);
  if (control && font) SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return control;
}

CaptionMetrics MeasureCaption(HWND window, HFONT font, const char* caption) {
  CaptionMetrics metrics;
  HDC dc = GetDC(window);
  HGDIOBJ old = SelectObject(dc, font);
  RECT rect = {0, 0, 0, 0};
  DrawTextA(dc, caption, -1, &rect, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, old);
  ReleaseDC(window, dc);
  metrics.text = {rect.right - rect.left, rect.bottom - rect.top};
  metrics.checkGlyph = {GetSystemMetrics(SM_CXMENUCHECK), GetSystemMetrics(SM_CYMENUCHECK)};
  return metrics;
}

void AppendAboutItem(HWND window, const char* item) {
  HMENU menu = GetSystemMenu(window, FALSE);
  AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(menu, MF_STRING, kAboutCommandId, item);
}

bool AnswerAboutCommand(WPARAM command, const char* text, const char* caption) {
  // Application items of the window menu arrive with their own id in wParam.
  if (command != static_cast<WPARAM>(kAboutCommandId)) return false;
  MessageBoxA(GetActiveWindow(), text, caption, MB_OK | MB_ICONINFORMATION);
  return true;
}

void PressButton(HWND window, HWND button, int id) {
  if (!button || !IsWindowEnabled(button) || !IsWindowVisible(button)) return;
  SendMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

std::string ReadWindowText(HWND window) {
  const int length = GetWindowTextLengthA(window);
  if (length <= 0) return std::string();
  std::string text(static_cast<size_t>(length) + 1, '\0');
  const int copied = GetWindowTextA(window, &text[0], length + 1);
  text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  return text;
}
