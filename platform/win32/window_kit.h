// The Win32 chores both program windows share, one small helper each: routing a window's messages
// to its object, the main window, fonts, controls, measuring a caption, the About item and box,
// pressing a button, and reading a window's text.
#pragma once

#include <windows.h>

#include <string>

#include "common/window_layout.h"

// The object a window was created for (CreateWindowExA's last parameter), kept with the window
// from WM_NCCREATE on; nullptr before that and after ForgetWindowObject.
void* WindowObject(HWND window, UINT message, LPARAM lParam);
void ForgetWindowObject(HWND window);

// The window procedure of a class whose objects handle their windows' messages: every message
// from WM_NCCREATE on goes to Handler::HandleMessage(HWND, UINT, WPARAM, LPARAM); the few that
// come before it go to DefWindowProcA.
template <typename Handler>
LRESULT CALLBACK ObjectWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Handler* handler = static_cast<Handler*>(WindowObject(window, message, lParam));
  if (!handler) return DefWindowProcA(window, message, wParam, lParam);
  return handler->HandleMessage(window, message, wParam, lParam);
}

// Registers the class of a program's main window (arrow cursor, button-face background, the icon
// when given) and creates the window with the outer size that gives the client area, at the
// default place; object receives its messages through procedure. Null when Windows refuses.
HWND CreateMainWindow(HINSTANCE instance, const char* className, WNDPROC procedure, HICON icon,
                      const char* title, DWORD style, Size clientArea, void* object);

// Moves the window to the middle of the screen by its outer size, keeping its size and Z order.
void CentreOnScreen(HWND window);

// A normal-weight font of that face; a negative height is the characters' height in pixels.
HFONT CreateWindowFont(const char* face, int height, BYTE charset, BYTE pitchAndFamily);

// A child control of the window with that id at place, in font (nullptr: the class's own).
HWND CreateControl(HWND parent, int id, const char* className, const char* caption, DWORD style,
                   DWORD exStyle, const Rect& place, HFONT font);

// What an auto-sized control needs: its caption in font as one line without prefix processing,
// and the check box square.
CaptionMetrics MeasureCaption(HWND window, HFONT font, const char* caption);

// The window-menu item "关于(&A)..." of both windows, and the box it shows.
constexpr int kAboutCommandId = 1025;
// Appends a separator and the item; a plain item, since a check mark beside it would suggest a
// setting that can be switched.
void AppendAboutItem(HWND window, const char* item);
// Shows the About box when a WM_SYSCOMMAND carries the item's id, owned by the active window,
// with the information icon and an OK button; true when it was the About item.
bool AnswerAboutCommand(WPARAM command, const char* text, const char* caption);

// Presses the window's button (its control of that id) as a click would, while it is enabled
// and visible.
void PressButton(HWND window, HWND button, int id);

// The text of a window of this process, as GetWindowTextA gives it.
std::string ReadWindowText(HWND window);
