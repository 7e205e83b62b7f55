// Drives Brevane.exe as a user would: checks the window's controls, opens logs through the real
// open-file dialog, changes fields, generates, sorts by a heading, and saves or leaves. Prints
// each failed check and the count; exits 0 when every check passed.
//
// brevane_driver.exe <Brevane.exe> <scenario> [options]
//   full --windows-list FILE --tftpd-log FILE --stage-dir DIR: the whole window, and a long log
//       of its own (in the temporary folder) whose selected row must follow a heading sort into
//       view and stay selected after a generation; saves with 保存退出. DIR\<stage> is written
//       at "before", "after" and "hint", then DIR\<stage>.ok awaited, for the caller's screenshots.
//   road --tftpd-log FILE: imports the log, types the batch's network settings, generates from
//       IP start 192.0.2.11 and saves.
//   save (--tftpd-log FILE | --windows-list FILE) [--field ID=TEXT]... [--choose domain]: imports
//       the log in its format, sets each field (by control id), selects the domain option when
//       asked, generates and saves; for comparing with saves made by other means.
//   import --log FILE --format tftpd32|windows --rows ROWS [--field ID=TEXT]... [--notice yes]:
//       opens the log of any DHCP server with that format chosen, checks the rows
//       ("001|||MAC;..."), with --notice answers the message that a lease file keeps no order of
//       first lease, sets the fields, generates and saves.
//   blocked-save --tftpd-log FILE --stage-dir DIR --list FILE --reason TEXT: a start address past
//       255 must be refused with a message; 保存退出 while the caller blocks FILE must show a
//       message naming FILE and TEXT and keep the window and rows; then DIR\blocked is written,
//       DIR\blocked.ok awaited (the caller removes the cause) and the list saved again.
//   escape | exit --tftpd-log FILE: imports and generates, then Esc or 退出 must end the program
//       without saving.
//   remove: a file without a MAC address must be answered by the message that says so; then a
//       log of six machines of its own (in the temporary folder) is imported and generated, two
//       rows selected with Ctrl removed by Delete and one more by the list's context menu; the
//       generation after that numbers the three remaining rows on without a gap, in their order,
//       and 保存退出 saves them.
//   picture --tftpd-log FILE --stage-dir DIR: the guide's picture: a workgroup, a 192.168.1.x
//       start address, the rows in import order; DIR\after is written, DIR\after.ok awaited.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "generator/generator_window_model.h"
#include "generator/list_model.h"
#include "platform/win32/window_kit.h"
#include "tests/hex_bytes.h"
#include "tests/pinned_texts.h"
#include "tests/wine/programs/window_probe.h"

namespace {

namespace ids = brevane_controls;
namespace texts = pinned_brevane_texts;

int g_failures = 0;
int g_checks = 0;

// Counts one check and prints what failed, with the detail; returns ok.
bool Check(bool ok, const std::string& what, const std::string& detail = "") {
  ++g_checks;
  if (!ok) {
    ++g_failures;
    std::printf("FAILED: %s%s\n", what.c_str(), detail.c_str());
  }
  std::fflush(stdout);
  return ok;
}

void CheckBytes(const std::string& actual, const std::string& expected, const std::string& what) {
  Check(actual == expected, what,
        "\n  actual:   " + HexBytes(actual) + "\n  expected: " + HexBytes(expected));
}

void CheckNumber(long long actual, long long expected, const std::string& what) {
  Check(actual == expected, what, ", got " + std::to_string(actual) + " instead of " +
                                      std::to_string(expected));
}

std::string Pair(long a, long b) { return std::to_string(a) + "," + std::to_string(b); }

void Note(const std::string& text) {
  std::printf("-- %s\n", text.c_str());
  std::fflush(stdout);
}

INPUT MouseInput(DWORD flags, LONG dx = 0, LONG dy = 0) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = dx;
  input.mi.dy = dy;
  input.mi.dwFlags = flags;
  return input;
}

// Mouse input at a point in screen coordinates.
void ClickAt(POINT at) {
  SetCursorPos(at.x, at.y);
  Sleep(50);
  INPUT inputs[2] = {MouseInput(MOUSEEVENTF_LEFTDOWN), MouseInput(MOUSEEVENTF_LEFTUP)};
  SendInput(2, inputs, sizeof(INPUT));
  Sleep(150);
}

POINT CentreOf(HWND window) {
  RECT rect;
  GetWindowRect(window, &rect);
  return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

struct Target {
  PROCESS_INFORMATION process{};
  HWND main = nullptr;
  HWND Control(int id) const { return GetDlgItem(main, id); }
  LRESULT Send(int id, UINT message, WPARAM w = 0, LPARAM l = 0) const {
    return SendMessageA(Control(id), message, w, l);
  }
  int List(UINT message, WPARAM w = 0, LPARAM l = 0) const {
    return static_cast<int>(Send(ids::kList, message, w, l));
  }
  void Click(int id) const { ClickAt(CentreOf(Control(id))); }
  bool Checked(int id) const { return Send(id, BM_GETCHECK) == BST_CHECKED; }
  bool Enabled(int id) const { return IsWindowEnabled(Control(id)) != FALSE; }
  std::string Text(int id) const { return WindowText(Control(id)); }
  void SetText(int id, const char* text) const {
    Send(id, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
  }
  bool Running(DWORD ms) const { return WaitForSingleObject(process.hProcess, ms) == WAIT_TIMEOUT; }
  bool Ended(DWORD ms) const { return WaitForSingleObject(process.hProcess, ms) == WAIT_OBJECT_0; }
  HWND Focused() const { return FocusOfThread(GetWindowThreadProcessId(main, nullptr)); }
  // Gives the keyboard focus to a control, as a click on it would.
  void Focus(int id) const {
    const DWORD thread = GetWindowThreadProcessId(main, nullptr);
    SetForegroundWindow(main);
    AttachThreadInput(GetCurrentThreadId(), thread, TRUE);
    SetFocus(Control(id));
    AttachThreadInput(GetCurrentThreadId(), thread, FALSE);
    Sleep(100);
  }
  // A visible window of the program (title, owner: nullptr for any), looked for for waitMs.
  HWND Window(const char* title, HWND owner, DWORD waitMs) const {
    return FindProcessWindow(process.dwProcessId, title, owner, nullptr, waitMs);
  }
};

bool Start(const std::string& program, Target* target) {
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  std::string commandLine = "\"" + program + "\"";
  if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &target->process)) {
    std::printf("FAILED: cannot start %s (error %lu)\n", program.c_str(), GetLastError());
    return false;
  }
  WaitForInputIdle(target->process.hProcess, 10000);
  target->main = target->Window(texts::kWindowTitle, nullptr, 60000);
  if (!target->main) std::printf("FAILED: no window titled Brevane V0.7\n");
  return target->main != nullptr;
}

// Moves the mouse pointer as a user would, with mouse-move input in absolute coordinates.
void MovePointer(POINT at) {
  const LONG x = static_cast<LONG>((at.x * 65535LL) / (GetSystemMetrics(SM_CXSCREEN) - 1));
  const LONG y = static_cast<LONG>((at.y * 65535LL) / (GetSystemMetrics(SM_CYSCREEN) - 1));
  INPUT input = MouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, x, y);
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
  const POINT centre = CentreOf(control);
  MovePointer(POINT{5, 5});
  Sleep(700);
  MovePointer(POINT{centre.x - 3, centre.y});
  Sleep(100);
  MovePointer(centre);
  bool shown = false;
  WaitFor([&] { return (shown = tooltip && IsWindowVisible(tooltip)); }, 2500);
  return shown;
}

// Presses the keys in order and releases them in reverse order: one key, or a chord (Shift+Tab).
void PressKeys(std::initializer_list<WORD> keys) {
  const size_t count = keys.size();
  std::vector<INPUT> inputs(2 * count);
  for (size_t i = 0; i < 2 * count; ++i) {
    inputs[i].type = INPUT_KEYBOARD;
    inputs[i].ki.wVk = keys.begin()[i < count ? i : 2 * count - 1 - i];
    inputs[i].ki.dwFlags = i < count ? 0 : KEYEVENTF_KEYUP;
  }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  Sleep(150);
}

// List and tooltip messages carry pointers: the record goes to memory in the target process,
// with room after it for the text it may point to. The record is copied back; returns the text.
template <typename Record>
std::string SendRecord(const Target& target, HWND window, UINT message, WPARAM w, Record* record,
                       LPSTR Record::*text = nullptr) {
  const HANDLE process = target.process.hProcess;
  const size_t kText = 1024;
  char* remote = static_cast<char*>(
      VirtualAllocEx(process, nullptr, 2 * kText, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  if (!remote) return std::string();
  if (text) record->*text = remote + kText;
  WriteProcessMemory(process, remote, record, sizeof(Record), nullptr);
  SendMessageA(window, message, w, reinterpret_cast<LPARAM>(remote));
  ReadProcessMemory(process, remote, record, sizeof(Record), nullptr);
  char result[kText] = "";
  ReadProcessMemory(process, remote + kText, result, kText - 1, nullptr);
  VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  return result;
}

std::string CellText(const Target& target, int row, int column) {
  LVITEMA item{};
  item.iSubItem = column;
  item.cchTextMax = 1024;
  return SendRecord(target, target.Control(ids::kList), LVM_GETITEMTEXTA, row, &item,
                    &LVITEMA::pszText);
}

// The rows as "sequence|IP|name|MAC;" in display order.
std::string Rows(const Target& target) {
  const int count = target.List(LVM_GETITEMCOUNT);
  std::string text;
  for (int row = 0; row < count; ++row) {
    for (int column = 0; column < 4; ++column) {
      text += CellText(target, row, column) + (column < 3 ? "|" : ";");
    }
  }
  return text;
}

std::string HeadingText(const Target& target, int column) {
  LVCOLUMNA heading{};
  heading.mask = LVCF_TEXT;
  heading.cchTextMax = 1024;
  return SendRecord(target, target.Control(ids::kList), LVM_GETCOLUMNA, column, &heading,
                    &LVCOLUMNA::pszText);
}

// --- The window as it opens -----------------------------------------------------------------

// The control's id, class, text (nullptr: not compared), place in the client area, size (0: not
// compared, captions), and whether enabled.
struct ExpectedControl {
  int id;
  const char *className, *text;
  int x, y, width, height;
  bool enabled;
};

const ExpectedControl kExpected[] = {
    {ids::kOpenFile, "Button", texts::kOpenFileButton, 8, 536, 80, 25, true},
    {ids::kNameGroup, "Button", texts::kNameGroup, 264, 376, 249, 145, true},
    {ids::kPrefixLabel, "Static", texts::kPrefixLabel, 264 + 44, 376 + 87, 0, 0, true},
    {ids::kSuffixLabel, "Static", texts::kSuffixLabel, 264 + 44, 376 + 119, 0, 0, true},
    {ids::kFirstNumberLabel, "Static", texts::kFirstNumberLabel, 264 + 20, 376 + 23, 0, 0, true},
    {ids::kDigitsLabel, "Static", texts::kDigitsLabel, 264 + 68, 376 + 55, 0, 0, true},
    {ids::kFirstNumber, "Edit", "1", 264 + 130, 376 + 19, 0, 22, true},
    {ids::kDigits, "Edit", "3", 264 + 138, 376 + 51, 0, 22, true},
    {ids::kPrefix, "Edit", "COMPUTER", 264 + 130, 376 + 83, 100, 22, true},
    {ids::kSuffix, "Edit", "", 264 + 130, 376 + 115, 100, 22, true},
    {ids::kFormatGroup, "Button", texts::kFormatGroup, 8, 432, 249, 89, true},
    {ids::kFormatTftpd32, "Button", "TFTPD32", 8 + 17, 432 + 26, 0, 0, true},
    {ids::kFormatWindows, "Button", "Windows DHCP Server", 8 + 17, 432 + 50, 0, 0, true},
    {ids::kMembershipGroup, "Button", texts::kMembershipGroup, 264, 216, 249, 153, true},
    {ids::kPasswordLabel, "Static", texts::kPasswordLabel, 264 + 40, 216 + 124, 0, 0, false},
    {ids::kUsernameLabel, "Static", texts::kUsernameLabel, 264 + 40, 216 + 92, 0, 0, false},
    {ids::kWorkgroup, "Edit", "", 264 + 72, 216 + 24, 161, 22, true},
    {ids::kDomain, "Edit", "", 264 + 72, 216 + 56, 161, 22, false},
    {ids::kUsername, "Edit", "", 264 + 88, 216 + 88, 145, 22, false},
    {ids::kPassword, "Edit", "", 264 + 88, 216 + 120, 145, 22, false},
    {ids::kWorkgroupOption, "Button", texts::kWorkgroupOption, 264 + 8, 216 + 26, 0, 0, true},
    {ids::kDomainOption, "Button", texts::kDomainOption, 264 + 8, 216 + 58, 0, 0, true},
    {ids::kGenerate, "Button", texts::kGenerateButton, 112, 536, 80, 25, false},
    {ids::kSaveExit, "Button", texts::kSaveExitButton, 328, 536, 80, 25, false},
    {ids::kExit, "Button", texts::kExitButton, 432, 536, 80, 25, true},
    {ids::kList, "SysListView32", nullptr, 2, 2, 517, 207, true},
    {ids::kNetworkGroup, "Button", texts::kNetworkGroup, 8, 216, 249, 209, true},
    {ids::kMetricLabel, "Static", texts::kMetricLabel, 8 + 63, 216 + 117, 0, 0, true},
    {ids::kDns1Label, "Static", texts::kDns1Label, 8 + 48, 216 + 149, 0, 0, true},
    {ids::kDns2Label, "Static", texts::kDns2Label, 8 + 48, 216 + 181, 0, 0, true},
    {ids::kIpStartLabel, "Static", texts::kIpStartLabel, 8 + 24, 216 + 23, 0, 0, true},
    {ids::kMaskLabel, "Static", texts::kMaskLabel, 8 + 51, 216 + 54, 0, 0, true},
    {ids::kGatewayLabel, "Static", texts::kGatewayLabel, 8 + 51, 216 + 85, 0, 0, true},
    {ids::kIpStart, "Edit", "192.168.0.1", 8 + 112, 216 + 19, 121, 22, true},
    {ids::kMask, "Edit", "255.255.255.0", 8 + 112, 216 + 50, 121, 22, true},
    {ids::kGateway, "Edit", "", 8 + 112, 216 + 81, 121, 22, true},
    {ids::kMetric, "Edit", "0", 8 + 112, 216 + 113, 0, 22, true},
    {ids::kDns1, "Edit", "", 8 + 112, 216 + 145, 121, 22, true},
    {ids::kDns2, "Edit", "", 8 + 112, 216 + 177, 121, 22, true},
    {ids::kReportCheck, "Button", texts::kReportCheck, 200, 540, 0, 0, true},
};

void CheckOpenedWindow(const Target& target) {
  Note("window as it opens");
  CheckBytes(WindowText(target.main), "Brevane V0.7", "title");
  RECT client;
  GetClientRect(target.main, &client);
  Check(client.right == 521 && client.bottom == 573,
        "client area 521 x 573, got " + Pair(client.right, client.bottom));
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
    const std::string name = "control " + std::to_string(e.id - ControlId(0));
    HWND control = target.Control(e.id);
    if (!Check(control != nullptr, name + " exists with id " + std::to_string(e.id))) {
      continue;
    }
    Check(IsClass(control, e.className),
          name + " is a " + e.className + ", got " + ClassOf(control));
    if (e.text) CheckBytes(WindowText(control), e.text, name + " text");
    const RECT r = RectInClient(target.main, control);
    Check(r.left == e.x && r.top == e.y,
          name + " at " + Pair(e.x, e.y) + ", got " + Pair(r.left, r.top));
    if (e.width) CheckNumber(r.right - r.left, e.width, name + " width");
    if (e.height) CheckNumber(r.bottom - r.top, e.height, name + " height");
    if (!e.width && !e.height) {
      Check(r.right > r.left && r.bottom > r.top, name + " has the size of its caption");
    }
    Check((IsWindowEnabled(control) != FALSE) == e.enabled,
          name + (e.enabled ? " enabled" : " disabled"));
  }

  // Fields: digits only, read-only, the password shown in clear.
  const struct { int id; bool digitsOnly, readOnly; } fields[] = {
      {ids::kFirstNumber, true, false}, {ids::kDigits, true, true}, {ids::kMetric, true, false},
      {ids::kPrefix, false, false}, {ids::kPassword, false, false}, {ids::kIpStart, false, false}};
  for (const auto& f : fields) {
    const LONG_PTR s = GetWindowLongPtrA(target.Control(f.id), GWL_STYLE);
    Check(((s & ES_NUMBER) != 0) == f.digitsOnly && ((s & ES_READONLY) != 0) == f.readOnly &&
              !(s & ES_PASSWORD),
          "field " + std::to_string(f.id) + " options");
  }

  // Up-down arrows: attached to their fields, ranges, start values, no thousands separators.
  const struct { int arrows, field, low, high, value; } arrows[] = {
      {ids::kFirstNumberArrows, ids::kFirstNumber, 0, 1000, 1},
      {ids::kDigitsArrows, ids::kDigits, 1, 5, 3}, {ids::kMetricArrows, ids::kMetric, 0, 9999, 0}};
  for (const auto& a : arrows) {
    HWND updown = target.Control(a.arrows);
    const std::string name = "arrows " + std::to_string(a.arrows);
    Check(updown && IsClass(updown, "msctls_updown32"), name + " exist");
    Check(reinterpret_cast<HWND>(target.Send(a.arrows, UDM_GETBUDDY)) == target.Control(a.field),
          name + " attached to field " + std::to_string(a.field));
    const LRESULT range = target.Send(a.arrows, UDM_GETRANGE);
    Check(HIWORD(range) == a.low && LOWORD(range) == a.high, name + " range");
    const LRESULT position = target.Send(a.arrows, UDM_GETPOS);
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
  const std::pair<int, bool> options[] = {{ids::kFormatTftpd32, true},
                                          {ids::kFormatWindows, false},
                                          {ids::kWorkgroupOption, true},
                                          {ids::kDomainOption, false},
                                          {ids::kReportCheck, false}};
  for (const auto& o : options) {
    Check(target.Checked(o.first) == o.second,
          "option " + std::to_string(o.first) + (o.second ? " selected" : " clear"));
  }
  Check((GetWindowLongPtrA(target.Control(ids::kOpenFile), GWL_STYLE) & BS_TYPEMASK) ==
            BS_DEFPUSHBUTTON,
        "打开文件 is the default button");

  // The list: report view, several rows selectable (to remove them together), the selection
  // kept visible, grid lines, full-row selection.
  const LONG_PTR listStyle = GetWindowLongPtrA(target.Control(ids::kList), GWL_STYLE);
  Check((listStyle & LVS_TYPEMASK) == LVS_REPORT && !(listStyle & LVS_SINGLESEL) &&
            (listStyle & LVS_SHOWSELALWAYS),
        "list: report view, several rows selectable, selection shown without focus");
  const int extended = target.List(LVM_GETEXTENDEDLISTVIEWSTYLE);
  Check((extended & LVS_EX_GRIDLINES) && (extended & LVS_EX_FULLROWSELECT),
        "list: grid lines and full-row selection");
  const char* headings[] = {texts::kColumnSequence, texts::kColumnIp,
                            texts::kColumnComputerName, texts::kColumnMac};
  const int widths[] = {50, 90, 180, 120};
  for (int column = 0; column < 4; ++column) {
    CheckBytes(HeadingText(target, column), headings[column], "heading " + std::to_string(column));
    CheckNumber(target.List(LVM_GETCOLUMNWIDTH, column), widths[column],
                "column width " + std::to_string(column));
  }
  CheckNumber(target.List(LVM_GETITEMCOUNT), 0, "the list starts empty");

  // One tooltip window owned by the main window, with eight tools.
  HWND tooltip = TooltipOf(target.main);
  if (!Check(tooltip != nullptr, "tooltip window owned by the main window")) return;
  CheckNumber(SendMessageA(tooltip, TTM_GETTOOLCOUNT, 0, 0), 8, "eight tooltip tools");
  Check((GetWindowLongPtrA(tooltip, GWL_STYLE) & TTS_NOPREFIX) != 0, "tooltips without & processing");
  Check((GetWindowLongPtrA(tooltip, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0, "tooltip topmost");
  // The text of each tool, looked up by its control.
  const std::pair<int, const char*> hints[] = {
      {ids::kIpStart, texts::kIpStartHint}, {ids::kGateway, texts::kGatewayHint},
      {ids::kMetric, texts::kMetricHint},   {ids::kDns1, texts::kDnsHint},
      {ids::kDns2, texts::kDnsHint},        {ids::kDomain, texts::kDomainHint},
      {ids::kDomainOption, texts::kDomainHint}, {ids::kSaveExit, texts::kSaveExitHint}};
  for (const auto& hint : hints) {
    TOOLINFOA tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = target.main;
    tool.uId = reinterpret_cast<UINT_PTR>(target.Control(hint.first));
    // TTM_GETTEXTA hands back at most 80 bytes of a tool's text (the classic tooltip limit);
    // the longer domain hint is compared as far as it comes back.
    const std::string shown =
        SendRecord(target, tooltip, TTM_GETTEXTA, 1024, &tool, &TOOLINFOA::lpszText);
    const std::string expected = hint.second;
    CheckBytes(shown, shown.size() == 80 && expected.size() > 80 ? expected.substr(0, 80) : expected,
               "tooltip of " + std::to_string(hint.first));
  }
}

// --- Behaviour ------------------------------------------------------------------------------

void CheckArrowsAndDigits(const Target& target) {
  Note("arrows and digits-only fields");
  // The field, its text first (nullptr: kept), the key, how often, the text expected. Letters
  // are refused where only digits go, and the number of digits cannot be typed into at all.
  struct Step { int field; const char* startText; WORD key; int presses; const char* expected; };
  const Step steps[] = {
      {ids::kDigits, nullptr, VK_UP, 4, "5"},        // stops at 5
      {ids::kDigits, nullptr, VK_DOWN, 6, "1"},      // stops at 1
      {ids::kDigits, nullptr, VK_UP, 2, "3"},        // back to the default
      {ids::kFirstNumber, "998", VK_UP, 4, "1000"},  // stops at 1000, no separator
      {ids::kFirstNumber, "1", VK_DOWN, 3, "0"},     // stops at 0
      {ids::kFirstNumber, nullptr, VK_UP, 1, "1"},
      {ids::kMetric, "9998", VK_UP, 3, "9999"},
      {ids::kMetric, nullptr, VK_DOWN, 1, "9998"},
      {ids::kMetric, "0", VK_DOWN, 1, "0"},
      {ids::kFirstNumber, nullptr, 'A', 1, "1"},
      {ids::kFirstNumber, nullptr, 'Z', 1, "1"},
      {ids::kMetric, nullptr, 'A', 1, "0"},
      {ids::kMetric, nullptr, 'Z', 1, "0"},
      {ids::kDigits, nullptr, '4', 1, "3"},
  };
  for (const Step& step : steps) {
    if (step.startText) target.SetText(step.field, step.startText);
    target.Focus(step.field);
    for (int i = 0; i < step.presses; ++i) PressKeys({step.key});
    CheckBytes(target.Text(step.field), step.expected,
               "field " + std::to_string(step.field) + " after keys " + std::to_string(step.key));
  }
  // Tab and Shift+Tab move between the controls that take the focus, in the table's order.
  target.Focus(ids::kFirstNumber);
  const std::pair<bool, int> moves[] = {{false, ids::kDigits}, {false, ids::kPrefix},
                                        {false, ids::kSuffix}, {true, ids::kPrefix},
                                        {true, ids::kDigits}};
  for (const auto& move : moves) {
    if (move.first) PressKeys({VK_SHIFT, VK_TAB});
    if (!move.first) PressKeys({VK_TAB});
    Check(target.Focused() == target.Control(move.second),
          std::string(move.first ? "Shift+Tab" : "Tab") + " moves the focus to " +
              std::to_string(move.second));
  }
}

void CheckMembership(const Target& target) {
  Note("membership options");
  target.SetText(ids::kWorkgroup, "WORKGROUP");
  // A disabled control shows no hint; the option "域:" shows the same hint at all times.
  const struct { int id; bool shown; const char* what; } hovers[] = {
      {ids::kDomain, false, "no hint over the greyed domain field"},
      {ids::kDomainOption, true, "hint over the option 域: while the workgroup is chosen"},
      {ids::kSaveExit, false, "no hint over the disabled 保存退出"}};
  for (const auto& h : hovers) {
    Check(HoverShowsHint(target.main, target.Control(h.id)) == h.shown, h.what);
  }
  for (bool domain : {true, false, true}) {
    target.Click(domain ? ids::kDomainOption : ids::kWorkgroupOption);
    const std::string which = domain ? "after 域:" : "after 工作组:";
    Check(target.Checked(ids::kDomainOption) == domain,
          which + " the domain option is " + (domain ? "selected" : "clear"));
    Check(target.Checked(ids::kWorkgroupOption) == !domain,
          which + " the workgroup option is " + (domain ? "clear" : "selected"));
    Check(target.Enabled(ids::kWorkgroup) == !domain, which + " workgroup field state");
    for (int id : {ids::kDomain, ids::kUsernameLabel, ids::kPasswordLabel, ids::kUsername,
                   ids::kPassword}) {
      Check(target.Enabled(id) == domain, which + " state of " + std::to_string(id));
    }
    CheckBytes(target.Text(ids::kWorkgroup), "WORKGROUP", which + " the workgroup text stays");
    if (domain) target.SetText(ids::kDomain, "corp.example");
  }
  CheckBytes(target.Text(ids::kDomain), "corp.example", "domain text stays");
  Check(HoverShowsHint(target.main, target.Control(ids::kDomain)),
        "hint over the domain field once it is enabled");
}

// The file dialog the program has opened, owned by its window.
HWND FileDialog(const Target& target, const std::string& what) {
  HWND dialog = target.Window(nullptr, target.main, 10000);
  Check(dialog != nullptr, what);
  return dialog;
}

// Enter where it must do nothing, then Enter in an edit box opens the file dialog.
HWND OpenDialogWithEnter(const Target& target) {
  for (int id : {ids::kExit, ids::kFormatTftpd32, ids::kPrefix}) {
    target.Focus(id);
    Check(target.Focused() == target.Control(id), id == ids::kPrefix
                                                      ? "focus on the prefix field"
                                                      : "focus on control " + std::to_string(id));
    PressKeys({VK_RETURN});
    if (id == ids::kPrefix) break;
    Sleep(300);
    Check(target.Window(nullptr, target.main, 0) == nullptr && target.Running(0),
          "Enter on control " + std::to_string(id) + " does nothing");
  }
  return FileDialog(target, "Enter in the prefix field opens the file dialog");
}

// Types the path into the dialog's file-name box and presses its OK button.
void ChooseFile(HWND dialog, const std::string& path) {
  if (!dialog) return;
  Check(ClassOf(dialog) == "#32770", "the file dialog is a standard dialog");
  HWND name = GetDlgItem(dialog, 0x47C);  // the file-name combo box of the Explorer-style dialog
  if (name && IsClass(name, "ComboBox")) {
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
  SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
  PostMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
  Check(WaitFor([&] { return !IsWindow(dialog); }), "the file dialog closes after OK");
}

// Chooses the format (0: keeps it), opens the file through 打开文件 and its dialog.
void Import(const Target& target, int format, const std::string& path) {
  if (format) target.Click(format);
  target.Click(ids::kOpenFile);
  ChooseFile(FileDialog(target, "打开文件 opens the file dialog"), path);
}

void WaitForStage(const std::string& stageDir, const char* stage) {
  if (stageDir.empty()) return;
  const std::string marker = stageDir + "\\" + stage;
  std::ofstream(marker.c_str());
  const std::string ok = marker + ".ok";
  Check(WaitFor([&] { return GetFileAttributesA(ok.c_str()) != INVALID_FILE_ATTRIBUTES; }, 60000),
        std::string("screenshot taken at stage ") + stage);
}

// Waits for the program's window with that caption, reads the texts of its children (of that
// class, when given) and closes it with OK; no texts when none came.
std::vector<std::string> AnswerBox(const Target& target, const char* caption,
                                   const char* className, const std::string& name) {
  std::vector<std::string> shown;
  HWND box = target.Window(caption, nullptr, 10000);
  if (!box) return shown;
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!className || ClassOf(child) == className) shown.push_back(WindowText(child));
  }
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  Check(WaitFor([&] { return !IsWindow(box); }), name + " closes with OK");
  return shown;
}

void CheckAbout(const Target& target) {
  Note("About box");
  PostMessageA(target.main, WM_SYSCOMMAND, kAboutCommandId, 0);
  const std::vector<std::string> shown =
      AnswerBox(target, texts::kAboutCaption, nullptr, "the About box");
  if (!Check(!shown.empty(), "the About box appears with the caption 版本信息")) return;
  Check(std::find(shown.begin(), shown.end(), texts::kAboutText) != shown.end(),
        "the About box shows the four lines");
}

// The longest text of a message box of the program with that caption, closed with OK; "" when
// none came.
std::string AnswerMessageBox(const Target& target, const char* caption) {
  std::string text;
  for (const std::string& shown : AnswerBox(target, caption, "Static", "the message box")) {
    if (shown.size() > text.size()) text = shown;
  }
  return text;
}

// A real mouse click on a heading of the list.
void ClickHeading(const Target& target, int column) {
  RECT rect;
  GetWindowRect(reinterpret_cast<HWND>(target.Send(ids::kList, LVM_GETHEADER)), &rect);
  int left = rect.left;
  for (int c = 0; c < column; ++c) left += target.List(LVM_GETCOLUMNWIDTH, c);
  ClickAt(POINT{left + target.List(LVM_GETCOLUMNWIDTH, column) / 2, (rect.top + rect.bottom) / 2});
  // A second click within the double-click time would be a double click, which sorts nothing.
  Sleep(GetDoubleClickTime() + 100);
}

// The selected row, read with a message that carries no pointer; -1 for none.
int SelectedRow(const Target& target) {
  return target.List(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
}

// Scrolls the row into the list's view and clicks it, as a user selects a machine.
void ClickRow(const Target& target, int row) {
  target.Send(ids::kList, LVM_ENSUREVISIBLE, row, FALSE);
  RECT rect = {LVIR_BOUNDS, 0, 0, 0};
  SendRecord(target, target.Control(ids::kList), LVM_GETITEMRECT, row, &rect);
  POINT at = {rect.left + 25, (rect.top + rect.bottom) / 2};  // inside the 序号 cell
  ClientToScreen(target.Control(ids::kList), &at);
  ClickAt(at);
  Check(WaitFor([&] { return SelectedRow(target) == row; }),
        "a click selects row " + std::to_string(row));
}

// After a sort or a generation the row of that MAC text is the selected one, and wholly among
// the rows the list shows at its scroll position.
void CheckSelectedMachine(const Target& target, const std::string& mac, const std::string& after) {
  const int row = SelectedRow(target);
  Check(row >= 0 && CellText(target, row, kColumnMac) == mac,
        "after " + after + " the row of " + mac + " is selected (selected row " +
            std::to_string(row) + ")");
  const int top = target.List(LVM_GETTOPINDEX);
  Check(row >= 0 && row >= top && row < top + target.List(LVM_GETCOUNTPERPAGE),
        "after " + after + " the selected row is in view");
}

// A list longer than the view: the row selected far down is moved out of the shown rows by the
// sort, which must select it and scroll to it; a generation keeps it and the scroll position.
void CheckSelectionInLongList(const Target& target) {
  Note("a long list: the selection follows the sort into view");
  char folder[MAX_PATH] = "";
  GetTempPathA(sizeof(folder), folder);
  const std::string log = std::string(folder) + "brevane-long-list.log";
  const int machines = 60;
  std::ofstream file(log.c_str(), std::ios::binary);
  for (int i = 0; i < machines; ++i) {
    char line[128];
    std::snprintf(line, sizeof(line), "Rcvd DHCP Discover Msg for IP 0.0.0.0, Mac "
                  "00:16:3e:00:10:%02x [12/10 14:10:%02d.000]\r\n", i, i);
    file << line;
  }
  file.close();
  Import(target, ids::kFormatTftpd32, log);
  Check(WaitFor([&] { return target.List(LVM_GETITEMCOUNT) == machines; }),
        "the long list shows every machine");
  const int perPage = target.List(LVM_GETCOUNTPERPAGE);
  Check(perPage > 0 && perPage < machines / 2, "more rows than the list shows at once");

  const int chosen = machines - 10;
  ClickRow(target, chosen);
  const std::string mac = CellText(target, chosen, kColumnMac);
  const int topBefore = target.List(LVM_GETTOPINDEX);
  ClickHeading(target, kColumnMac);  // descending: the row moves near the top
  const int moved = SelectedRow(target);
  CheckSelectedMachine(target, mac, "a sort of the long list");
  Check(moved >= 0 && moved < topBefore,
        "the sort moved the row above the rows shown before (" + std::to_string(moved) + " < " +
            std::to_string(topBefore) + ")");

  const int topAfterSort = target.List(LVM_GETTOPINDEX);
  target.Click(ids::kGenerate);
  Check(WaitFor([&] { return !CellText(target, 0, kColumnIp).empty(); }), "long list generated");
  CheckSelectedMachine(target, mac, "a generation of the long list");
  CheckNumber(target.List(LVM_GETTOPINDEX), topAfterSort,
              "the generation keeps the scroll position");
  DeleteFileA(log.c_str());
}

void SetTexts(const Target& target, std::initializer_list<std::pair<int, const char*>> texts) {
  for (const auto& text : texts) target.SetText(text.first, text.second);
}

// Each "ID=TEXT" sets the text of the control with that id.
void SetFields(const Target& target, const std::vector<std::string>& fields) {
  for (const std::string& field : fields) {
    const size_t equals = field.find('=');
    if (!Check(equals != std::string::npos, "field " + field + " has the form ID=TEXT")) continue;
    const int id = std::atoi(field.substr(0, equals).c_str());
    if (Check(target.Control(id) != nullptr, "control of field " + field)) {
      target.SetText(id, field.substr(equals + 1).c_str());
    }
  }
}

void SaveAndExit(const Target& target) {
  target.Click(ids::kSaveExit);
  Check(target.Ended(15000), "保存退出 ends the program");
}

// The command line's options: the last value of each.
using Options = std::map<std::string, std::string>;

void RunFull(const Target& target, Options& options) {
  const std::string stageDir = options["--stage-dir"];
  CheckOpenedWindow(target);
  CheckArrowsAndDigits(target);
  CheckMembership(target);
  CheckAbout(target);

  Note("import a Windows DHCP Server list");
  target.Click(ids::kFormatWindows);
  Check(target.Checked(ids::kFormatWindows) && !target.Checked(ids::kFormatTftpd32),
        "the Windows DHCP Server format replaces TFTPD32");
  ChooseFile(OpenDialogWithEnter(target), options["--windows-list"]);
  CheckBytes(Rows(target), "001|||000B29112233;002|||000B294E573A;003|||001A2B3C4D5E;",
             "rows of the Windows DHCP Server list");
  Check(target.Enabled(ids::kGenerate), "生成列表 enabled by the import");
  Check(!target.Enabled(ids::kSaveExit), "保存退出 still disabled");

  Note("generate with the defaults");
  target.Click(ids::kGenerate);
  CheckBytes(Rows(target),
             "001|192.168.0.1|COMPUTER001|000B29112233;002|192.168.0.2|COMPUTER002|000B294E573A;"
             "003|192.168.0.3|COMPUTER003|001A2B3C4D5E;",
             "rows after the first generation");
  Check(target.Enabled(ids::kSaveExit), "保存退出 enabled by generation");

  CheckSelectionInLongList(target);

  Note("import the TFTPD32 log");
  Import(target, ids::kFormatTftpd32, options["--tftpd-log"]);
  CheckBytes(Rows(target),
             "001|||000B294E573A;002|||000B29112233;003|||00E0FD3A1B02;004|||00E0FD3A1B01;",
             "rows of the TFTPD32 log");
  CheckNumber(SelectedRow(target), -1, "a new import selects no row");
  Check(target.Enabled(ids::kSaveExit), "保存退出 stays enabled after a second import");
  WaitForStage(stageDir, "before");

  Note("change fields, sort by the MAC heading, generate");
  SetTexts(target, {{ids::kPrefix, "PC-"}, {ids::kSuffix, "-甲"}, {ids::kFirstNumber, "9"},
                    {ids::kIpStart, "10.1.2.250"}, {ids::kMask, "255.255.0.0"},
                    {ids::kGateway, " 10.1.0.254 "}, {ids::kDns1, "10.1.0.53"},
                    {ids::kDns2, "10.1.0.54"}, {ids::kUsername, "joiner"},
                    {ids::kPassword, "p@ss word"}});
  target.Focus(ids::kMetric);
  PressKeys({VK_UP});
  PressKeys({VK_UP});
  CheckBytes(target.Text(ids::kMetric), "2", "metric stepped to 2");

  // The machine 002 is selected; each sort moves it and keeps it selected.
  const char* descending =
      "003|||00E0FD3A1B02;004|||00E0FD3A1B01;001|||000B294E573A;002|||000B29112233;";
  ClickRow(target, 1);
  ClickHeading(target, kColumnMac);  // after an import the first click sorts descending
  CheckBytes(Rows(target), descending, "rows sorted by MAC text, descending");
  CheckSelectedMachine(target, "000B29112233", "a sort");
  ClickHeading(target, kColumnMac);
  CheckNumber(SelectedRow(target), 0, "ascending: the selected machine 002 moves to the top");
  ClickHeading(target, kColumnMac);
  CheckBytes(Rows(target), descending, "three clicks: descending again");
  CheckSelectedMachine(target, "000B29112233", "three sorts");

  target.Click(ids::kGenerate);
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
  SaveAndExit(target);
}

// The administrator's part of the road: the TFTPD32 log through the dialog, the batch's network
// settings and workgroup typed in, the default names and addresses, then save.
void RunRoad(const Target& target, Options& options) {
  Note("road: log to mac.ini");
  Import(target, 0, options["--tftpd-log"]);
  SetTexts(target, {{ids::kIpStart, "192.0.2.11"}, {ids::kGateway, "192.0.2.1"},
                    {ids::kDns1, "192.0.2.53"}, {ids::kWorkgroup, "WORKGROUP"}});
  target.Click(ids::kGenerate);
  CheckBytes(Rows(target),
             "001|192.0.2.11|COMPUTER001|000B294E573A;002|192.0.2.12|COMPUTER002|000B29112233;"
             "003|192.0.2.13|COMPUTER003|00E0FD3A1B02;004|192.0.2.14|COMPUTER004|00E0FD3A1B01;",
             "generated rows");
  SaveAndExit(target);
}

// A log through the dialog with that format chosen (the import's other readers take what the
// chosen rule cannot read), its rows checked when given, the fields set and the domain option
// chosen when asked, then generate and save; the caller compares the file.
void RunSave(const Target& target, int format, const std::string& log, const std::string* rows,
             const std::vector<std::string>& fields, bool domain, bool notice = false) {
  Note("save: " + log + " to mac.ini");
  Import(target, format, log);
  if (notice) {
    CheckBytes(AnswerMessageBox(target, texts::kLeaseOrderCaption), texts::kLeaseOrderNotice,
               "the notice after a lease file");
  }
  if (rows) CheckBytes(Rows(target), *rows, "rows of the imported lease file");
  if (rows) Check(target.Enabled(ids::kGenerate), "生成列表 enabled by the import");
  if (domain) target.Click(ids::kDomainOption);
  SetFields(target, fields);
  target.Click(ids::kGenerate);
  Check(target.Enabled(ids::kSaveExit), "generated: 保存退出 enabled");
  SaveAndExit(target);
}

void RunBlockedSave(const Target& target, Options& options) {
  Note("a save that cannot replace mac.ini");
  Import(target, 0, options["--tftpd-log"]);
  target.Click(ids::kGenerate);
  Check(WaitFor([&] { return !CellText(target, 0, kColumnIp).empty(); }), "rows generated");
  const std::string rows = Rows(target);

  target.SetText(ids::kIpStart, "192.168.0.254");
  target.Click(ids::kGenerate);
  const std::string refusal = AnswerMessageBox(target, "无法生成列表");
  Check(refusal.find("192.168.0.254 起只能分配 2 台") != std::string::npos,
        "addresses past 255 are refused, naming how many fit: " + refusal);
  CheckBytes(Rows(target), rows, "the refused generation left the rows");
  target.SetText(ids::kIpStart, "192.168.0.1");

  target.Click(ids::kSaveExit);
  const std::string message = AnswerMessageBox(target, "保存失败");
  Check(message.find("无法保存列表文件 " + options["--list"]) == 0,
        "the message names the file: " + message);
  Check(message.find(options["--reason"]) != std::string::npos,
        "the message gives the reason: " + message);
  Check(target.Running(500), "the window stays open");
  CheckBytes(Rows(target), rows, "the rows are kept");

  WaitForStage(options["--stage-dir"], "blocked");
  Note("the cause removed: save again");
  SaveAndExit(target);
}

// A file in the temporary folder with these bytes; returns its path.
std::string TemporaryFile(const char* name, const std::string& bytes) {
  char folder[MAX_PATH] = "";
  GetTempPathA(sizeof(folder), folder);
  const std::string path = std::string(folder) + name;
  std::ofstream(path.c_str(), std::ios::binary) << bytes;
  return path;
}

// Ctrl held while the row is clicked: the row joins the selection.
void CtrlClickRow(const Target& target, int row) {
  RECT rect = {LVIR_BOUNDS, 0, 0, 0};
  SendRecord(target, target.Control(ids::kList), LVM_GETITEMRECT, row, &rect);
  POINT at = {rect.left + 25, (rect.top + rect.bottom) / 2};
  ClientToScreen(target.Control(ids::kList), &at);
  SetCursorPos(at.x, at.y);
  Sleep(50);
  INPUT inputs[4] = {};
  inputs[0].type = inputs[3].type = INPUT_KEYBOARD;
  inputs[0].ki.wVk = inputs[3].ki.wVk = VK_CONTROL;
  inputs[3].ki.dwFlags = KEYEVENTF_KEYUP;
  inputs[1] = MouseInput(MOUSEEVENTF_LEFTDOWN);
  inputs[2] = MouseInput(MOUSEEVENTF_LEFTUP);
  SendInput(4, inputs, sizeof(INPUT));
  Sleep(300);
}

// Right-clicks the row and chooses the context menu's item with the keyboard (Down, Enter);
// false when no menu came. The item's text is not read here: Wine gives another process no
// access to a menu's items (MN_GETHMENU's handle reads as empty); the fixed-texts test holds it.
bool RemoveByContextMenu(const Target& target, int row) {
  RECT rect = {LVIR_BOUNDS, 0, 0, 0};
  SendRecord(target, target.Control(ids::kList), LVM_GETITEMRECT, row, &rect);
  POINT at = {rect.left + 25, (rect.top + rect.bottom) / 2};
  ClientToScreen(target.Control(ids::kList), &at);
  SetCursorPos(at.x, at.y);
  Sleep(50);
  INPUT inputs[2] = {MouseInput(MOUSEEVENTF_RIGHTDOWN), MouseInput(MOUSEEVENTF_RIGHTUP)};
  SendInput(2, inputs, sizeof(INPUT));
  HWND popup = FindProcessWindow(target.process.dwProcessId, nullptr, nullptr, "#32768", 5000);
  if (!popup) return false;
  PressKeys({VK_DOWN});
  PressKeys({VK_RETURN});
  Check(WaitFor([&] { return !IsWindowVisible(popup); }), "the context menu closes");
  return true;
}

void RunRemove(const Target& target) {
  Note("an import that finds no MAC address");
  Import(target, 0, TemporaryFile("brevane-no-mac.log", "Rcvd TFTP request for mac.ini\r\n"));
  CheckBytes(AnswerMessageBox(target, texts::kNoMacCaption), texts::kNoMacText,
             "the message after a file without a MAC address");
  CheckNumber(target.List(LVM_GETITEMCOUNT), 0, "no row");
  Check(!target.Enabled(ids::kGenerate), "生成列表 stays disabled");

  Note("remove two rows with Delete and one with the context menu");
  std::string log;
  for (int i = 0; i < 6; ++i) {
    char line[128];
    std::snprintf(line, sizeof(line), "Rcvd DHCP Discover Msg for IP 0.0.0.0, Mac "
                  "00:16:3e:00:20:%02x [12/10 14:20:%02d.000]\r\n", i, i);
    log += line;
  }
  Import(target, 0, TemporaryFile("brevane-six.log", log));
  target.Click(ids::kGenerate);
  ClickRow(target, 1);
  CtrlClickRow(target, 3);
  const int second = target.List(LVM_GETNEXTITEM, 1, LVNI_SELECTED);
  Check(SelectedRow(target) == 1 && second == 3, "Ctrl+click adds row 3 to the selection");
  PressKeys({VK_DELETE});
  CheckBytes(Rows(target),
             "001|192.168.0.1|COMPUTER001|00163E002000;002|192.168.0.3|COMPUTER003|00163E002002;"
             "003|192.168.0.5|COMPUTER005|00163E002004;004|192.168.0.6|COMPUTER006|00163E002005;",
             "Delete removed rows 2 and 4, the sequence closes up");
  CheckNumber(SelectedRow(target), 1, "the next row is selected");
  Check(RemoveByContextMenu(target, 2), "a right click on a row opens the list's context menu");
  CheckBytes(Rows(target),
             "001|192.168.0.1|COMPUTER001|00163E002000;002|192.168.0.3|COMPUTER003|00163E002002;"
             "003|192.168.0.6|COMPUTER006|00163E002005;",
             "the context menu's item removed the clicked row");
  target.Click(ids::kGenerate);
  CheckBytes(Rows(target),
             "001|192.168.0.1|COMPUTER001|00163E002000;002|192.168.0.2|COMPUTER002|00163E002002;"
             "003|192.168.0.3|COMPUTER003|00163E002005;",
             "the generation numbers the remaining rows on without a gap");
  SaveAndExit(target);
}

// The guide's picture of Brevane after a generation.
void RunPicture(const Target& target, Options& options) {
  Import(target, 0, options["--tftpd-log"]);
  SetTexts(target, {{ids::kPrefix, "PC"}, {ids::kIpStart, "192.168.1.101"},
                    {ids::kGateway, "192.168.1.1"}, {ids::kDns1, "192.168.1.1"},
                    {ids::kWorkgroup, "WORKGROUP"}});
  target.Click(ids::kReportCheck);
  target.Click(ids::kGenerate);
  Check(CellText(target, 0, kColumnComputerName) == "PC001", "generated");
  WaitForStage(options["--stage-dir"], "after");
  target.Click(ids::kExit);
}

void RunLeave(const Target& target, bool escape, Options& options) {
  // A generation first, so that there would be something to save.
  Note(escape ? "Esc after a generation" : "退出 after a generation");
  Import(target, 0, options["--tftpd-log"]);
  target.Click(ids::kGenerate);
  Check(target.Enabled(ids::kSaveExit), "generated: 保存退出 enabled");
  Check(target.Running(0), "the program runs");
  // Esc works wherever the focus is, the list included.
  target.Focus(ids::kList);
  if (escape) PressKeys({VK_ESCAPE});
  if (!escape) target.Click(ids::kExit);
  Check(target.Ended(10000), "the program ends at once, without a question");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::printf("usage: brevane_driver Brevane.exe full|escape|exit [options]\n");
    return 2;
  }
  const std::string program = argv[1];
  const std::string scenario = argv[2];
  Options options;
  std::vector<std::string> fields;  // every --field
  for (int i = 3; i + 1 < argc; i += 2) {
    options[argv[i]] = argv[i + 1];
    if (std::string(argv[i]) == "--field") fields.push_back(argv[i + 1]);
  }

  Target target;
  if (!Start(program, &target)) return 1;
  if (scenario == "full") {
    RunFull(target, options);
  } else if (scenario == "road") {
    RunRoad(target, options);
  } else if (scenario == "save") {
    const std::string windowsList = options["--windows-list"];
    RunSave(target, windowsList.empty() ? ids::kFormatTftpd32 : ids::kFormatWindows,
            windowsList.empty() ? options["--tftpd-log"] : windowsList, nullptr, fields,
            options["--choose"] == "domain");
  } else if (scenario == "import") {
    RunSave(target, options["--format"] == "windows" ? ids::kFormatWindows : ids::kFormatTftpd32,
            options["--log"], &options["--rows"], fields, false, options["--notice"] == "yes");
  } else if (scenario == "blocked-save") {
    RunBlockedSave(target, options);
  } else if (scenario == "remove") {
    RunRemove(target);
  } else if (scenario == "picture") {
    RunPicture(target, options);
  } else if (scenario == "escape" || scenario == "exit") {
    RunLeave(target, scenario == "escape", options);
  } else {
    std::printf("unknown scenario %s\n", scenario.c_str());
    return 2;
  }
  if (target.Running(0)) TerminateProcess(target.process.hProcess, 1);
  CloseHandle(target.process.hThread);
  CloseHandle(target.process.hProcess);
  std::printf("%d checks, %d failed\n", g_checks, g_failures);
  return g_failures == 0 ? 0 : 1;
}
