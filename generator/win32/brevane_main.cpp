// Brevane's program entry: builds the main window, runs the message loop until it has closed.
#include <windows.h>

#include "generator/win32/brevane_window.h"
#include "platform/collation_api.h"
#include "platform/profile_api.h"
#include "platform/win32/win32_files.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  Win32FileApi files;
  BrevaneWindow window(files, SystemProfileApi(), SystemCollationApi());
  if (!window.Create(instance)) return 1;
  ShowWindow(window.Handle(), showCommand);
  UpdateWindow(window.Handle());

  // Tab and Shift+Tab move the focus through the dialog manager; Enter and Esc are decided by
  // the window itself first, because Enter on another button must not press that button.
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (window.PreTranslateKey(message)) continue;
    if (IsWindow(window.Handle()) && IsDialogMessageA(window.Handle(), &message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}
