#pragma once
// Real-window doubles for the network tests and the ping benchmark: message boxes are real
// MessageBoxA boxes (BoxAnswerer answers them); yields pump the thread's message queue.
#include <windows.h>

#include <string>

#include "app/dialogs.h"
#include "app/window_host.h"
#include "win32/test_support.h"

namespace gantrel::testing {

class MessageBoxDialogs : public Dialogs {
 public:
  void MsgBox(const std::string& text, const std::string& title, MsgIcon icon) override {
    MessageBoxA(nullptr, text.c_str(), title.c_str(),
                MB_OK | (icon == MsgIcon::Critical ? MB_ICONHAND : 0));
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

}  // namespace gantrel::testing
