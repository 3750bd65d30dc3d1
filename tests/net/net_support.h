#pragma once
// Real-window doubles for the network tests and the ping benchmark: message boxes are real
// MessageBoxA boxes, answered by a thread timer; yields pump the thread's message queue.
#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include "app/dialogs.h"
#include "app/window_host.h"

namespace gantrel::testing {

class MessageBoxDialogs : public Dialogs {
 public:
  void MsgBox(const std::string& text, const std::string& title, MsgIcon icon) override {
    MessageBoxA(nullptr, text.c_str(), title.c_str(), MB_OK | (icon == MsgIcon::Critical ? MB_ICONHAND : 0));
  }
  std::string InputBox(const std::string&) override { return ""; }
};

class PumpingHost : public WindowHost {
 public:
  void ShowMessageWindow() override {}
  void UnloadMessageWindow() override {}
  void EnableMain(bool) override {}
  void DoEvents() override {
    ++yields;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  void FocusMain() override {}
  void EndProgram() override { ended = true; }

  int yields = 0;
  bool ended = false;
};

// While alive, a thread timer finds every message box (#32770) of this thread, records its title,
// text and buttons, and presses OK. The timer runs inside the box's own modal loop.
class BoxAnswerer {
 public:
  struct Box {
    std::string title;
    std::string text;
    bool hasCancel = false;
    bool hasIcon = false;
  };

  BoxAnswerer() {
    current_ = this;
    timer_ = SetTimer(nullptr, 0, 25, &Tick);
  }
  ~BoxAnswerer() {
    KillTimer(nullptr, timer_);
    current_ = nullptr;
  }
  BoxAnswerer(const BoxAnswerer&) = delete;
  BoxAnswerer& operator=(const BoxAnswerer&) = delete;

  std::vector<Box> boxes;

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (current_ != nullptr) EnumThreadWindows(GetCurrentThreadId(), &Answer, 0);
  }
  static BOOL CALLBACK Answer(HWND wnd, LPARAM) {
    char cls[16] = {};
    GetClassNameA(wnd, cls, sizeof cls);
    if (std::string(cls) != "#32770" || !IsWindowVisible(wnd) || current_->answered_.count(wnd)) return TRUE;
    current_->answered_.insert(wnd);
    Box box;
    char buf[1024] = {};
    GetWindowTextA(wnd, buf, sizeof buf);
    box.title = buf;
    buf[0] = '\0';
    GetDlgItemTextA(wnd, 0xFFFF, buf, sizeof buf);
    box.text = buf;
    box.hasCancel = GetDlgItem(wnd, IDCANCEL) != nullptr && IsWindowVisible(GetDlgItem(wnd, IDCANCEL));
    const HWND icon = GetDlgItem(wnd, 0x0440);  // the box's icon control
    box.hasIcon = icon != nullptr && IsWindowVisible(icon) && SendMessageA(icon, STM_GETICON, 0, 0) != 0;
    current_->boxes.push_back(box);
    PostMessageA(wnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(wnd, IDOK)));
    return TRUE;
  }

  static inline BoxAnswerer* current_ = nullptr;
  UINT_PTR timer_ = 0;
  std::set<HWND> answered_;
};

}  // namespace gantrel::testing
