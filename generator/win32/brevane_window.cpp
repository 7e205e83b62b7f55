// Brevane's main window: the control table, construction, messages, keys and the list view.
#include "generator/win32/brevane_window.h"

#include <commctrl.h>
#include <commdlg.h>

#include <vector>

#include "generator/generator_texts.h"

namespace {

namespace ids = brevane_controls;
namespace texts = generator_texts;

constexpr char kWindowClass[] = "BrevaneWindow";
constexpr int kClientWidth = 521;
constexpr int kClientHeight = 573;
constexpr int kEditHeight = 22;  // the default height of a single-line edit box

enum class Kind { Button, Group, Label, Arrows, Edit, Option, Check, List };

// Edit box options.
constexpr unsigned kDigitsOnly = 1;
constexpr unsigned kReadOnly = 2;
constexpr unsigned kStartsDisabled = 4;

// One row of the control table. Positions are relative to the parent's client area (the window
// or a group box); a height of 0 means the kind's default, a width of 0 the caption's size.
struct ControlRow {
  int row;
  Kind kind;
  int parentRow;  // 0: the window itself
  const char* text;
  int x, y, width, height;
  unsigned options;
};

const ControlRow kControls[] = {
    {1, Kind::Button, 0, texts::kOpenFileButton, 8, 536, 80, 25, 0},
    {2, Kind::Group, 0, texts::kNameGroup, 264, 376, 249, 145, 0},
    {3, Kind::Label, 2, texts::kPrefixLabel, 44, 87, 0, 0, 0},
    {4, Kind::Label, 2, texts::kSuffixLabel, 44, 119, 0, 0, 0},
    {5, Kind::Label, 2, texts::kFirstNumberLabel, 20, 23, 0, 0, 0},
    {6, Kind::Label, 2, texts::kDigitsLabel, 68, 55, 0, 0, 0},
    {7, Kind::Arrows, 2, "", 0, 0, 0, 0, 0},
    {8, Kind::Arrows, 2, "", 0, 0, 0, 0, 0},
    {9, Kind::Edit, 2, texts::kDefaultFirstNumber, 130, 19, 55, 0, kDigitsOnly},
    {10, Kind::Edit, 2, texts::kDefaultDigits, 138, 51, 55, 0, kDigitsOnly | kReadOnly},
    {11, Kind::Edit, 2, texts::kDefaultPrefix, 130, 83, 100, 0, 0},
    {12, Kind::Edit, 2, "", 130, 115, 100, 0, 0},
    {13, Kind::Group, 0, texts::kFormatGroup, 8, 432, 249, 89, 0},
    {14, Kind::Option, 13, texts::kFormatTftpd32, 17, 26, 0, 0, 0},
    {15, Kind::Option, 13, texts::kFormatWindows, 17, 50, 0, 0, 0},
    {16, Kind::Group, 0, texts::kMembershipGroup, 264, 216, 249, 153, 0},
    {17, Kind::Label, 16, texts::kPasswordLabel, 40, 124, 0, 0, kStartsDisabled},
    {18, Kind::Label, 16, texts::kUsernameLabel, 40, 92, 0, 0, kStartsDisabled},
    {19, Kind::Edit, 16, "", 72, 24, 161, 0, 0},
    {20, Kind::Edit, 16, "", 72, 56, 161, 0, kStartsDisabled},
    {21, Kind::Edit, 16, "", 88, 88, 145, 0, kStartsDisabled},
    {22, Kind::Edit, 16, "", 88, 120, 145, 0, kStartsDisabled},
    {23, Kind::Option, 16, texts::kWorkgroupOption, 8, 26, 0, 0, 0},
    {24, Kind::Option, 16, texts::kDomainOption, 8, 58, 0, 0, 0},
    {25, Kind::Button, 0, texts::kGenerateButton, 112, 536, 80, 25, kStartsDisabled},
    {26, Kind::Button, 0, texts::kSaveExitButton, 328, 536, 80, 25, kStartsDisabled},
    {27, Kind::Button, 0, texts::kExitButton, 432, 536, 80, 25, 0},
    {28, Kind::List, 0, "", 2, 2, 517, 207, 0},
    {29, Kind::Group, 0, texts::kNetworkGroup, 8, 216, 249, 209, 0},
    {30, Kind::Label, 29, texts::kMetricLabel, 63, 117, 0, 0, 0},
    {31, Kind::Label, 29, texts::kDns1Label, 48, 149, 0, 0, 0},
    {32, Kind::Label, 29, texts::kDns2Label, 48, 181, 0, 0, 0},
    {33, Kind::Label, 29, texts::kIpStartLabel, 24, 23, 0, 0, 0},
    {34, Kind::Label, 29, texts::kMaskLabel, 51, 54, 0, 0, 0},
    {35, Kind::Label, 29, texts::kGatewayLabel, 51, 85, 0, 0, 0},
    {36, Kind::Arrows, 29, "", 0, 0, 0, 0, 0},
    {37, Kind::Edit, 29, texts::kDefaultIpStart, 112, 19, 121, 0, 0},
    {38, Kind::Edit, 29, texts::kDefaultMask, 112, 50, 121, 0, 0},
    {39, Kind::Edit, 29, "", 112, 81, 121, 0, 0},
    {40, Kind::Edit, 29, texts::kDefaultMetric, 112, 113, 57, 0, kDigitsOnly},
    {41, Kind::Edit, 29, "", 112, 145, 121, 0, 0},
    {42, Kind::Edit, 29, "", 112, 177, 121, 0, 0},
    // Added later, in the free space between "生成列表" and "保存退出"; unticked at start.
    {43, Kind::Check, 0, texts::kReportCheck, 200, 540, 0, 0, 0},
};

const ControlRow* FindRow(int row) {
  for (const ControlRow& control : kControls) {
    if (control.row == row) return &control;
  }
  return nullptr;
}

// The controls sit directly on the window, so their notifications reach it; a control of a group
// box is placed at the box's position plus its own, which is where the box's client area starts.
POINT PositionInWindow(const ControlRow& control) {
  POINT at = {control.x, control.y};
  if (control.parentRow != 0) {
    const ControlRow* parent = FindRow(control.parentRow);
    at.x += parent->x;
    at.y += parent->y;
  }
  return at;
}

SIZE CaptionSize(HWND window, HFONT font, const char* text) {
  SIZE size = {0, 0};
  HDC dc = GetDC(window);
  HGDIOBJ old = SelectObject(dc, font);
  GetTextExtentPoint32A(dc, text, lstrlenA(text), &size);
  SelectObject(dc, old);
  ReleaseDC(window, dc);
  return size;
}

// The filter with its "|" separators turned into the NULs the dialog expects, doubly ended.
std::string DialogFilter() {
  std::string filter = texts::kOpenFileFilter;
  for (char& c : filter) {
    if (c == '|') c = '\0';
  }
  filter.push_back('\0');
  filter.push_back('\0');
  return filter;
}

}  // namespace

BrevaneWindow::BrevaneWindow(FileApi& files, ProfileApi& profile, CollationApi& collation)
    : platform_{*this, files, profile, collation} {}

BrevaneWindow::~BrevaneWindow() {
  if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
  if (font_) DeleteObject(font_);
  if (listFont_) DeleteObject(listFont_);
  if (fieldBrush_) DeleteObject(fieldBrush_);
}

bool BrevaneWindow::Create(HINSTANCE instance) {
  WNDCLASSEXA windowClass;
  ZeroMemory(&windowClass, sizeof(windowClass));
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = &BrevaneWindow::WindowProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconA(instance, "FORM_ICON1");
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kWindowClass;
  RegisterClassExA(&windowClass);

  // Title bar, window menu and minimize box; no maximize box and no sizing border.
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  RECT outer = {0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&outer, style, FALSE, 0);
  const int width = outer.right - outer.left;
  const int height = outer.bottom - outer.top;
  hwnd_ = CreateWindowExA(0, kWindowClass, texts::kWindowTitle, style, CW_USEDEFAULT,
                          CW_USEDEFAULT, width, height, nullptr, nullptr, instance, this);
  if (!hwnd_) return false;

  font_ = CreateFontA(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                      OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                      DEFAULT_PITCH | FF_DONTCARE, texts::kFontName);
  listFont_ = CreateFontA(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET,
                          OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                          DEFAULT_PITCH | FF_DONTCARE, texts::kListFontName);
  fieldBrush_ = CreateSolidBrush(GetSysColor(COLOR_WINDOW));
  SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);

  INITCOMMONCONTROLSEX common;
  common.dwSize = sizeof(common);
  common.dwICC = ICC_LISTVIEW_CLASSES | ICC_UPDOWN_CLASS | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES;
  if (!InitCommonControlsEx(&common)) InitCommonControls();

  // One tooltip window for the eight fields with a hint; "&" is shown as typed.
  tooltip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                             WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                             instance, nullptr);

  CreateControls(instance);

  // Wiring and start values: the default button, the first log format, the arrows on their
  // fields, the hints, and the workgroup choice (which greys the domain side).
  CheckDlgButton(hwnd_, ids::kFormatTftpd32, BST_CHECKED);
  AttachArrows(ids::kFirstNumberArrows, ids::kFirstNumber, 1);
  AttachArrows(ids::kMetricArrows, ids::kMetric, 0);
  AttachArrows(ids::kDigitsArrows, ids::kDigits, 3);
  AddToolTip(ids::kIpStart, texts::kIpStartHint);
  AddToolTip(ids::kGateway, texts::kGatewayHint);
  AddToolTip(ids::kMetric, texts::kMetricHint);
  AddToolTip(ids::kDns1, texts::kDnsHint);
  AddToolTip(ids::kDns2, texts::kDnsHint);
  AddToolTip(ids::kDomain, texts::kDomainHint);
  AddToolTip(ids::kDomainOption, texts::kDomainHint);
  AddToolTip(ids::kSaveExit, texts::kSaveExitHint);
  CheckDlgButton(hwnd_, ids::kWorkgroupOption, BST_CHECKED);
  SelectWorkgroup(*this);

  // Centred on the screen from the screen size and the window's outer size.
  const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  SetWindowPos(hwnd_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

  HICON icon = LoadIconA(instance, "FORM_ICON1");
  SendMessageA(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  SendMessageA(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  HMENU menu = GetSystemMenu(hwnd_, FALSE);
  AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(menu, MF_STRING, kAboutCommand, texts::kAboutMenuItem);

  HWND list = Control(ids::kList);
  const int widths[] = {50, 90, 180, 120};
  for (int column = 0; column < 4; ++column) {
    SendMessageA(list, LVM_SETCOLUMNWIDTH, column, widths[column]);
  }
  return true;
}

void BrevaneWindow::CreateControls(HINSTANCE instance) {
  const char* const headings[] = {texts::kColumnSequence, texts::kColumnIp,
                                  texts::kColumnComputerName, texts::kColumnMac};
  for (const ControlRow& control : kControls) {
    const POINT at = PositionInWindow(control);
    // Every control starts a group of its own except the second option of each pair, so the
    // option buttons clear their partner and no other control.
    DWORD style = WS_CHILD | WS_VISIBLE;
    if (control.row != 15 && control.row != 24) style |= WS_GROUP;
    if (control.options & kStartsDisabled) style |= WS_DISABLED;
    DWORD exStyle = 0;
    const char* windowClass = "";
    int width = control.width;
    int height = control.height;
    switch (control.kind) {
      case Kind::Button:
        windowClass = "BUTTON";
        style |= WS_TABSTOP | (control.row == 1 ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
        break;
      case Kind::Group:
        windowClass = "BUTTON";
        style |= BS_GROUPBOX;
        break;
      case Kind::Label: {
        windowClass = "STATIC";
        style |= SS_LEFT | SS_NOPREFIX;
        const SIZE size = CaptionSize(hwnd_, font_, control.text);
        width = size.cx;
        height = size.cy;
        break;
      }
      case Kind::Arrows:
        windowClass = UPDOWN_CLASSA;
        style |= UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS;
        style &= ~WS_GROUP;
        break;
      case Kind::Edit:
        windowClass = "EDIT";
        exStyle = WS_EX_CLIENTEDGE;
        style |= WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL;
        if (control.options & kDigitsOnly) style |= ES_NUMBER;
        if (control.options & kReadOnly) style |= ES_READONLY;
        height = kEditHeight;
        break;
      case Kind::Option: {
        windowClass = "BUTTON";
        style |= WS_TABSTOP | BS_AUTORADIOBUTTON;
        // The check circle, the gap before the caption, and the caption.
        const SIZE size = CaptionSize(hwnd_, font_, control.text);
        width = GetSystemMetrics(SM_CXMENUCHECK) + 6 + size.cx;
        height = size.cy + 4 > 17 ? size.cy + 4 : 17;
        break;
      }
      case Kind::Check: {
        windowClass = "BUTTON";
        style |= WS_TABSTOP | BS_AUTOCHECKBOX;
        // The check box, the gap before the caption, and the caption.
        const SIZE size = CaptionSize(hwnd_, font_, control.text);
        width = GetSystemMetrics(SM_CXMENUCHECK) + 6 + size.cx;
        height = size.cy + 4 > 17 ? size.cy + 4 : 17;
        break;
      }
      case Kind::List:
        windowClass = WC_LISTVIEWA;
        exStyle = WS_EX_CLIENTEDGE;
        style |= WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS;
        break;
    }
    HWND child = CreateWindowExA(exStyle, windowClass, control.text, style, at.x, at.y, width,
                                 height, hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(
                                                    ControlId(control.row))),
                                 instance, nullptr);
    if (!child) continue;
    if (control.kind == Kind::List) {
      SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(listFont_), FALSE);
      SendMessageA(child, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT,
                   LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
      SendMessageA(child, LVM_SETTEXTCOLOR, 0, RGB(0, 0, 0));
      SendMessageA(child, LVM_SETBKCOLOR, 0, GetSysColor(COLOR_WINDOW));
      SendMessageA(child, LVM_SETTEXTBKCOLOR, 0, GetSysColor(COLOR_WINDOW));
      for (int column = 0; column < 4; ++column) {
        LVCOLUMNA heading;
        ZeroMemory(&heading, sizeof(heading));
        heading.mask = LVCF_FMT | LVCF_TEXT | LVCF_SUBITEM;
        heading.fmt = LVCFMT_LEFT;
        heading.pszText = const_cast<char*>(headings[column]);
        heading.iSubItem = column;
        SendMessageA(child, LVM_INSERTCOLUMNA, column, reinterpret_cast<LPARAM>(&heading));
      }
    } else if (control.kind != Kind::Arrows) {
      SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    }
  }
}

void BrevaneWindow::AttachArrows(int arrows, int field, int value) {
  HWND updown = Control(arrows);
  const ControlRow* row = FindRow(arrows - 1000);
  int low = 0, high = 0;
  switch (row->row) {
    case 7: low = 0; high = 1000; break;
    case 8: low = 1; high = 5; break;
    default: low = 0; high = 9999; break;
  }
  SendMessageA(updown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(Control(field)), 0);
  SendMessageA(updown, UDM_SETRANGE32, low, high);
  SendMessageA(updown, UDM_SETPOS32, 0, value);
}

void BrevaneWindow::AddToolTip(int control, const char* text) {
  if (!tooltip_) return;
  TOOLINFOA tool;
  ZeroMemory(&tool, sizeof(tool));
  tool.cbSize = sizeof(tool);
  // The tooltip watches the control's own mouse messages; a disabled control gets none and so
  // shows no hint.
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = hwnd_;
  tool.uId = reinterpret_cast<UINT_PTR>(Control(control));
  tool.lpszText = const_cast<char*>(text);
  SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

LRESULT CALLBACK BrevaneWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
  BrevaneWindow* self = nullptr;
  if (message == WM_NCCREATE) {
    const CREATESTRUCTA* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    self = static_cast<BrevaneWindow*>(create->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<BrevaneWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  }
  if (!self) return DefWindowProcA(hwnd, message, wParam, lParam);
  return self->HandleMessage(message, wParam, lParam);
}

LRESULT BrevaneWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_NOTIFY: {
      const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->idFrom == static_cast<UINT_PTR>(ids::kList) &&
          header->code == LVN_COLUMNCLICK) {
        const NMLISTVIEW* click = reinterpret_cast<const NMLISTVIEW*>(lParam);
        SortByHeading(platform_, model_, click->iSubItem);
        return 0;
      }
      break;
    }
    case WM_SYSCOMMAND:
      if (wParam == static_cast<WPARAM>(kAboutCommand)) {
        MessageBoxA(GetActiveWindow(), texts::kAboutText, texts::kAboutCaption,
                    MB_OK | MB_ICONINFORMATION);
        return 0;
      }
      break;
    case WM_CTLCOLORSTATIC:
      // The read-only digits field keeps the white background of the other fields.
      if (reinterpret_cast<HWND>(lParam) == Control(ids::kDigits)) {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        return reinterpret_cast<LRESULT>(fieldBrush_);
      }
      break;
    case DM_GETDEFID:
      // The dialog manager draws "打开文件" as the default button when no other button has the focus.
      return MAKELRESULT(ids::kOpenFile, DC_HASDEFID);
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcA(hwnd_, message, wParam, lParam);
}

void BrevaneWindow::OnCommand(int id, int code) {
  if (code != BN_CLICKED) return;
  switch (id) {
    case ids::kOpenFile: ImportDhcpLog(platform_, model_); break;
    case ids::kGenerate: GenerateRows(platform_, model_); break;
    case ids::kSaveExit: SaveAndExit(platform_, model_); break;
    case ids::kExit: PostCloseRequest(); break;
    case ids::kWorkgroupOption: SelectWorkgroup(*this); break;
    case ids::kDomainOption: SelectDomain(*this); break;
    default: break;
  }
}

void BrevaneWindow::PressButton(int id) {
  HWND button = Control(id);
  if (!button || !IsWindowEnabled(button) || !IsWindowVisible(button)) return;
  SendMessageA(hwnd_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

FocusKind BrevaneWindow::KindOfFocus(HWND focus) const {
  char name[16] = "";
  if (!focus || !GetClassNameA(focus, name, sizeof(name)) || lstrcmpiA(name, "Button") != 0) {
    return FocusKind::Other;
  }
  const LONG_PTR type = GetWindowLongPtrA(focus, GWL_STYLE) & BS_TYPEMASK;
  if (type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON) return FocusKind::OptionButton;
  if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) {
    return GetDlgCtrlID(focus) == ids::kOpenFile ? FocusKind::OpenFileButton
                                                : FocusKind::OtherButton;
  }
  return FocusKind::Other;
}

bool BrevaneWindow::PreTranslateKey(const MSG& message) {
  if (message.message != WM_KEYDOWN) return false;
  if (message.hwnd != hwnd_ && !IsChild(hwnd_, message.hwnd)) return false;
  if (message.wParam == VK_ESCAPE) {
    PressButton(ids::kExit);
    return true;
  }
  if (message.wParam == VK_RETURN) {
    if (EnterPressesOpenFile(KindOfFocus(GetFocus()))) PressButton(ids::kOpenFile);
    return true;
  }
  return false;
}

bool BrevaneWindow::ChooseLogFiles(std::vector<std::string>* paths) {
  const std::string filter = DialogFilter();
  // Room for the folder and the names of several chosen files.
  std::vector<char> file(32768, '\0');
  OPENFILENAMEA dialog;
  ZeroMemory(&dialog, sizeof(dialog));
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = hwnd_;
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  // Several files of one server may be chosen together (Kea's leases4.csv and the files its
  // cleanup wrote); choosing several needs the Explorer-style dialog to be asked for by name.
  dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_ALLOWMULTISELECT |
                 OFN_EXPLORER;
  if (!GetOpenFileNameA(&dialog)) return false;
  *paths = SplitChosenFiles(file);
  return !paths->empty();
}

std::string BrevaneWindow::FieldText(int control) {
  HWND field = Control(control);
  const int length = GetWindowTextLengthA(field);
  if (length <= 0) return std::string();
  std::vector<char> text(static_cast<size_t>(length) + 1, '\0');
  const int copied = GetWindowTextA(field, text.data(), length + 1);
  return std::string(text.data(), copied > 0 ? static_cast<size_t>(copied) : 0);
}

bool BrevaneWindow::IsOptionSelected(int control) {
  return IsDlgButtonChecked(hwnd_, control) == BST_CHECKED;
}

void BrevaneWindow::SetControlEnabled(int control, bool enabled) {
  EnableWindow(Control(control), enabled ? TRUE : FALSE);
}

void BrevaneWindow::ShowRows(const ListModel& model) {
  HWND list = Control(ids::kList);
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  const LRESULT shown = SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
  if (shown >= 0 && static_cast<size_t>(shown) == model.rows.size()) {
    // As many rows as shown (a sort or a generation): only the texts change, so the scroll
    // position stays where the user left it.
    for (size_t index = 0; index < model.rows.size(); ++index) {
      for (int column = 0; column < 4; ++column) {
        LVITEMA cell;
        ZeroMemory(&cell, sizeof(cell));
        cell.iSubItem = column;
        cell.pszText = const_cast<char*>(model.rows[index].cells[column].c_str());
        SendMessageA(list, LVM_SETITEMTEXTA, index, reinterpret_cast<LPARAM>(&cell));
      }
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    return;
  }
  SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
  for (size_t index = 0; index < model.rows.size(); ++index) {
    const ListRow& row = model.rows[index];
    LVITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(index);
    item.pszText = const_cast<char*>(row.cells[0].c_str());
    const int at = static_cast<int>(
        SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    if (at < 0) continue;
    for (int column = 1; column < 4; ++column) {
      LVITEMA cell;
      ZeroMemory(&cell, sizeof(cell));
      cell.iSubItem = column;
      cell.pszText = const_cast<char*>(row.cells[column].c_str());
      SendMessageA(list, LVM_SETITEMTEXTA, at, reinterpret_cast<LPARAM>(&cell));
    }
  }
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
}

int BrevaneWindow::SelectedRow() {
  return static_cast<int>(
      SendMessageA(Control(ids::kList), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void BrevaneWindow::SelectRow(int index, bool scrollIntoView) {
  HWND list = Control(ids::kList);
  LVITEMA state;
  ZeroMemory(&state, sizeof(state));
  state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  state.state = 0;
  SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
  if (index < 0) return;
  state.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(list, LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&state));
  if (scrollIntoView) SendMessageA(list, LVM_ENSUREVISIBLE, index, FALSE);
}

void BrevaneWindow::ShowMessage(const std::string& caption, const std::string& text) {
  MessageBoxA(GetActiveWindow(), text.c_str(), caption.c_str(), MB_OK | MB_ICONWARNING);
}

void BrevaneWindow::PostCloseRequest() { PostMessageA(hwnd_, WM_CLOSE, 0, 0); }
