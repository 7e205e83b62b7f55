// Reading the windows of another process from a test driver: texts, classes, places, the focus,
// and waiting for one of its windows to show.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Waits up to timeoutMs for condition, letting this thread's own messages run meanwhile.
template <typename Condition>
bool WaitFor(Condition condition, DWORD timeoutMs = 10000) {
  const DWORD start = GetTickCount();
  while (!condition()) {
    if (GetTickCount() - start > timeoutMs) return false;
    Sleep(50);
  }
  return true;
}

// WM_GETTEXT itself: GetWindowText of another process's window returns only its caption. The
// text is asked for by length, then by bytes; a text replaced in between would come back cut
// or padded, so the read is repeated until the length before and after agree with the bytes.
inline std::string WindowText(HWND window) {
  std::string text;
  for (int attempt = 0; attempt < 10; ++attempt) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 10000, &length)) {
      return std::string();
    }
    std::vector<char> buffer(length + 2, '\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()),
                        SMTO_ABORTIFHUNG, 10000, &copied);
    text.assign(buffer.data(), copied);
    DWORD_PTR after = 0;
    SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 10000, &after);
    if (copied == length && after == length) break;
  }
  return text;
}

inline std::string ClassOf(HWND window) {
  char name[64] = "";
  GetClassNameA(window, name, sizeof(name));
  return name;
}

inline bool IsClass(HWND window, const char* name) {
  return lstrcmpiA(ClassOf(window).c_str(), name) == 0;
}

// A control's rectangle in the client area of its window.
inline RECT RectInClient(HWND window, HWND control) {
  RECT rect;
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

// The window that has the keyboard focus in that thread; nullptr for none.
inline HWND FocusOfThread(DWORD threadId) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  return GetGUIThreadInfo(threadId, &info) ? info.hwndFocus : nullptr;
}

struct ProcessWindowSearch {
  DWORD processId;
  const char* title;      // nullptr: any
  HWND owner;             // nullptr: any
  const char* className;  // nullptr: any
  HWND found;
};

inline BOOL CALLBACK MatchProcessWindow(HWND window, LPARAM parameter) {
  ProcessWindowSearch* search = reinterpret_cast<ProcessWindowSearch*>(parameter);
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  if (processId != search->processId || !IsWindowVisible(window)) return TRUE;
  if (search->owner && GetWindow(window, GW_OWNER) != search->owner) return TRUE;
  if (search->className && ClassOf(window) != search->className) return TRUE;
  if (search->title && WindowText(window) != search->title) return TRUE;
  search->found = window;
  return FALSE;
}

// A visible top-level window of the process with that title, owner and class, looked for until
// waitMs have passed; nullptr when none came.
inline HWND FindProcessWindow(DWORD processId, const char* title, HWND owner,
                              const char* className, DWORD waitMs) {
  ProcessWindowSearch search{processId, title, owner, className, nullptr};
  WaitFor([&] {
    EnumWindows(&MatchProcessWindow, reinterpret_cast<LPARAM>(&search));
    return search.found != nullptr;
  }, waitMs);
  return search.found;
}
