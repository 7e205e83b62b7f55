// Brevane's main window: creates the controls of its model, routes messages and keys, shows rows.
#include "generator/win32/brevane_window.h"

#include <commctrl.h>
#include <commdlg.h>

#include <vector>

#include "generator/generator_texts.h"
#include "platform/win32/window_kit.h"

namespace {

namespace ids = brevane_controls;
namespace texts = generator_texts;
using namespace brevane_window;

constexpr char kWindowClass[] = "BrevaneWindow";

const char* ClassOf(ControlKind kind) {
  switch (kind) {
    case ControlKind::Label: return "STATIC";
    case ControlKind::Arrows: return UPDOWN_CLASSA;
    case ControlKind::Edit: return "EDIT";
    case ControlKind::List: return WC_LISTVIEWA;
    default: return "BUTTON";
  }
}

DWORD StyleOf(const ControlInfo& control) {
  DWORD style = WS_CHILD | WS_VISIBLE;
  if (StartsGroup(control)) style |= WS_GROUP;
  if (control.options & kStartsDisabled) style |= WS_DISABLED;
  switch (control.kind) {
    case ControlKind::Button:
      return style | WS_TABSTOP | (control.id == ids::kOpenFile ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
    case ControlKind::Group: return style | BS_GROUPBOX;
    case ControlKind::Label: return style | SS_LEFT | SS_NOPREFIX;
    case ControlKind::Arrows:
      return style | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS;
    case ControlKind::Edit:
      style |= WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL;
      if (control.options & kDigitsOnly) style |= ES_NUMBER;
      if (control.options & kReadOnly) style |= ES_READONLY;
      return style;
    case ControlKind::Option: return style | WS_TABSTOP | BS_AUTORADIOBUTTON;
    case ControlKind::Check: return style | WS_TABSTOP | BS_AUTOCHECKBOX;
    case ControlKind::List:
      // Several rows can be selected (Ctrl and Shift clicks) and removed together.
      return style | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS;
  }
  return style;
}

DWORD ExStyleOf(ControlKind kind) {
  return kind == ControlKind::Edit || kind == ControlKind::List ? WS_EX_CLIENTEDGE : 0;
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
  // Title bar, window menu and minimize box; no maximize box and no sizing border.
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  hwnd_ = CreateMainWindow(instance, kWindowClass, &ObjectWindowProc<BrevaneWindow>,
                           LoadIconA(instance, "FORM_ICON1"), texts::kWindowTitle, style,
                           {kClientWidth, kClientHeight}, this);
  if (!hwnd_) return false;

  font_ = CreateWindowFont(texts::kFontName, -12, ANSI_CHARSET, DEFAULT_PITCH | FF_DONTCARE);
  listFont_ =
      CreateWindowFont(texts::kListFontName, -12, GB2312_CHARSET, DEFAULT_PITCH | FF_DONTCARE);
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

  CreateControls();

  // Wiring and start values: the arrows on their fields, the hints, and the workgroup choice
  // (which greys the domain side).
  for (const ArrowsInfo& arrows : BrevaneArrows()) {
    HWND updown = Control(arrows.arrows);
    SendMessageA(updown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(Control(arrows.field)), 0);
    SendMessageA(updown, UDM_SETRANGE32, arrows.low, arrows.high);
    SendMessageA(updown, UDM_SETPOS32, 0, arrows.value);
  }
  for (const HintInfo& hint : FieldHints()) AddToolTip(hint.control, hint.text);
  SelectWorkgroup(*this);

  CentreOnScreen(hwnd_);

  HICON icon = LoadIconA(instance, "FORM_ICON1");
  SendMessageA(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  SendMessageA(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  AppendAboutItem(hwnd_, texts::kAboutMenuItem);

  for (size_t column = 0; column < ListColumns().size(); ++column) {
    SendMessageA(Control(ids::kList), LVM_SETCOLUMNWIDTH, column, ListColumns()[column].width);
  }
  return true;
}

void BrevaneWindow::CreateControls() {
  for (const ControlInfo& control : BrevaneControls()) {
    const Rect place = ControlRectInWindow(control, MeasureCaption(hwnd_, font_, control.caption));
    HFONT font = control.kind == ControlKind::List     ? listFont_
                 : control.kind == ControlKind::Arrows ? nullptr
                                                       : font_;
    HWND child = CreateControl(hwnd_, control.id, ClassOf(control.kind), control.caption,
                               StyleOf(control), ExStyleOf(control.kind), place, font);
    if (control.options & kTicked) SendMessageA(child, BM_SETCHECK, BST_CHECKED, 0);
    if (child && control.kind == ControlKind::List) SetUpList(child);
  }
}

void BrevaneWindow::SetUpList(HWND list) {
  SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT,
               LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
  SendMessageA(list, LVM_SETTEXTCOLOR, 0, RGB(0, 0, 0));
  SendMessageA(list, LVM_SETBKCOLOR, 0, GetSysColor(COLOR_WINDOW));
  SendMessageA(list, LVM_SETTEXTBKCOLOR, 0, GetSysColor(COLOR_WINDOW));
  for (size_t column = 0; column < ListColumns().size(); ++column) {
    LVCOLUMNA heading;
    ZeroMemory(&heading, sizeof(heading));
    heading.mask = LVCF_FMT | LVCF_TEXT | LVCF_SUBITEM;
    heading.fmt = LVCFMT_LEFT;
    heading.pszText = const_cast<char*>(ListColumns()[column].heading);
    heading.iSubItem = static_cast<int>(column);
    SendMessageA(list, LVM_INSERTCOLUMNA, column, reinterpret_cast<LPARAM>(&heading));
  }
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

LRESULT BrevaneWindow::HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCREATE:
      hwnd_ = hwnd;
      break;
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
    case WM_CONTEXTMENU:
      // The list's own right click, Shift+F10 or the menu key, passed on to its parent.
      if (reinterpret_cast<HWND>(wParam) == Control(ids::kList)) {
        ShowListMenu(lParam);
        return 0;
      }
      break;
    case WM_SYSCOMMAND:
      if (AnswerAboutCommand(wParam, texts::kAboutText, texts::kAboutCaption)) return 0;
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
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

void BrevaneWindow::ShowListMenu(LPARAM at) {
  POINT point = {static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
  if (at == -1) {  // from the keyboard: at the list's top-left corner
    point = POINT{0, 0};
    ClientToScreen(Control(ids::kList), &point);
  }
  HMENU menu = CreatePopupMenu();
  if (!menu) return;
  AppendMenuA(menu, SelectedRow() < 0 ? MF_STRING | MF_GRAYED : MF_STRING, kRemoveRowsCommand,
              texts::kRemoveRowsItem);
  const int chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, point.x, point.y, 0,
                                    hwnd_, nullptr);
  DestroyMenu(menu);
  if (chosen == kRemoveRowsCommand) RemoveSelectedRows(platform_, model_);
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

void BrevaneWindow::Press(int id) { PressButton(hwnd_, Control(id), id); }

bool BrevaneWindow::PreTranslateKey(const MSG& message) {
  if (message.message != WM_KEYDOWN) return false;
  if (message.hwnd != hwnd_ && !IsChild(hwnd_, message.hwnd)) return false;
  HWND focus = GetFocus();
  const int focusId = focus && GetParent(focus) == hwnd_ ? GetDlgCtrlID(focus) : 0;
  switch (ActionForKey(static_cast<int>(message.wParam), focusId)) {
    case KeyAction::PassOn: return false;
    case KeyAction::Swallow: return true;
    case KeyAction::PressOpenFile: Press(ids::kOpenFile); return true;
    case KeyAction::PressExit: Press(ids::kExit); return true;
    case KeyAction::RemoveRows: RemoveSelectedRows(platform_, model_); return true;
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

std::string BrevaneWindow::FieldText(int control) { return ReadWindowText(Control(control)); }

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

bool BrevaneWindow::IsRowSelected(int index) {
  return SendMessageA(Control(ids::kList), LVM_GETITEMSTATE, index, LVIS_SELECTED) != 0;
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
