#include "app/win32_frm_main.h"

#include <commctrl.h>

#include "resource.h"

namespace gantrel {
namespace {

constexpr COLORREF kBlue = RGB(0, 0, 255);

DWORD StyleOf(const ControlSpec& c) {
  switch (c.kind) {
    case ControlKind::List:
      return WS_CHILD | WS_TABSTOP | WS_VSCROLL | WS_BORDER | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
    case ControlKind::SortedList:
      return WS_CHILD | WS_TABSTOP | WS_VSCROLL | WS_BORDER | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT |
             LBS_SORT;
    case ControlKind::Button: return WS_CHILD | WS_TABSTOP | BS_PUSHBUTTON;
    case ControlKind::Frame: return WS_CHILD | SS_BLACKFRAME;
    case ControlKind::Label:
    case ControlKind::LinkLabel:
      // SS_NOTIFY: a press on a label belongs to the label, not to the tab control under it.
      return WS_CHILD | SS_NOTIFY | SS_NOPREFIX | (c.centred ? SS_CENTER : SS_LEFT);
  }
  return WS_CHILD;
}

const char* ClassOf(ControlKind kind) {
  switch (kind) {
    case ControlKind::List:
    case ControlKind::SortedList: return "LISTBOX";
    case ControlKind::Button: return "BUTTON";
    default: return "STATIC";
  }
}

}  // namespace

FrmMain::FrmMain()
    : app_{list1_, list2_, dialogs_, host_, registry_, files_, launcher_, net_, {}, nullptr} {}

bool FrmMain::Create(HINSTANCE instance, int showCommand) {
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_TAB_CLASSES | ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);

  WNDCLASSA wc{};
  wc.lpfnWndProc = WndProc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_GANTREL));
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  wc.lpszClassName = kClassName;
  if (!RegisterClassA(&wc)) return false;

  syncMessage_ = RegisterWindowMessageA(kSyncProp);
  dpi_ = ScreenDpi();
  DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  RECT r{0, 0, TwipsToPixels(kClientWidthTwips, dpi_), TwipsToPixels(kClientHeightTwips, dpi_)};
  AdjustWindowRect(&r, style, FALSE);
  hwnd_ = CreateWindowExA(0, kClassName, kMainCaption, style, CW_USEDEFAULT, CW_USEDEFAULT,
                          r.right - r.left, r.bottom - r.top, nullptr, nullptr, instance, this);
  if (!hwnd_) return false;
  // The small icon, from the 16 x 16 picture.
  HICON small = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_GANTREL), IMAGE_ICON,
                                              GetSystemMetrics(SM_CXSMICON),
                                              GetSystemMetrics(SM_CYSMICON), 0));
  if (small) SendMessageA(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));

  dialogs_.SetOwner(hwnd_);
  host_.SetMain(hwnd_);
  launcher_.SetOwner(hwnd_);
  CreateControls();
  SelectTab(0);

  Form_Load(app_);

  ShowWindow(hwnd_, showCommand);
  UpdateWindow(hwnd_);
  FocusFirstOnTab();
  return true;
}

HFONT FrmMain::FontFor(FontKind kind) {
  auto it = fonts_.find(kind);
  if (it == fonts_.end()) it = fonts_.emplace(kind, MakeFont(Font(kind), dpi_)).first;
  return it->second.Get();
}

void FrmMain::CreateControls() {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  auto px = [this](int twips) { return TwipsToPixels(twips, dpi_); };

  // The pages' controls are children of the tab control, so that presses on them never reach
  // it; WS_EX_CONTROLPARENT lets the keyboard move into them.
  tab_ = CreateWindowExA(WS_EX_CONTROLPARENT, WC_TABCONTROLA, "",
                         WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, px(kTabWidthTwips),
                         px(kTabHeightTwips), hwnd_,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdSSTab1)), instance, nullptr);
  SendMessageA(tab_, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(FontKind::Default)), FALSE);
  for (int i = 0; i < 4; ++i) {
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(kTabCaptions[i]);
    SendMessageA(tab_, TCM_INSERTITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
  }
  SetWindowLongPtrA(tab_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  tabDefault_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(tab_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TabProc)));

  toolTip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_,
                             nullptr, instance, nullptr);

  for (const ControlSpec& c : MainControls()) {
    HWND h = CreateWindowExA(0, ClassOf(c.kind), c.caption, StyleOf(c), px(c.left), px(c.top),
                             px(c.width), px(c.height), tab_,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), instance, nullptr);
    controls_[c.id] = h;
    SendMessageA(h, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(c.font)), FALSE);
    if (c.toolTip && toolTip_) {
      TTTOOLINFOA ti{};
      ti.cbSize = sizeof(ti);
      // No TTF_SUBCLASS: a subclassed list box pays for it on every message (under Wine a
      // server round trip each); PreTranslate relays the mouse messages instead.
      ti.uFlags = TTF_IDISHWND;
      ti.hwnd = hwnd_;
      ti.uId = reinterpret_cast<UINT_PTR>(h);
      ti.lpszText = const_cast<char*>(c.toolTip);
      SendMessageA(toolTip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
    }
  }
  list1_.Attach(controls_[kIdList1], hwnd_);
  list2_.Attach(controls_[kIdList2], hwnd_);
}

void FrmMain::SelectTab(int tab) {
  if (static_cast<int>(SendMessageA(tab_, TCM_GETCURSEL, 0, 0)) != tab)
    SendMessageA(tab_, TCM_SETCURSEL, static_cast<WPARAM>(tab), 0);
  // Only the selected page's controls are shown and reachable.
  for (const ControlSpec& c : MainControls())
    ShowWindow(controls_[c.id], c.tab == tab ? SW_SHOW : SW_HIDE);
}

void FrmMain::FocusFirstOnTab() {
  int tab = static_cast<int>(SendMessageA(tab_, TCM_GETCURSEL, 0, 0));
  for (const ControlSpec& c : MainControls()) {
    if (c.tab == tab && (GetWindowLongA(controls_[c.id], GWL_STYLE) & WS_TABSTOP)) {
      SetFocus(controls_[c.id]);
      return;
    }
  }
  SetFocus(tab_);
}

bool FrmMain::PreTranslate(MSG& msg) {
  if (toolTip_ && msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST &&
      GetParent(msg.hwnd) == tab_)
    SendMessageA(toolTip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
  if (!hwnd_ || !IsWindowEnabled(hwnd_)) return false;
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_TAB && (GetKeyState(VK_CONTROL) & 0x8000) &&
      (msg.hwnd == hwnd_ || IsChild(hwnd_, msg.hwnd))) {
    // Ctrl+Tab moves between the pages, as in any tabbed window. It clears no selection.
    int count = static_cast<int>(SendMessageA(tab_, TCM_GETITEMCOUNT, 0, 0));
    int cur = static_cast<int>(SendMessageA(tab_, TCM_GETCURSEL, 0, 0));
    int step = (GetKeyState(VK_SHIFT) & 0x8000) ? count - 1 : 1;
    SelectTab((cur + step) % count);
    FocusFirstOnTab();
    return true;
  }
  return IsDialogMessageA(hwnd_, &msg) != FALSE;
}

LRESULT CALLBACK FrmMain::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    static_cast<FrmMain*>(cs->lpCreateParams)->hwnd_ = hwnd;
  }
  auto* self = reinterpret_cast<FrmMain*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcA(hwnd, msg, wParam, lParam);
  return self->OnMessage(msg, wParam, lParam);
}

LRESULT CALLBACK FrmMain::TabProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<FrmMain*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      // A press on a tab header or on an empty part of a page.
      SSTab1_MouseDown(self->app_);
      break;
    case WM_COMMAND:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
      // The pages' controls report to the main window.
      return self->OnMessage(msg, wParam, lParam);
    case WM_SETCURSOR: {
      auto id = GetDlgCtrlID(reinterpret_cast<HWND>(wParam));
      if (id == kIdLabel4 || id == kIdLabel6) {
        SetCursor(LoadCursor(nullptr, IDC_HAND));
        return TRUE;
      }
      break;
    }
  }
  return CallWindowProcA(self->tabDefault_, hwnd, msg, wParam, lParam);
}

LRESULT FrmMain::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == syncMessage_) {
    // Handled in posting order: a program that drives the window (the GUI tests) learns from
    // it that everything it posted before has been handled.
    SetPropA(hwnd_, kSyncProp, reinterpret_cast<HANDLE>(wParam));
    return 0;
  }
  switch (msg) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case kThawListMessage:
      list1_.Thaw();
      list2_.Thaw();
      return 0;
    case WM_NOTIFY: {
      auto* hdr = reinterpret_cast<NMHDR*>(lParam);
      if (hdr->hwndFrom == tab_ && hdr->code == TCN_SELCHANGE)
        SelectTab(static_cast<int>(SendMessageA(tab_, TCM_GETCURSEL, 0, 0)));
      return 0;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
      return reinterpret_cast<LRESULT>(
          OnCtlColor(msg, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) lastFocus_ = GetFocus();
      break;
    case WM_SETFOCUS:
      // Focus given back to the window goes on to the control that had it.
      if (lastFocus_ && IsWindowVisible(lastFocus_) && IsChild(hwnd_, lastFocus_))
        SetFocus(lastFocus_);
      else
        FocusFirstOnTab();
      return 0;
    case WM_DESTROY:
      RemovePropA(hwnd_, kSyncProp);
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(hwnd_, msg, wParam, lParam);
}

HBRUSH FrmMain::OnCtlColor(UINT msg, HDC dc, HWND control) {
  if (msg == WM_CTLCOLORLISTBOX) {
    SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
    SetBkColor(dc, GetSysColor(COLOR_INFOBK));
    return GetSysColorBrush(COLOR_INFOBK);
  }
  const ControlSpec* spec = FindControl(GetDlgCtrlID(control));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, spec && spec->blue ? kBlue : GetSysColor(COLOR_BTNTEXT));
  if (msg == WM_CTLCOLORSTATIC) return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  return GetSysColorBrush(COLOR_BTNFACE);
}

void FrmMain::OnCommand(int id, int code) {
  bool clicked = code == BN_CLICKED;  // also STN_CLICKED (0) for the link labels
  if (!clicked) return;
  switch (id) {
    case kIdCommand1: Command1_Click(app_); break;
    case kIdCommand2: Command2_Click(app_); break;
    case kIdCommand3: Command3_Click(app_); break;
    case kIdCommand4: Command4_Click(app_); break;
    case kIdCommand5: Command5_Click(app_); break;
    case kIdCommand6: Command6_Click(app_); break;
    case kIdCommand7: Command7_Click(app_); break;
    case kIdCommand8: Command8_Click(app_); break;
    case kIdCommand9: Command9_Click(app_); break;
    case kIdCommand10: Command10_Click(app_); break;
    case kIdCommand11: Command11_Click(app_); break;
    case kIdLabel4: Label4_Click(app_); break;
    case kIdLabel6: Label6_Click(app_); break;
    default: break;
  }
}

}  // namespace gantrel
