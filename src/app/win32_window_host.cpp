#include "app/win32_window_host.h"

#include "app/frm_main_layout.h"

namespace gantrel {
namespace {

LRESULT CALLBACK MessageProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_CLOSE) return 0;  // it goes away with the run, not before
  if (msg == WM_CTLCOLORSTATIC) {
    SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

void RegisterMessageClass(HINSTANCE instance) {
  WNDCLASSA wc{};
  if (GetClassInfoA(instance, Win32WindowHost::kMessageClass, &wc)) return;
  wc.lpfnWndProc = MessageProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  wc.lpszClassName = Win32WindowHost::kMessageClass;
  RegisterClassA(&wc);
}

}  // namespace

void Win32WindowHost::ShowMessageWindow() {
  if (message_) {
    ShowWindow(message_, SW_SHOW);
    return;
  }
  HINSTANCE instance = GetModuleHandleA(nullptr);
  RegisterMessageClass(instance);
  int dpi = ScreenDpi();
  DWORD style = WS_POPUP | WS_CAPTION | WS_BORDER;
  RECT r{0, 0, TwipsToPixels(kMessageWidthTwips, dpi), TwipsToPixels(kMessageHeightTwips, dpi)};
  AdjustWindowRectEx(&r, style, FALSE, WS_EX_TOOLWINDOW);
  int w = r.right - r.left, h = r.bottom - r.top;
  // Centred over the main window.
  RECT m{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (main_) GetWindowRect(main_, &m);
  int x = m.left + (m.right - m.left - w) / 2, y = m.top + (m.bottom - m.top - h) / 2;
  message_ = CreateWindowExA(WS_EX_TOOLWINDOW, kMessageClass, kMessageCaption, style, x, y, w, h,
                             main_, nullptr, instance, nullptr);
  if (!message_) return;
  font_ = MakeFont(MessageFont(), dpi);
  HWND label = CreateWindowExA(0, "STATIC", kMessageText, WS_CHILD | WS_VISIBLE | SS_LEFT,
                               TwipsToPixels(240, dpi), TwipsToPixels(360, dpi),
                               TwipsToPixels(2235, dpi), TwipsToPixels(330, dpi), message_,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdMessageLabel1)),
                               instance, nullptr);
  SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
  ShowWindow(message_, SW_SHOWNOACTIVATE);
  UpdateWindow(message_);
}

void Win32WindowHost::UnloadMessageWindow() {
  if (message_) DestroyWindow(message_);
  message_ = nullptr;
  font_ = UniqueFont();
}

void Win32WindowHost::EnableMain(bool enabled) {
  if (main_) EnableWindow(main_, enabled);
}

void Win32WindowHost::DoEvents() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // The main loop must still see it.
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

void Win32WindowHost::FocusMain() {
  if (main_) SetFocus(main_);
}

void Win32WindowHost::EndProgram() { ExitProcess(0); }

}  // namespace gantrel
