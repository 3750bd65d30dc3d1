#pragma once
#include <windows.h>

#include <map>
#include <vector>

#include "app/frm_main.h"
#include "app/win32_dialogs.h"
#include "app/win32_font.h"
#include "app/win32_list_box.h"
#include "app/win32_window_host.h"
#include "icmp/win32_net_api.h"
#include "launch/win32_launcher.h"
#include "private_list/win32_files.h"
#include "registry/win32_registry.h"

namespace gantrel {

// The main window: SSTab1 with its four pages, the controls laid out from the layout table, and
// the routing of window messages to the named handlers.
class FrmMain {
 public:
  static constexpr const char* kClassName = "GantrelMain";
  static constexpr const char* kSyncProp = "Gantrel.Sync";

  FrmMain();
  FrmMain(const FrmMain&) = delete;
  FrmMain& operator=(const FrmMain&) = delete;

  // Creates the window and its controls, runs the start-up sequence, then shows the window.
  bool Create(HINSTANCE instance, int showCommand);
  // Keyboard navigation; true when the message was handled.
  bool PreTranslate(MSG& msg);

 private:
  static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK TabProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  void CreateControls();
  void OnCommand(int id, int code);
  HBRUSH OnCtlColor(UINT msg, HDC dc, HWND control);
  void SelectTab(int tab);
  void FocusFirstOnTab();
  HFONT FontFor(FontKind kind);

  HWND hwnd_ = nullptr;
  HWND tab_ = nullptr;
  HWND toolTip_ = nullptr;
  HWND lastFocus_ = nullptr;
  WNDPROC tabDefault_ = nullptr;
  int dpi_ = 96;
  UINT syncMessage_ = 0;
  std::map<FontKind, UniqueFont> fonts_;
  std::map<int, HWND> controls_;

  Win32ListBox list1_;
  Win32ListBox list2_;
  Win32Dialogs dialogs_;
  Win32WindowHost host_;
  Win32Registry registry_;
  Win32Files files_;
  Win32Launcher launcher_;
  Win32NetApi net_;
  App app_;
};

}  // namespace gantrel
