#include "win32_window_host.h"

namespace gantrel {
namespace {

LRESULT CALLBACK BusyProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_CLOSE) return 0;  // it goes away with the run, not before
  if (msg == WM_CTLCOLORSTATIC) {
    SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// From the second run on, the class is there and RegisterClassA fails, harmlessly.
void RegisterBusyClass(HINSTANCE instance) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = BusyProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  wc.lpszClassName = Win32WindowHost::kBusyClass;
  RegisterClassA(&wc);
}

}  // namespace

// Each run shows one and closes it.
void Win32WindowHost::ShowBusyWindow() {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  RegisterBusyClass(instance);
  const int dpi = ScreenDpi();
  const auto px = [dpi](int twips) { return TwipsToPixels(twips, dpi); };
  const DWORD style = WS_POPUP | WS_CAPTION | WS_BORDER;
  RECT r{0, 0, px(kBusyWidthTwips), px(kBusyHeightTwips)};
  AdjustWindowRectEx(&r, style, FALSE, WS_EX_TOOLWINDOW);
  const int w = r.right - r.left, h = r.bottom - r.top;
  // Centred over the main window.
  RECT m{};
  GetWindowRect(main_, &m);
  busy_ = CreateWindowExA(WS_EX_TOOLWINDOW, kBusyClass, kBusyCaption, style,
                          m.left + (m.right - m.left - w) / 2, m.top + (m.bottom - m.top - h) / 2,
                          w, h, main_, nullptr, instance, nullptr);
  font_ = MakeFont(Font(kBusyText.font), dpi);
  HWND label = CreateWindowA("STATIC", kBusyText.caption, WS_CHILD | WS_VISIBLE | SS_LEFT,
                             px(kBusyText.left), px(kBusyText.top), px(kBusyText.width),
                             px(kBusyText.height), busy_,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(kBusyText.id)),
                             instance, nullptr);
  SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
  ShowWindow(busy_, SW_SHOWNOACTIVATE);  // painted at the run's first yield
}

// The font goes with the next run's window, or with the program.
void Win32WindowHost::CloseBusyWindow() { DestroyWindow(busy_); }

void Win32WindowHost::EnableMain(bool enabled) { EnableWindow(main_, enabled); }

void Win32WindowHost::HandlePendingEvents() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // The main loop must still see it.
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    // No key reaches the windows during a run (the main window is disabled): nothing to translate.
    DispatchMessageA(&msg);
  }
}

void Win32WindowHost::FocusMain() { SetFocus(main_); }

void Win32WindowHost::EndProgram() { ExitProcess(0); }

}  // namespace gantrel
