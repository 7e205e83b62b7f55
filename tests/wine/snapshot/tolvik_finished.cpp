// Tolvik's real window at the end of an apply ("修改完毕。"), held open for the guide's picture.
// The window and the logic are Tolvik's own; the system behind them is the recording fakes, so
// nothing is changed. The apply's posted close request is held back until the picture is taken:
// usage: tolvik_finished <stage file>; the file is written when the window is ready, and the
// program closes the window once "<stage file>.ok" exists.
#include <windows.h>

#include <cstdio>
#include <string>

#include "client/client_window_model.h"
#include "client/win32/client_window.h"
#include "tests/fakes/fake_client_platform.h"

namespace {

const char kList[] =
    "[Config]\r\nGateway=192.168.0.254\r\nGwmetric=0\r\nMask=255.255.255.0\r\nDNS1=192.168.0.53\r\n"
    "DNS2=\r\nWorkGroup=WORKGROUP\r\n[list]\r\n00E0FD3A1B01=192.168.0.1,COMPUTER001\r\n";

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: tolvik_finished <stage file>\n");
    return 2;
  }
  const std::string stage = argv[1];

  FakeClientPlatform fakes;
  fakes.adapters.Add("{A}", {0x00, 0xE0, 0xFD, 0x3A, 0x1B, 0x01});
  fakes.files.Put("C:\\Tolvik\\mac.ini", kList);
  Win32ClientWindow window(GetModuleHandleA(nullptr));
  ClientPlatform platform{fakes.profile, fakes.registry, fakes.adapters, fakes.processes,
                          fakes.files,   fakes.system,   window,           fakes.datagrams};
  if (!window.Create(&platform)) return 1;
  HWND hwnd = window.Handle();
  ShowWindow(hwnd, SW_SHOWNORMAL);
  UpdateWindow(hwnd);
  PostMessageA(hwnd, WM_COMMAND, MAKEWPARAM(ClientControlId(kRowApplyNow), BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(hwnd, ClientControlId(kRowApplyNow))));

  bool closeHeld = false;
  bool announced = false;
  for (int tick = 0; tick < 6000; ++tick) {  // at most about two minutes
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_CLOSE && msg.hwnd == hwnd) {
        closeHeld = true;  // the apply ran to its end
        continue;
      }
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    if (closeHeld && !announced && tick > 10) {
      RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
      FILE* f = std::fopen(stage.c_str(), "w");
      if (f) std::fclose(f);
      announced = true;
    }
    if (announced && Exists(stage + ".ok")) {
      DestroyWindow(hwnd);
      return 0;
    }
    Sleep(20);
  }
  std::fprintf(stderr, "the apply did not finish, or nobody took the picture\n");
  return 1;
}
