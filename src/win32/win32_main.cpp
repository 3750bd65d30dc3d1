#include <windows.h>

#include <cstdlib>

#include "win32_main_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  static gantrel::Win32MainWindow mainWindow;
  if (!mainWindow.Create(instance, showCommand)) return EXIT_FAILURE;
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (mainWindow.PreTranslate(msg)) continue;
    // The window's own messages, keys included, went through the dialog manager there; what is
    // left (the tool tips') takes no keys.
    DispatchMessageA(&msg);
  }
  return static_cast<int>(msg.wParam);
}
