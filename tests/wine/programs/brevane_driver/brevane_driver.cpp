// Drives Brevane.exe as a user would: checks the window's controls, opens logs through the real
// open-file dialog, changes fields, generates, sorts by a heading, and saves or leaves.
//
// brevane_driver.exe <Brevane.exe> <scenario> [options]
//   scenario "full": --windows-list FILE --tftpd-log FILE --stage-dir DIR
//       (DIR\<stage> is written at "before" and "after", and the driver waits for DIR\<stage>.ok,
//        so the caller can take a screenshot), then saves with 保存退出. On the way a long log
//       of its own, written to the temporary folder, and the TFTPD32 log check that a selected
//       row follows a heading sort into view and stays selected after a generation.
//   scenario "road" --tftpd-log FILE: imports the log, types the batch's network settings,
//       generates from IP start 192.0.2.11 and saves.
//   scenario "save" (--tftpd-log FILE | --windows-list FILE) [--field ID=TEXT]... [--choose
//       domain]: imports the log in its format, sets each field whose control id is given to the
//       text, selects the domain option when asked, generates and saves. For comparing saves
//       made from the same log and field values by other means.
//   scenario "import" --log FILE --format tftpd32|windows --rows ROWS [--field ID=TEXT]...: chooses
//       the format, opens the log of any DHCP server through the dialog, checks the rows
//       ("001|||MAC;..."), sets the fields, generates and saves.
//   scenario "blocked-save" --tftpd-log FILE --stage-dir DIR --list FILE --reason TEXT: imports
//       and generates, expects a start address past 255 to be refused with a message, saves
//       while the caller blocks the list FILE, expects the message naming FILE
//       and TEXT with the window and rows kept, writes DIR\blocked and waits for
//       DIR\blocked.ok (the caller removes the cause), then saves again.
//   scenario "escape" --tftpd-log FILE: imports and generates, then presses Esc; the program
//       must end without saving.
//   scenario "exit" --tftpd-log FILE: the same, leaving with a click on 退出.
// Prints one line per check; exits 0 when every check passed.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "generator/generator_window.h"
#include "tests/hex_bytes.h"
#include "tests/pinned_texts.h"

namespace {

namespace ids = brevane_controls;
namespace texts = pinned_brevane_texts;

int g_failures = 0;
int g_checks = 0;

void Check(bool ok, const std::string& what) {
  ++g_checks;
  if (!ok) {
    ++g_failures;
    std::printf("FAILED: %s\n", what.c_str());
  }
  std::fflush(stdout);
}

void CheckBytes(const std::string& actual, const std::string& expected, const std::string& what) {
  ++g_checks;
  if (actual != expected) {
    ++g_failures;
    std::printf("FAILED: %s\n  actual:   %s\n  expected: %s\n", what.c_str(),
                HexBytes(actual).c_str(), HexBytes(expected).c_str());
  }
  std::fflush(stdout);
}

void Note(const std::string& text) {
  std::printf("-- %s\n", text.c_str());
  std::fflush(stdout);
}

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

// WM_GETTEXT itself: GetWindowText of another process's window returns only its caption, never
// the text of an edit box.
std::string WindowText(HWND window) {
  char buffer[4096] = "";
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXT, sizeof(buffer), reinterpret_cast<LPARAM>(buffer),
                           SMTO_ABORTIFHUNG, 5000, &length)) {
    return std::string();
  }
  return std::string(buffer, length < sizeof(buffer) ? static_cast<size_t>(length) : 0);
}

std::string ClassOf(HWND window) {
  char name[64] = "";
  GetClassNameA(window, name, sizeof(name));
  return name;
}

struct Target {
  PROCESS_INFORMATION process{};
  HWND main = nullptr;
  HWND Control(int id) const { return GetDlgItem(main, id); }
};

struct FindContext {
  DWORD processId;
  const char* title;
  HWND owner;  // when set: the window must be owned by it
  HWND found;
};

BOOL CALLBACK FindTopLevel(HWND window, LPARAM parameter) {
  FindContext* context = reinterpret_cast<FindContext*>(parameter);
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  if (processId != context->processId || !IsWindowVisible(window)) return TRUE;
  if (context->owner && GetWindow(window, GW_OWNER) != context->owner) return TRUE;
  if (context->title && WindowText(window) != context->title) return TRUE;
  context->found = window;
  return FALSE;
}

HWND FindProcessWindow(const Target& target, const char* title, HWND owner) {
  FindContext context{target.process.dwProcessId, title, owner, nullptr};
  EnumWindows(&FindTopLevel, reinterpret_cast<LPARAM>(&context));
  return context.found;
}

bool Start(const std::string& program, Target* target) {
  STARTUPINFOA startup;
  ZeroMemory(&startup, sizeof(startup));
  startup.cb = sizeof(startup);
  std::string commandLine = "\"" + program + "\"";
  if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &target->process)) {
    std::printf("FAILED: cannot start %s (error %lu)\n", program.c_str(), GetLastError());
    return false;
  }
  WaitForInputIdle(target->process.hProcess, 10000);
  if (!WaitFor([&] {
        target->main = FindProcessWindow(*target, texts::kWindowTitle, nullptr);
        return target->main != nullptr;
      }, 60000)) {
    std::printf("FAILED: no window titled Brevane V0.7\n");
    return false;
  }
  return true;
}

bool Ended(const Target& target, DWORD timeoutMs) {
  return WaitForSingleObject(target.process.hProcess, timeoutMs) == WAIT_OBJECT_0;
}

// Mouse input at the centre of a window (or at a point in screen coordinates).
void ClickAt(POINT at) {
  SetCursorPos(at.x, at.y);
  Sleep(50);
  INPUT inputs[2];
  ZeroMemory(inputs, sizeof(inputs));
  inputs[0].type = INPUT_MOUSE;
  inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  inputs[1].type = INPUT_MOUSE;
  inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, inputs, sizeof(INPUT));
  Sleep(150);
}

void Click(HWND window) {
  RECT rect;
  GetWindowRect(window, &rect);
  ClickAt(POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
}

// Moves the mouse pointer as a user would, with mouse-move input in absolute coordinates.
void MovePointer(POINT at) {
  INPUT input;
  ZeroMemory(&input, sizeof(input));
  input.type = INPUT_MOUSE;
  input.mi.dx = static_cast<LONG>((at.x * 65535LL) / (GetSystemMetrics(SM_CXSCREEN) - 1));
  input.mi.dy = static_cast<LONG>((at.y * 65535LL) / (GetSystemMetrics(SM_CYSCREEN) - 1));
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &input, sizeof(INPUT));
}

HWND TooltipOf(HWND main) {
  HWND tooltip = FindWindowExA(nullptr, nullptr, TOOLTIPS_CLASSA, nullptr);
  while (tooltip && GetWindow(tooltip, GW_OWNER) != main) {
    tooltip = FindWindowExA(nullptr, tooltip, TOOLTIPS_CLASSA, nullptr);
  }
  return tooltip;
}

// Rests the pointer on a control long enough for a hint; true when the tooltip window shows.
bool HoverShowsHint(HWND main, HWND control) {
  HWND tooltip = TooltipOf(main);
  RECT rect;
  GetWindowRect(control, &rect);
  MovePointer(POINT{5, 5});
  Sleep(700);
  MovePointer(POINT{(rect.left + rect.right) / 2 - 3, (rect.top + rect.bottom) / 2});
  Sleep(100);
  MovePointer(POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
  bool shown = false;
  WaitFor([&] { return (shown = tooltip && IsWindowVisible(tooltip)); }, 2500);
  return shown;
}

void PressKey(WORD key) {
  INPUT inputs[2];
  ZeroMemory(inputs, sizeof(inputs));
  inputs[0].type = INPUT_KEYBOARD;
  inputs[0].ki.wVk = key;
  inputs[1].type = INPUT_KEYBOARD;
  inputs[1].ki.wVk = key;
  inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, inputs, sizeof(INPUT));
  Sleep(150);
}

void PressShiftTab() {
  INPUT inputs[4];
  ZeroMemory(inputs, sizeof(inputs));
  const WORD keys[4] = {VK_SHIFT, VK_TAB, VK_TAB, VK_SHIFT};
  for (int i = 0; i < 4; ++i) {
    inputs[i].type = INPUT_KEYBOARD;
    inputs[i].ki.wVk = keys[i];
    inputs[i].ki.dwFlags = i >= 2 ? KEYEVENTF_KEYUP : 0;
  }
  SendInput(4, inputs, sizeof(INPUT));
  Sleep(150);
}

// Gives the keyboard focus to a control of the target, as a click on it would.
void Focus(const Target& target, HWND control) {
  const DWORD targetThread = GetWindowThreadProcessId(target.main, nullptr);
  const DWORD ownThread = GetCurrentThreadId();
  SetForegroundWindow(target.main);
  AttachThreadInput(ownThread, targetThread, TRUE);
  SetFocus(control);
  AttachThreadInput(ownThread, targetThread, FALSE);
  Sleep(100);
}

HWND FocusOf(const Target& target) {
  GUITHREADINFO info;
  ZeroMemory(&info, sizeof(info));
  info.cbSize = sizeof(info);
  GetGUIThreadInfo(GetWindowThreadProcessId(target.main, nullptr), &info);
  return info.hwndFocus;
}

// Memory in the target process, for list and tooltip messages that carry pointers.
class RemoteBuffer {
 public:
  RemoteBuffer(HANDLE process, size_t size) : process_(process), size_(size) {
    address_ = VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  }
  ~RemoteBuffer() {
    if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
  }
  char* At(size_t offset) const { return static_cast<char*>(address_) + offset; }
  void Write(size_t offset, const void* data, size_t size) {
    WriteProcessMemory(process_, At(offset), data, size, nullptr);
  }
  std::string ReadText(size_t offset, size_t max) {
    std::vector<char> data(max + 1, '\0');
    ReadProcessMemory(process_, At(offset), data.data(), max, nullptr);
    return std::string(data.data());
  }
  bool ok() const { return address_ != nullptr; }

 private:
  HANDLE process_;
  size_t size_;
  void* address_ = nullptr;
};

std::string CellText(const Target& target, int row, int column) {
  RemoteBuffer remote(target.process.hProcess, 4096);
  LVITEMA item;
  ZeroMemory(&item, sizeof(item));
  item.iSubItem = column;
  item.cchTextMax = 1024;
  item.pszText = remote.At(1024);
  remote.Write(0, &item, sizeof(item));
  SendMessageA(target.Control(ids::kList), LVM_GETITEMTEXTA, row,
               reinterpret_cast<LPARAM>(remote.At(0)));
  return remote.ReadText(1024, 1023);
}

// The rows as "sequence|IP|name|MAC;" in display order.
std::string Rows(const Target& target) {
  const int count = static_cast<int>(SendMessageA(target.Control(ids::kList), LVM_GETITEMCOUNT, 0, 0));
  std::string text;
  for (int row = 0; row < count; ++row) {
    for (int column = 0; column < 4; ++column) {
      text += CellText(target, row, column);
      text += column < 3 ? "|" : ";";
    }
  }
  return text;
}

std::string HeadingText(const Target& target, int column) {
  RemoteBuffer remote(target.process.hProcess, 4096);
  LVCOLUMNA heading;
  ZeroMemory(&heading, sizeof(heading));
  heading.mask = LVCF_TEXT;
  heading.cchTextMax = 1024;
  heading.pszText = remote.At(1024);
  remote.Write(0, &heading, sizeof(heading));
  SendMessageA(target.Control(ids::kList), LVM_GETCOLUMNA, column,
               reinterpret_cast<LPARAM>(remote.At(0)));
  return remote.ReadText(1024, 1023);
}

RECT RectInClient(const Target& target, HWND control) {
  RECT rect;
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, target.main, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

void SetText(HWND control, const char* text) {
  SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

// --- The window as it opens -----------------------------------------------------------------

struct ExpectedControl {
  int row;
  const char* className;
  const char* text;   // nullptr: not compared (arrows, list)
  int x, y;           // in the window's client area
  int width, height;  // 0: not compared (sizes of captions)
  bool enabled;
};

const ExpectedControl kExpected[] = {
    {1, "Button", texts::kOpenFileButton, 8, 536, 80, 25, true},
    {2, "Button", texts::kNameGroup, 264, 376, 249, 145, true},
    {3, "Static", texts::kPrefixLabel, 264 + 44, 376 + 87, 0, 0, true},
    {4, "Static", texts::kSuffixLabel, 264 + 44, 376 + 119, 0, 0, true},
    {5, "Static", texts::kFirstNumberLabel, 264 + 20, 376 + 23, 0, 0, true},
    {6, "Static", texts::kDigitsLabel, 264 + 68, 376 + 55, 0, 0, true},
    {9, "Edit", "1", 264 + 130, 376 + 19, 0, 22, true},
    {10, "Edit", "3", 264 + 138, 376 + 51, 0, 22, true},
    {11, "Edit", "COMPUTER", 264 + 130, 376 + 83, 100, 22, true},
    {12, "Edit", "", 264 + 130, 376 + 115, 100, 22, true},
    {13, "Button", texts::kFormatGroup, 8, 432, 249, 89, true},
    {14, "Button", "TFTPD32", 8 + 17, 432 + 26, 0, 0, true},
    {15, "Button", "Windows DHCP Server", 8 + 17, 432 + 50, 0, 0, true},
    {16, "Button", texts::kMembershipGroup, 264, 216, 249, 153, true},
    {17, "Static", texts::kPasswordLabel, 264 + 40, 216 + 124, 0, 0, false},
    {18, "Static", texts::kUsernameLabel, 264 + 40, 216 + 92, 0, 0, false},
    {19, "Edit", "", 264 + 72, 216 + 24, 161, 22, true},
    {20, "Edit", "", 264 + 72, 216 + 56, 161, 22, false},
    {21, "Edit", "", 264 + 88, 216 + 88, 145, 22, false},
    {22, "Edit", "", 264 + 88, 216 + 120, 145, 22, false},
    {23, "Button", texts::kWorkgroupOption, 264 + 8, 216 + 26, 0, 0, true},
    {24, "Button", texts::kDomainOption, 264 + 8, 216 + 58, 0, 0, true},
    {25, "Button", texts::kGenerateButton, 112, 536, 80, 25, false},
    {26, "Button", texts::kSaveExitButton, 328, 536, 80, 25, false},
    {27, "Button", texts::kExitButton, 432, 536, 80, 25, true},
    {28, "SysListView32", nullptr, 2, 2, 517, 207, true},
    {29, "Button", texts::kNetworkGroup, 8, 216, 249, 209, true},
    {30, "Static", texts::kMetricLabel, 8 + 63, 216 + 117, 0, 0, true},
    {31, "Static", texts::kDns1Label, 8 + 48, 216 + 149, 0, 0, true},
    {32, "Static", texts::kDns2Label, 8 + 48, 216 + 181, 0, 0, true},
    {33, "Static", texts::kIpStartLabel, 8 + 24, 216 + 23, 0, 0, true},
    {34, "Static", texts::kMaskLabel, 8 + 51, 216 + 54, 0, 0, true},
    {35, "Static", texts::kGatewayLabel, 8 + 51, 216 + 85, 0, 0, true},
    {37, "Edit", "192.168.0.1", 8 + 112, 216 + 19, 121, 22, true},
    {38, "Edit", "255.255.255.0", 8 + 112, 216 + 50, 121, 22, true},
    {39, "Edit", "", 8 + 112, 216 + 81, 121, 22, true},
    {40, "Edit", "0", 8 + 112, 216 + 113, 0, 22, true},
    {41, "Edit", "", 8 + 112, 216 + 145, 121, 22, true},
    {42, "Edit", "", 8 + 112, 216 + 177, 121, 22, true},
};

void CheckOpenedWindow(const Target& target) {
  Note("window as it opens");
  CheckBytes(WindowText(target.main), "Brevane V0.7", "title");
  RECT client;
  GetClientRect(target.main, &client);
  Check(client.right == 521 && client.bottom == 573,
        "client area 521 x 573, got " + std::to_string(client.right) + " x " +
            std::to_string(client.bottom));
  const LONG_PTR style = GetWindowLongPtrA(target.main, GWL_STYLE);
  Check(!(style & WS_MAXIMIZEBOX) && !(style & WS_THICKFRAME) && (style & WS_MINIMIZEBOX) &&
            (style & WS_SYSMENU),
        "frame: minimize box and window menu, no maximize box, no sizing border");
  RECT outer;
  GetWindowRect(target.main, &outer);
  const int left = (GetSystemMetrics(SM_CXSCREEN) - (outer.right - outer.left)) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - (outer.bottom - outer.top)) / 2;
  Check(outer.left == left && outer.top == top, "centred on the screen");
  // The icon is a handle of Brevane's own process under Wine (a query from here gives 0); the
  // screenshots show it in the title bar.

  for (const ExpectedControl& e : kExpected) {
    const std::string name = "control " + std::to_string(e.row);
    HWND control = target.Control(ControlId(e.row));
    Check(control != nullptr, name + " exists with id " + std::to_string(ControlId(e.row)));
    if (!control) continue;
    Check(lstrcmpiA(ClassOf(control).c_str(), e.className) == 0,
          name + " is a " + e.className + ", got " + ClassOf(control));
    if (e.text) CheckBytes(WindowText(control), e.text, name + " text");
    const RECT r = RectInClient(target, control);
    Check(r.left == e.x && r.top == e.y,
          name + " at " + std::to_string(e.x) + "," + std::to_string(e.y) + ", got " +
              std::to_string(r.left) + "," + std::to_string(r.top));
    if (e.width) {
      Check(r.right - r.left == e.width, name + " width " + std::to_string(e.width) + ", got " +
                                             std::to_string(r.right - r.left));
    }
    if (e.height) {
      Check(r.bottom - r.top == e.height, name + " height " + std::to_string(e.height) +
                                              ", got " + std::to_string(r.bottom - r.top));
    }
    if (!e.width && !e.height) {
      Check(r.right > r.left && r.bottom > r.top, name + " has the size of its caption");
    }
    Check((IsWindowEnabled(control) != FALSE) == e.enabled,
          name + (e.enabled ? " enabled" : " disabled"));
  }

  // Fields: digits only, read-only, the password shown in clear.
  const struct {
    int id;
    bool digitsOnly, readOnly;
  } fields[] = {{ids::kFirstNumber, true, false}, {ids::kDigits, true, true},
                {ids::kMetric, true, false},      {ids::kPrefix, false, false},
                {ids::kPassword, false, false},   {ids::kIpStart, false, false}};
  for (const auto& f : fields) {
    const LONG_PTR s = GetWindowLongPtrA(target.Control(f.id), GWL_STYLE);
    Check(((s & ES_NUMBER) != 0) == f.digitsOnly && ((s & ES_READONLY) != 0) == f.readOnly &&
              !(s & ES_PASSWORD),
          "field " + std::to_string(f.id) + " options");
  }

  // Up-down arrows: attached to their fields, ranges, start values, no thousands separators.
  const struct {
    int arrows, field, low, high, value;
  } arrows[] = {{ids::kFirstNumberArrows, ids::kFirstNumber, 0, 1000, 1},
                {ids::kDigitsArrows, ids::kDigits, 1, 5, 3},
                {ids::kMetricArrows, ids::kMetric, 0, 9999, 0}};
  for (const auto& a : arrows) {
    HWND updown = target.Control(a.arrows);
    const std::string name = "arrows " + std::to_string(a.arrows);
    Check(updown && lstrcmpiA(ClassOf(updown).c_str(), "msctls_updown32") == 0, name + " exist");
    Check(reinterpret_cast<HWND>(SendMessageA(updown, UDM_GETBUDDY, 0, 0)) ==
              target.Control(a.field),
          name + " attached to field " + std::to_string(a.field));
    const LRESULT range = SendMessageA(updown, UDM_GETRANGE, 0, 0);
    Check(HIWORD(range) == a.low && LOWORD(range) == a.high, name + " range");
    const LRESULT position = SendMessageA(updown, UDM_GETPOS, 0, 0);
    Check(HIWORD(position) == 0 && LOWORD(position) == a.value, name + " value");
    const LONG_PTR s = GetWindowLongPtrA(updown, GWL_STYLE);
    const LONG_PTR wanted = UDS_NOTHOUSANDS | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS;
    Check((s & wanted) == wanted, name + " styles");
    RECT field, box;
    GetWindowRect(target.Control(a.field), &field);
    GetWindowRect(updown, &box);
    Check(box.left >= field.right - 2 && box.left <= field.right + 2 && box.top == field.top,
          name + " stand at the right edge of the field");
  }

  // Options: the first format and the workgroup selected.
  const struct {
    int id;
    bool checked;
  } options[] = {{ids::kFormatTftpd32, true}, {ids::kFormatWindows, false},
                 {ids::kWorkgroupOption, true}, {ids::kDomainOption, false}};
  for (const auto& o : options) {
    Check((SendMessageA(target.Control(o.id), BM_GETCHECK, 0, 0) == BST_CHECKED) == o.checked,
          "option " + std::to_string(o.id) + (o.checked ? " selected" : " clear"));
  }
  Check((GetWindowLongPtrA(target.Control(ids::kOpenFile), GWL_STYLE) & BS_TYPEMASK) ==
            BS_DEFPUSHBUTTON,
        "打开文件 is the default button");

  // The list: report view, single selection kept visible, grid lines, full-row selection.
  HWND list = target.Control(ids::kList);
  const LONG_PTR listStyle = GetWindowLongPtrA(list, GWL_STYLE);
  Check((listStyle & LVS_TYPEMASK) == LVS_REPORT && (listStyle & LVS_SINGLESEL) &&
            (listStyle & LVS_SHOWSELALWAYS),
        "list: report view, single selection, selection shown without focus");
  const LRESULT extended = SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
  Check((extended & LVS_EX_GRIDLINES) && (extended & LVS_EX_FULLROWSELECT),
        "list: grid lines and full-row selection");
  const char* headings[] = {texts::kColumnSequence, texts::kColumnIp,
                            texts::kColumnComputerName, texts::kColumnMac};
  const int widths[] = {50, 90, 180, 120};
  for (int column = 0; column < 4; ++column) {
    CheckBytes(HeadingText(target, column), headings[column],
               "heading " + std::to_string(column));
    Check(SendMessageA(list, LVM_GETCOLUMNWIDTH, column, 0) == widths[column],
          "column width " + std::to_string(column));
  }
  Check(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) == 0, "the list starts empty");

  // One tooltip window owned by the main window, with eight tools.
  HWND tooltip = TooltipOf(target.main);
  Check(tooltip != nullptr, "tooltip window owned by the main window");
  if (tooltip) {
    Check(SendMessageA(tooltip, TTM_GETTOOLCOUNT, 0, 0) == 8, "eight tooltip tools");
    Check((GetWindowLongPtrA(tooltip, GWL_STYLE) & TTS_NOPREFIX) != 0, "tooltips without & processing");
    Check((GetWindowLongPtrA(tooltip, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0, "tooltip topmost");
    // The text of each tool, looked up by its control.
    const struct {
      int id;
      const char* text;
    } hints[] = {{ids::kIpStart, texts::kIpStartHint}, {ids::kGateway, texts::kGatewayHint},
                 {ids::kMetric, texts::kMetricHint},   {ids::kDns1, texts::kDnsHint},
                 {ids::kDns2, texts::kDnsHint},        {ids::kDomain, texts::kDomainHint},
                 {ids::kDomainOption, texts::kDomainHint},
                 {ids::kSaveExit, texts::kSaveExitHint}};
    for (const auto& hint : hints) {
      RemoteBuffer remote(target.process.hProcess, 4096);
      TOOLINFOA tool;
      ZeroMemory(&tool, sizeof(tool));
      tool.cbSize = sizeof(tool);
      tool.hwnd = target.main;
      tool.uId = reinterpret_cast<UINT_PTR>(target.Control(hint.id));
      tool.lpszText = remote.At(1024);
      remote.Write(0, &tool, sizeof(tool));
      SendMessageA(tooltip, TTM_GETTEXTA, 1024, reinterpret_cast<LPARAM>(remote.At(0)));
      // TTM_GETTEXTA hands back at most 80 bytes of a tool's text (the classic tooltip limit);
      // the longer domain hint is compared as far as it comes back.
      const std::string shown = remote.ReadText(1024, 1023);
      const std::string expected = hint.text;
      CheckBytes(shown, shown.size() == 80 && expected.size() > 80 ? expected.substr(0, 80) : expected,
                 "tooltip of " + std::to_string(hint.id));
    }
  }
}

// --- Behaviour ------------------------------------------------------------------------------

void CheckArrowsAndDigits(const Target& target) {
  Note("arrows and digits-only fields");
  struct Step {
    int field;
    const char* startText;  // nullptr: keep
    WORD key;
    int presses;
    const char* expected;
  } steps[] = {
      {ids::kDigits, nullptr, VK_UP, 4, "5"},        // stops at 5
      {ids::kDigits, nullptr, VK_DOWN, 6, "1"},      // stops at 1
      {ids::kDigits, nullptr, VK_UP, 2, "3"},        // back to the default
      {ids::kFirstNumber, "998", VK_UP, 4, "1000"},  // stops at 1000, no separator
      {ids::kFirstNumber, "1", VK_DOWN, 3, "0"},     // stops at 0
      {ids::kFirstNumber, nullptr, VK_UP, 1, "1"},
      {ids::kMetric, "9998", VK_UP, 3, "9999"},
      {ids::kMetric, nullptr, VK_DOWN, 1, "9998"},
      {ids::kMetric, "0", VK_DOWN, 1, "0"},
  };
  for (const Step& step : steps) {
    HWND field = target.Control(step.field);
    if (step.startText) SetText(field, step.startText);
    Focus(target, field);
    for (int i = 0; i < step.presses; ++i) PressKey(step.key);
    CheckBytes(WindowText(field), step.expected,
               "field " + std::to_string(step.field) + " after arrow keys");
  }
  // Letters typed into the first number and the metric are refused.
  for (int id : {ids::kFirstNumber, ids::kMetric}) {
    HWND field = target.Control(id);
    const std::string before = WindowText(field);
    Focus(target, field);
    PressKey('A');
    PressKey('Z');
    CheckBytes(WindowText(field), before, "letters refused in field " + std::to_string(id));
  }
  // Tab and Shift+Tab move between the controls that take the focus, in the table's order.
  Focus(target, target.Control(ids::kFirstNumber));
  const struct {
    bool back;
    int expected;
  } moves[] = {{false, ids::kDigits}, {false, ids::kPrefix}, {false, ids::kSuffix},
               {true, ids::kPrefix},  {true, ids::kDigits}};
  for (const auto& move : moves) {
    if (move.back) {
      PressShiftTab();
    } else {
      PressKey(VK_TAB);
    }
    Check(FocusOf(target) == target.Control(move.expected),
          std::string(move.back ? "Shift+Tab" : "Tab") + " moves the focus to " +
              std::to_string(move.expected));
  }
  // The number of digits cannot be typed into.
  Focus(target, target.Control(ids::kDigits));
  PressKey('4');
  CheckBytes(WindowText(target.Control(ids::kDigits)), "3", "digits field refuses typing");
}

void CheckMembership(const Target& target) {
  Note("membership options");
  const int domainSide[] = {ids::kDomain, ids::kUsernameLabel, ids::kPasswordLabel,
                            ids::kUsername, ids::kPassword};
  SetText(target.Control(ids::kWorkgroup), "WORKGROUP");
  // A disabled control shows no hint; the option "域:" shows the same hint at all times.
  Check(!HoverShowsHint(target.main, target.Control(ids::kDomain)),
        "no hint over the greyed domain field");
  Check(HoverShowsHint(target.main, target.Control(ids::kDomainOption)),
        "hint over the option 域: while the workgroup is chosen");
  Check(!HoverShowsHint(target.main, target.Control(ids::kSaveExit)),
        "no hint over the disabled 保存退出");
  for (bool domain : {true, false, true}) {
    Click(target.Control(domain ? ids::kDomainOption : ids::kWorkgroupOption));
    const std::string which = domain ? "after 域:" : "after 工作组:";
    Check((SendMessageA(target.Control(ids::kDomainOption), BM_GETCHECK, 0, 0) == BST_CHECKED) ==
              domain,
          which + " the domain option is " + (domain ? "selected" : "clear"));
    Check((SendMessageA(target.Control(ids::kWorkgroupOption), BM_GETCHECK, 0, 0) ==
           BST_CHECKED) == !domain,
          which + " the workgroup option is " + (domain ? "clear" : "selected"));
    Check((IsWindowEnabled(target.Control(ids::kWorkgroup)) != FALSE) == !domain,
          which + " workgroup field state");
    for (int id : domainSide) {
      Check((IsWindowEnabled(target.Control(id)) != FALSE) == domain,
            which + " state of " + std::to_string(id));
    }
    CheckBytes(WindowText(target.Control(ids::kWorkgroup)), "WORKGROUP",
               which + " the workgroup text stays");
    if (domain) SetText(target.Control(ids::kDomain), "corp.example");
  }
  CheckBytes(WindowText(target.Control(ids::kDomain)), "corp.example", "domain text stays");
  Check(HoverShowsHint(target.main, target.Control(ids::kDomain)),
        "hint over the domain field once it is enabled");
}

// Enter where it must do nothing, then Enter in an edit box opens the file dialog.
HWND OpenDialogWithEnter(const Target& target) {
  for (int id : {ids::kExit, ids::kFormatTftpd32}) {
    Focus(target, target.Control(id));
    Check(FocusOf(target) == target.Control(id), "focus on control " + std::to_string(id));
    PressKey(VK_RETURN);
    Sleep(300);
    Check(FindProcessWindow(target, nullptr, target.main) == nullptr &&
              WaitForSingleObject(target.process.hProcess, 0) == WAIT_TIMEOUT,
          "Enter on control " + std::to_string(id) + " does nothing");
  }
  Focus(target, target.Control(ids::kPrefix));
  Check(FocusOf(target) == target.Control(ids::kPrefix), "focus on the prefix field");
  PressKey(VK_RETURN);
  HWND dialog = nullptr;
  WaitFor([&] { return (dialog = FindProcessWindow(target, nullptr, target.main)) != nullptr; });
  Check(dialog != nullptr, "Enter in the prefix field opens the file dialog");
  return dialog;
}

HWND OpenDialogWithClick(const Target& target) {
  Click(target.Control(ids::kOpenFile));
  HWND dialog = nullptr;
  WaitFor([&] { return (dialog = FindProcessWindow(target, nullptr, target.main)) != nullptr; });
  Check(dialog != nullptr, "打开文件 opens the file dialog");
  return dialog;
}

// Types the path into the dialog's file-name box and presses its OK button.
void ChooseFile(HWND dialog, const std::string& path) {
  if (!dialog) return;
  Check(ClassOf(dialog) == "#32770", "the file dialog is a standard dialog");
  HWND name = GetDlgItem(dialog, 0x47C);  // the file-name combo box of the Explorer-style dialog
  if (name && lstrcmpiA(ClassOf(name).c_str(), "ComboBox") == 0) {
    HWND edit = FindWindowExA(name, nullptr, "Edit", nullptr);
    if (edit) name = edit;
  }
  if (!name) name = GetDlgItem(dialog, 0x480);  // the file-name edit box of the older dialog
  Check(name != nullptr, "the file dialog has a file-name box");
  // The file types: the filter's two entries, the first selected; no read-only check box.
  HWND types = GetDlgItem(dialog, 0x470);
  Check(types && SendMessageA(types, CB_GETCOUNT, 0, 0) == 2 &&
            SendMessageA(types, CB_GETCURSEL, 0, 0) == 0,
        "the file types list holds two entries, the first selected");
  if (types) {
    // The dialog's controls are Unicode windows; their text is asked for in UTF-16 and
    // converted to code page 936 for the byte comparison.
    wchar_t wide[256] = L"";
    SendMessageW(types, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(wide));
    char first[512] = "";
    WideCharToMultiByte(936, 0, wide, -1, first, sizeof(first), nullptr, nullptr);
    CheckBytes(first, "列表文件 (*.txt,*.ini,*.lst)", "first file type");
  }
  HWND readOnly = GetDlgItem(dialog, 0x410);
  Check(!readOnly || !IsWindowVisible(readOnly), "no read-only check box");
  if (!name) return;
  SetText(name, path.c_str());
  PostMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
  Check(WaitFor([&] { return !IsWindow(dialog); }), "the file dialog closes after OK");
}

void WaitForStage(const std::string& stageDir, const char* stage) {
  if (stageDir.empty()) return;
  const std::string marker = stageDir + "\\" + stage;
  HANDLE file = CreateFileA(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  const std::string ok = marker + ".ok";
  Check(WaitFor([&] { return GetFileAttributesA(ok.c_str()) != INVALID_FILE_ATTRIBUTES; }, 60000),
        std::string("screenshot taken at stage ") + stage);
}

void CheckAbout(const Target& target) {
  Note("About box");
  PostMessageA(target.main, WM_SYSCOMMAND, kAboutCommand, 0);
  HWND box = nullptr;
  WaitFor([&] { return (box = FindProcessWindow(target, texts::kAboutCaption, nullptr)) != nullptr; });
  Check(box != nullptr, "the About box appears with the caption 版本信息");
  if (!box) return;
  bool textFound = false;
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (WindowText(child) == texts::kAboutText) textFound = true;
  }
  Check(textFound, "the About box shows the four lines");
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  Check(WaitFor([&] { return !IsWindow(box); }), "the About box closes with OK");
}

// A real mouse click on a heading of the list.
void ClickHeading(const Target& target, int column) {
  HWND list = target.Control(ids::kList);
  HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
  RECT rect;
  GetWindowRect(header, &rect);
  int left = rect.left;
  for (int c = 0; c < column; ++c) left += static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, c, 0));
  const int width = static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, column, 0));
  ClickAt(POINT{left + width / 2, (rect.top + rect.bottom) / 2});
  // A second click within the double-click time would be a double click, which sorts nothing.
  Sleep(GetDoubleClickTime() + 100);
}

// The selected row, read with a message that carries no pointer; -1 for none.
int SelectedRow(const Target& target) {
  return static_cast<int>(SendMessageA(target.Control(ids::kList), LVM_GETNEXTITEM,
                                       static_cast<WPARAM>(-1), LVNI_SELECTED));
}

// Whether the row is wholly among the rows the list shows at its scroll position.
bool RowInView(const Target& target, int row) {
  HWND list = target.Control(ids::kList);
  const int top = static_cast<int>(SendMessageA(list, LVM_GETTOPINDEX, 0, 0));
  const int perPage = static_cast<int>(SendMessageA(list, LVM_GETCOUNTPERPAGE, 0, 0));
  return row >= top && row < top + perPage;
}

// Scrolls the row into the list's view and clicks it, as a user selects a machine.
void ClickRow(const Target& target, int row) {
  HWND list = target.Control(ids::kList);
  SendMessageA(list, LVM_ENSUREVISIBLE, row, FALSE);
  RemoteBuffer remote(target.process.hProcess, sizeof(RECT));
  RECT rect = {LVIR_BOUNDS, 0, 0, 0};
  remote.Write(0, &rect, sizeof(rect));
  SendMessageA(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(remote.At(0)));
  ReadProcessMemory(target.process.hProcess, remote.At(0), &rect, sizeof(rect), nullptr);
  POINT at = {rect.left + 25, (rect.top + rect.bottom) / 2};  // inside the 序号 cell
  ClientToScreen(list, &at);
  ClickAt(at);
  Check(WaitFor([&] { return SelectedRow(target) == row; }),
        "a click selects row " + std::to_string(row));
}

// After a sort or a generation the row of that MAC text is the selected one and in view.
void CheckSelectedMachine(const Target& target, const std::string& mac, const std::string& after) {
  const int row = SelectedRow(target);
  Check(row >= 0 && CellText(target, row, kColumnMac) == mac,
        "after " + after + " the row of " + mac + " is selected (selected row " +
            std::to_string(row) + ")");
  Check(row >= 0 && RowInView(target, row), "after " + after + " the selected row is in view");
}

// A list longer than the view: the row selected far down is moved out of the shown rows by the
// sort, which must select it and scroll to it; a generation keeps it and the scroll position.
void CheckSelectionInLongList(const Target& target) {
  Note("a long list: the selection follows the sort into view");
  char folder[MAX_PATH] = "";
  GetTempPathA(sizeof(folder), folder);
  const std::string log = std::string(folder) + "brevane-long-list.log";
  const int machines = 60;
  std::string lines;
  for (int i = 0; i < machines; ++i) {
    char line[128];
    std::snprintf(line, sizeof(line),
                  "Rcvd DHCP Discover Msg for IP 0.0.0.0, Mac 00:16:3e:00:10:%02x "
                  "[12/10 14:10:%02d.000]\r\n",
                  i, i);
    lines += line;
  }
  HANDLE file = CreateFileA(log.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  WriteFile(file, lines.data(), static_cast<DWORD>(lines.size()), &written, nullptr);
  CloseHandle(file);

  Click(target.Control(ids::kFormatTftpd32));
  ChooseFile(OpenDialogWithClick(target), log);
  HWND list = target.Control(ids::kList);
  Check(WaitFor([&] { return SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) == machines; }),
        "the long list shows every machine");
  const int perPage = static_cast<int>(SendMessageA(list, LVM_GETCOUNTPERPAGE, 0, 0));
  Check(perPage > 0 && perPage < machines / 2, "more rows than the list shows at once");

  const int chosen = machines - 10;
  ClickRow(target, chosen);
  const std::string mac = CellText(target, chosen, kColumnMac);
  const int topBefore = static_cast<int>(SendMessageA(list, LVM_GETTOPINDEX, 0, 0));
  ClickHeading(target, kColumnMac);  // descending: the row moves near the top
  const int moved = SelectedRow(target);
  CheckSelectedMachine(target, mac, "a sort of the long list");
  Check(moved >= 0 && moved < topBefore,
        "the sort moved the row above the rows shown before (" + std::to_string(moved) + " < " +
            std::to_string(topBefore) + ")");

  const int topAfterSort = static_cast<int>(SendMessageA(list, LVM_GETTOPINDEX, 0, 0));
  Click(target.Control(ids::kGenerate));
  Check(WaitFor([&] { return !CellText(target, 0, kColumnIp).empty(); }), "long list generated");
  CheckSelectedMachine(target, mac, "a generation of the long list");
  Check(SendMessageA(list, LVM_GETTOPINDEX, 0, 0) == topAfterSort,
        "the generation keeps the scroll position");
  DeleteFileA(log.c_str());
}

int RunFull(const Target& target, const std::string& windowsList, const std::string& tftpdLog,
            const std::string& stageDir) {
  CheckOpenedWindow(target);
  CheckArrowsAndDigits(target);
  CheckMembership(target);
  CheckAbout(target);

  Note("import a Windows DHCP Server list");
  Click(target.Control(ids::kFormatWindows));
  Check(SendMessageA(target.Control(ids::kFormatWindows), BM_GETCHECK, 0, 0) == BST_CHECKED &&
            SendMessageA(target.Control(ids::kFormatTftpd32), BM_GETCHECK, 0, 0) == BST_UNCHECKED,
        "the Windows DHCP Server format replaces TFTPD32");
  ChooseFile(OpenDialogWithEnter(target), windowsList);
  CheckBytes(Rows(target),
             "001|||000B29112233;002|||000B294E573A;003|||001A2B3C4D5E;",
             "rows of the Windows DHCP Server list");
  Check(IsWindowEnabled(target.Control(ids::kGenerate)) != FALSE, "生成列表 enabled by the import");
  Check(!IsWindowEnabled(target.Control(ids::kSaveExit)), "保存退出 still disabled");

  Note("generate with the defaults");
  Click(target.Control(ids::kGenerate));
  CheckBytes(Rows(target),
             "001|192.168.0.1|COMPUTER001|000B29112233;002|192.168.0.2|COMPUTER002|000B294E573A;"
             "003|192.168.0.3|COMPUTER003|001A2B3C4D5E;",
             "rows after the first generation");
  Check(IsWindowEnabled(target.Control(ids::kSaveExit)) != FALSE, "保存退出 enabled by generation");

  CheckSelectionInLongList(target);

  Note("import the TFTPD32 log");
  Click(target.Control(ids::kFormatTftpd32));
  ChooseFile(OpenDialogWithClick(target), tftpdLog);
  CheckBytes(Rows(target),
             "001|||000B294E573A;002|||000B29112233;003|||00E0FD3A1B02;004|||00E0FD3A1B01;",
             "rows of the TFTPD32 log");
  Check(SelectedRow(target) == -1, "a new import selects no row");
  Check(IsWindowEnabled(target.Control(ids::kSaveExit)) != FALSE,
        "保存退出 stays enabled after a second import");
  WaitForStage(stageDir, "before");

  Note("change fields, sort by the MAC heading, generate");
  SetText(target.Control(ids::kPrefix), "PC-");
  SetText(target.Control(ids::kSuffix), "-甲");
  SetText(target.Control(ids::kFirstNumber), "9");
  SetText(target.Control(ids::kIpStart), "10.1.2.250");
  SetText(target.Control(ids::kMask), "255.255.0.0");
  SetText(target.Control(ids::kGateway), " 10.1.0.254 ");
  SetText(target.Control(ids::kDns1), "10.1.0.53");
  SetText(target.Control(ids::kDns2), "10.1.0.54");
  SetText(target.Control(ids::kUsername), "joiner");
  SetText(target.Control(ids::kPassword), "p@ss word");
  Focus(target, target.Control(ids::kMetric));
  PressKey(VK_UP);
  PressKey(VK_UP);
  CheckBytes(WindowText(target.Control(ids::kMetric)), "2", "metric stepped to 2");

  // The machine 002 is selected; each sort moves it and keeps it selected.
  ClickRow(target, 1);
  ClickHeading(target, kColumnMac);  // after an import the first click sorts descending
  CheckBytes(Rows(target),
             "003|||00E0FD3A1B02;004|||00E0FD3A1B01;001|||000B294E573A;002|||000B29112233;",
             "rows sorted by MAC text, descending");
  CheckSelectedMachine(target, "000B29112233", "a sort");
  ClickHeading(target, kColumnMac);
  Check(SelectedRow(target) == 0, "ascending: the selected machine 002 moves to the top");
  ClickHeading(target, kColumnMac);
  CheckBytes(Rows(target),
             "003|||00E0FD3A1B02;004|||00E0FD3A1B01;001|||000B294E573A;002|||000B29112233;",
             "three clicks: descending again");
  CheckSelectedMachine(target, "000B29112233", "three sorts");

  Click(target.Control(ids::kGenerate));
  CheckBytes(Rows(target),
             "003|10.1.2.250|PC-009-甲|00E0FD3A1B02;004|10.1.2.251|PC-010-甲|00E0FD3A1B01;"
             "001|10.1.2.252|PC-011-甲|000B294E573A;002|10.1.2.253|PC-012-甲|000B29112233;",
             "rows generated in the sorted order");
  CheckSelectedMachine(target, "000B29112233", "a generation");
  WaitForStage(stageDir, "after");
  Check(HoverShowsHint(target.main, target.Control(ids::kSaveExit)),
        "hint over 保存退出 once it is enabled");
  WaitForStage(stageDir, "hint");

  Note("save and exit");
  Click(target.Control(ids::kSaveExit));
  Check(Ended(target, 15000), "保存退出 ends the program");
  return 0;
}

// The administrator's part of the road: the TFTPD32 log through the dialog, the batch's network
// settings and workgroup typed in, the default names and addresses, then save.
int RunRoad(const Target& target, const std::string& tftpdLog) {
  Note("road: log to mac.ini");
  ChooseFile(OpenDialogWithClick(target), tftpdLog);
  SetText(target.Control(ids::kIpStart), "192.0.2.11");
  SetText(target.Control(ids::kGateway), "192.0.2.1");
  SetText(target.Control(ids::kDns1), "192.0.2.53");
  SetText(target.Control(ids::kWorkgroup), "WORKGROUP");
  Click(target.Control(ids::kGenerate));
  CheckBytes(Rows(target),
             "001|192.0.2.11|COMPUTER001|000B294E573A;002|192.0.2.12|COMPUTER002|000B29112233;"
             "003|192.0.2.13|COMPUTER003|00E0FD3A1B02;004|192.0.2.14|COMPUTER004|00E0FD3A1B01;",
             "generated rows");
  Click(target.Control(ids::kSaveExit));
  Check(Ended(target, 15000), "保存退出 ends the program");
  return 0;
}

// Any log and field values, then generate and save; the caller compares the file.
int RunSave(const Target& target, const std::string& windowsList, const std::string& tftpdLog,
            const std::vector<std::string>& fields, bool domain) {
  Note("save: log and fields to mac.ini");
  const bool windows = !windowsList.empty();
  Click(target.Control(windows ? ids::kFormatWindows : ids::kFormatTftpd32));
  ChooseFile(OpenDialogWithClick(target), windows ? windowsList : tftpdLog);
  if (domain) Click(target.Control(ids::kDomainOption));
  for (const std::string& field : fields) {
    const size_t equals = field.find('=');
    Check(equals != std::string::npos, "field " + field + " has the form ID=TEXT");
    if (equals == std::string::npos) continue;
    HWND control = target.Control(std::atoi(field.substr(0, equals).c_str()));
    Check(control != nullptr, "control of field " + field);
    if (control) SetText(control, field.substr(equals + 1).c_str());
  }
  Click(target.Control(ids::kGenerate));
  Check(IsWindowEnabled(target.Control(ids::kSaveExit)) != FALSE, "generated: 保存退出 enabled");
  Click(target.Control(ids::kSaveExit));
  Check(Ended(target, 15000), "保存退出 ends the program");
  return 0;
}

// A lease file of any server through the dialog, with the window's format choice as given: the
// import's other readers take what the chosen rule cannot read.
int RunImport(const Target& target, const std::string& log, const std::string& format,
              const std::string& rows, const std::vector<std::string>& fields) {
  Note("import " + log + " with " + format + " chosen");
  Click(target.Control(format == "windows" ? ids::kFormatWindows : ids::kFormatTftpd32));
  ChooseFile(OpenDialogWithClick(target), log);
  CheckBytes(Rows(target), rows, "rows of the imported lease file");
  Check(IsWindowEnabled(target.Control(ids::kGenerate)) != FALSE, "生成列表 enabled by the import");
  for (const std::string& field : fields) {
    const size_t equals = field.find('=');
    HWND control = equals == std::string::npos
                       ? nullptr
                       : target.Control(std::atoi(field.substr(0, equals).c_str()));
    Check(control != nullptr, "control of field " + field);
    if (control) SetText(control, field.substr(equals + 1).c_str());
  }
  Click(target.Control(ids::kGenerate));
  Click(target.Control(ids::kSaveExit));
  Check(Ended(target, 15000), "保存退出 ends the program");
  return 0;
}

// The text of a message box of the program with that caption, closed with OK; "" when none came.
std::string AnswerMessageBox(const Target& target, const char* caption) {
  HWND box = nullptr;
  WaitFor([&] { return (box = FindProcessWindow(target, caption, nullptr)) != nullptr; });
  if (!box) return std::string();
  std::string text;
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (ClassOf(child) == "Static" && WindowText(child).size() > text.size()) text = WindowText(child);
  }
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  Check(WaitFor([&] { return !IsWindow(box); }), "the message box closes with OK");
  return text;
}

int RunBlockedSave(const Target& target, const std::string& tftpdLog, const std::string& stageDir,
                   const std::string& listPath, const std::string& reason) {
  Note("a save that cannot replace mac.ini");
  ChooseFile(OpenDialogWithClick(target), tftpdLog);
  Click(target.Control(ids::kGenerate));
  Check(WaitFor([&] { return !CellText(target, 0, kColumnIp).empty(); }), "rows generated");
  const std::string rows = Rows(target);

  SetText(target.Control(ids::kIpStart), "192.168.0.254");
  Click(target.Control(ids::kGenerate));
  const std::string refusal = AnswerMessageBox(target, "无法生成列表");
  Check(refusal.find("192.168.0.254 起只能分配 2 台") != std::string::npos,
        "addresses past 255 are refused, naming how many fit: " + refusal);
  CheckBytes(Rows(target), rows, "the refused generation left the rows");
  SetText(target.Control(ids::kIpStart), "192.168.0.1");

  Click(target.Control(ids::kSaveExit));
  const std::string message = AnswerMessageBox(target, "保存失败");
  Check(message.find("无法保存列表文件 " + listPath) == 0, "the message names the file: " + message);
  Check(message.find(reason) != std::string::npos, "the message gives the reason: " + message);
  Check(WaitForSingleObject(target.process.hProcess, 500) == WAIT_TIMEOUT, "the window stays open");
  CheckBytes(Rows(target), rows, "the rows are kept");

  WaitForStage(stageDir, "blocked");
  Note("the cause removed: save again");
  Click(target.Control(ids::kSaveExit));
  Check(Ended(target, 15000), "保存退出 ends the program");
  return 0;
}

int RunLeave(const Target& target, bool escape, const std::string& tftpdLog) {
  // A generation first, so that there would be something to save.
  Note(escape ? "Esc after a generation" : "退出 after a generation");
  ChooseFile(OpenDialogWithClick(target), tftpdLog);
  Click(target.Control(ids::kGenerate));
  Check(IsWindowEnabled(target.Control(ids::kSaveExit)) != FALSE, "generated: 保存退出 enabled");
  Check(WaitForSingleObject(target.process.hProcess, 0) == WAIT_TIMEOUT, "the program runs");
  // Esc works wherever the focus is, the list included.
  Focus(target, target.Control(ids::kList));
  if (escape) {
    PressKey(VK_ESCAPE);
  } else {
    Click(target.Control(ids::kExit));
  }
  Check(Ended(target, 10000), "the program ends at once, without a question");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::printf("usage: brevane_driver Brevane.exe full|escape|exit [options]\n");
    return 2;
  }
  const std::string program = argv[1];
  const std::string scenario = argv[2];
  std::string windowsList, tftpdLog, stageDir, leaseLog, leaseFormat, leaseRows, listPath, reason;
  std::vector<std::string> fields;
  bool domain = false;
  for (int i = 3; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    if (option == "--windows-list") windowsList = argv[i + 1];
    if (option == "--tftpd-log") tftpdLog = argv[i + 1];
    if (option == "--stage-dir") stageDir = argv[i + 1];
    if (option == "--field") fields.push_back(argv[i + 1]);
    if (option == "--choose") domain = std::string(argv[i + 1]) == "domain";
    if (option == "--log") leaseLog = argv[i + 1];
    if (option == "--format") leaseFormat = argv[i + 1];
    if (option == "--rows") leaseRows = argv[i + 1];
    if (option == "--list") listPath = argv[i + 1];
    if (option == "--reason") reason = argv[i + 1];
  }

  Target target;
  if (!Start(program, &target)) return 1;
  if (scenario == "full") {
    RunFull(target, windowsList, tftpdLog, stageDir);
  } else if (scenario == "road") {
    RunRoad(target, tftpdLog);
  } else if (scenario == "save") {
    RunSave(target, windowsList, tftpdLog, fields, domain);
  } else if (scenario == "import") {
    RunImport(target, leaseLog, leaseFormat, leaseRows, fields);
  } else if (scenario == "blocked-save") {
    RunBlockedSave(target, tftpdLog, stageDir, listPath, reason);
  } else if (scenario == "escape" || scenario == "exit") {
    RunLeave(target, scenario == "escape", tftpdLog);
  } else {
    std::printf("unknown scenario %s\n", scenario.c_str());
    return 2;
  }
  if (WaitForSingleObject(target.process.hProcess, 0) == WAIT_TIMEOUT) {
    TerminateProcess(target.process.hProcess, 1);
  }
  CloseHandle(target.process.hThread);
  CloseHandle(target.process.hProcess);
  std::printf("%d checks, %d failed\n", g_checks, g_failures);
  return g_failures == 0 ? 0 : 1;
}
