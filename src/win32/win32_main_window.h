#pragma once
#include <map>

#include "main_window.h"
#include "win32_dialogs.h"
#include "win32_font.h"
#include "win32_launcher.h"
#include "win32_list_box.h"
#include "win32_net_api.h"
#include "win32_registry.h"
#include "win32_files.h"
#include "win32_window_host.h"

namespace gantrel {

// The main window: the tab control with its four pages, the controls laid out from the layout
// table, and the routing of window messages to the handlers of MainWindow.
class Win32MainWindow {
 public:
  static constexpr const char* kClassName = "GantrelMain";
  static constexpr const char* kSyncProp = "Gantrel.Sync";

  Win32MainWindow();  // not copied: it holds move-only handles

  // Creates the window and its controls, runs the start-up sequence, then shows the window.
  bool Create(HINSTANCE instance, int showCommand);
  // Keyboard navigation; true when the message was handled.
  bool PreTranslate(MSG& msg);

 private:
  static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK TabProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  void CreateControls();
  void OnCommand(int id);
  void SelectTab(int tab);
  void FocusFirstOnTab();
  HFONT FontFor(FontKind kind);

  HWND hwnd_ = nullptr;
  HWND tabs_ = nullptr;
  HWND toolTip_ = nullptr;
  HWND lastFocus_ = nullptr;
  WNDPROC tabsDefault_ = nullptr;
  const int dpi_ = ScreenDpi();
  const UINT syncMessage_ = RegisterWindowMessageA(kSyncProp);
  std::map<FontKind, UniqueFont> fonts_;
  std::map<int, HWND> controls_;

  Win32ListBox gameList_;
  Win32ListBox privateList_;
  Win32Dialogs dialogs_;
  Win32WindowHost host_;
  Win32Registry registry_;
  Win32Files files_;
  Win32Launcher launcher_;
  Win32NetApi net_;
  MainWindow window_;
};

}  // namespace gantrel
