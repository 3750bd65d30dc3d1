#include "win32_main_window.h"

#include <commctrl.h>

#include <iterator>

#include "resource.h"

namespace gantrel {
namespace {

constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr int kTabCount = static_cast<int>(std::size(kTabCaptions));

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
      return WS_CHILD | SS_NOTIFY | SS_NOPREFIX | (c.look == TextLook::Centred ? SS_CENTER : SS_LEFT);
  }
  return WS_CHILD;
}

// The lists in the tool tips' colours.
HBRUSH ListColours(HDC dc) {
  SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
  SetBkColor(dc, GetSysColor(COLOR_INFOBK));
  return GetSysColorBrush(COLOR_INFOBK);
}

// Labels on the page's own background, in blue where the layout says so. (Buttons keep the
// system's colours.)
HBRUSH LabelColours(HDC dc, HWND label) {
  const ControlSpec* spec = FindControl(GetDlgCtrlID(label));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, spec && spec->look == TextLook::Blue ? kBlue : GetSysColor(COLOR_BTNTEXT));
  return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
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

Win32MainWindow::Win32MainWindow()
    : window_{gameList_, privateList_, dialogs_, host_, registry_, files_, launcher_, net_, {}, nullptr} {}

bool Win32MainWindow::Create(HINSTANCE instance, int showCommand) {
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_TAB_CLASSES | ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);

  WNDCLASSA wc{};
  wc.lpfnWndProc = WndProc;
  wc.hInstance = instance;
  // The title bar's small icon is the resource's 16 x 16 picture, which the class finds itself.
  wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_GANTREL));
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  wc.lpszClassName = kClassName;
  RegisterClassA(&wc);  // if it fails, so does CreateWindowA below

  DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  RECT r{0, 0, TwipsToPixels(kClientWidthTwips, dpi_), TwipsToPixels(kClientHeightTwips, dpi_)};
  AdjustWindowRect(&r, style, FALSE);
  hwnd_ = CreateWindowA(kClassName, kMainCaption, style, CW_USEDEFAULT, CW_USEDEFAULT,
                        r.right - r.left, r.bottom - r.top, nullptr, nullptr, instance, this);
  if (!hwnd_) return false;

  dialogs_.SetOwner(hwnd_);
  host_.SetMain(hwnd_);
  launcher_.SetOwner(hwnd_);
  CreateControls();
  SelectTab(0);

  window_.OnLoad();

  // Shown active, the window takes the focus, which WM_SETFOCUS hands on to the first control; the
  // message loop paints it, after the lists' first fill is drawn.
  ShowWindow(hwnd_, showCommand);
  return true;
}

HFONT Win32MainWindow::FontFor(FontKind kind) {
  auto it = fonts_.find(kind);
  if (it == fonts_.end()) it = fonts_.emplace(kind, MakeFont(Font(kind), dpi_)).first;
  return it->second.Get();
}

void Win32MainWindow::CreateControls() {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  auto px = [this](int twips) { return TwipsToPixels(twips, dpi_); };

  // The pages' controls are children of the tab control, so that presses on them never reach
  // it; WS_EX_CONTROLPARENT lets the keyboard move into them.
  tabs_ = CreateWindowExA(WS_EX_CONTROLPARENT, WC_TABCONTROLA, "",
                         WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, px(kTabWidthTwips),
                         px(kTabHeightTwips), hwnd_,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdTabs)), instance, nullptr);
  SendMessageA(tabs_, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(FontKind::Default)), FALSE);
  for (int i = 0; i < kTabCount; ++i) {
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(kTabCaptions[i]);
    TabCtrl_InsertItem(tabs_, i, &item);
  }
  SetWindowLongPtrA(tabs_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  tabsDefault_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(tabs_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TabProc)));

  toolTip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_,
                             nullptr, instance, nullptr);

  for (const ControlSpec& c : MainControls()) {
    HWND h = CreateWindowA(ClassOf(c.kind), c.caption, StyleOf(c), px(c.left), px(c.top),
                           px(c.width), px(c.height), tabs_,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), instance, nullptr);
    controls_[c.id] = h;
    SendMessageA(h, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(c.font)), FALSE);
    if (c.toolTip) {
      // No TTF_SUBCLASS: a subclassed list box pays for it on every message (under Wine a
      // server round trip each); PreTranslate relays the mouse messages instead.
      TTTOOLINFOA ti{};
      ti.cbSize = sizeof(ti);
      ti.uFlags = TTF_IDISHWND;
      ti.hwnd = hwnd_;
      ti.uId = reinterpret_cast<UINT_PTR>(h);
      ti.lpszText = const_cast<char*>(c.toolTip);
      SendMessageA(toolTip_, TTM_ADDTOOLA, {}, reinterpret_cast<LPARAM>(&ti));
    }
  }
  gameList_.Attach(controls_[kIdGameList], hwnd_);
  privateList_.Attach(controls_[kIdPrivateList], hwnd_);
}

void Win32MainWindow::SelectTab(int tab) {
  TabCtrl_SetCurSel(tabs_, tab);
  // Only the selected page's controls are shown and reachable.
  for (const ControlSpec& c : MainControls())
    ShowWindow(controls_[c.id], c.tab == tab ? SW_SHOW : SW_HIDE);
}

void Win32MainWindow::FocusFirstOnTab() {
  const int tab = TabCtrl_GetCurSel(tabs_);
  for (const ControlSpec& c : MainControls()) {
    if (c.tab == tab && (GetWindowLongA(controls_[c.id], GWL_STYLE) & WS_TABSTOP)) {
      SetFocus(controls_[c.id]);
      return;
    }
  }
  SetFocus(tabs_);
}

// Only the main loop calls this, and it runs only while the window is enabled and no modal box is
// up: the keys it sees go to the window's own controls.
bool Win32MainWindow::PreTranslate(MSG& msg) {
  // The tool tips take what they need of the pages' messages (the mouse's) and ignore the rest.
  if (GetParent(msg.hwnd) == tabs_)
    SendMessageA(toolTip_, TTM_RELAYEVENT, {}, reinterpret_cast<LPARAM>(&msg));
  // Ctrl+Tab moves between the pages, as in any tabbed window. It clears no selection.
  const bool nextPage =
      msg.message == WM_KEYDOWN && msg.wParam == VK_TAB && (GetKeyState(VK_CONTROL) & 0x8000);
  if (nextPage) {
    const int step = (GetKeyState(VK_SHIFT) & 0x8000) ? kTabCount - 1 : 1;
    SelectTab((TabCtrl_GetCurSel(tabs_) + step) % kTabCount);
    FocusFirstOnTab();
  }
  return nextPage || IsDialogMessageA(hwnd_, &msg) != FALSE;
}

LRESULT CALLBACK Win32MainWindow::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    static_cast<Win32MainWindow*>(cs->lpCreateParams)->hwnd_ = hwnd;
  }
  auto* self = reinterpret_cast<Win32MainWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcA(hwnd, msg, wParam, lParam);
  return self->OnMessage(msg, wParam, lParam);
}

LRESULT CALLBACK Win32MainWindow::TabProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<Win32MainWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      // A press on a tab header or on an empty part of a page.
      self->window_.OnTabPress();
      break;
    case WM_COMMAND:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
      // The pages' controls report to the main window.
      return self->OnMessage(msg, wParam, lParam);
    case WM_SETCURSOR: {
      auto id = GetDlgCtrlID(reinterpret_cast<HWND>(wParam));
      if (id == kIdWebLink || id == kIdEmailLink) {
        SetCursor(LoadCursor(nullptr, IDC_HAND));
        return TRUE;
      }
      break;
    }
  }
  return CallWindowProcA(self->tabsDefault_, hwnd, msg, wParam, lParam);
}

// The messages handled here all give 0.
LRESULT Win32MainWindow::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  // Handled in posting order: a program that drives the window (the GUI tests) learns from it
  // that everything it posted before has been handled.
  if (msg == syncMessage_) SetPropA(hwnd_, kSyncProp, reinterpret_cast<HANDLE>(wParam));
  switch (msg) {
    case WM_COMMAND:
      // BN_CLICKED, and STN_CLICKED (also 0) for the link labels.
      if (HIWORD(wParam) == BN_CLICKED) OnCommand(LOWORD(wParam));
      break;
    case kThawListMessage:
      gameList_.Thaw();
      privateList_.Thaw();
      break;
    case WM_NOTIFY:
      // Only the tab control tells of a new selection (the tool tips' codes are others).
      if (reinterpret_cast<NMHDR*>(lParam)->code == TCN_SELCHANGE)
        SelectTab(TabCtrl_GetCurSel(tabs_));
      break;
    case WM_CTLCOLORSTATIC:
      return reinterpret_cast<LRESULT>(
          LabelColours(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
    case WM_CTLCOLORLISTBOX:
      return reinterpret_cast<LRESULT>(ListColours(reinterpret_cast<HDC>(wParam)));
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) lastFocus_ = GetFocus();
      return DefWindowProcA(hwnd_, msg, wParam, lParam);
    case WM_SETFOCUS:
      // Focus given back to the window goes on to the control that had it, if still shown.
      if (IsWindowVisible(lastFocus_))
        SetFocus(lastFocus_);
      else
        FocusFirstOnTab();
      break;
    case WM_DESTROY: PostQuitMessage(0); break;
    default: return DefWindowProcA(hwnd_, msg, wParam, lParam);
  }
  return 0;
}

void Win32MainWindow::OnCommand(int id) {
  switch (id) {
    case kIdRestore: window_.OnRestore(); break;
    case kIdImport: window_.OnImport(); break;
    case kIdPingGameList: window_.OnPingGameList(); break;
    case kIdStarcraftFromGameList: window_.OnStarcraftFromGameList(); break;
    case kIdDiabloFromGameList: window_.OnDiabloFromGameList(); break;
    case kIdAddPrivateServer: window_.OnAddPrivateServer(); break;
    case kIdDeletePrivateServer: window_.OnDeletePrivateServer(); break;
    case kIdSavePrivateList: window_.OnSavePrivateList(); break;
    case kIdPingPrivateList: window_.OnPingPrivateList(); break;
    case kIdStarcraftFromPrivateList: window_.OnStarcraftFromPrivateList(); break;
    case kIdDiabloFromPrivateList: window_.OnDiabloFromPrivateList(); break;
    case kIdWebLink: window_.OnWebLink(); break;
    case kIdEmailLink: window_.OnEmailLink(); break;
    default: break;
  }
}

}  // namespace gantrel
