#pragma once
#include <windows.h>

#include "app/win32_font.h"
#include "app/window_host.h"

namespace gantrel {

// The main window's side of a ping run, and the message window frmMessage.
class Win32WindowHost : public WindowHost {
 public:
  static constexpr const char* kMessageClass = "GantrelMessage";

  void SetMain(HWND main) { main_ = main; }
  HWND MessageWindow() const { return message_; }

  void ShowMessageWindow() override;
  void UnloadMessageWindow() override;
  void EnableMain(bool enabled) override;
  void DoEvents() override;
  void FocusMain() override;
  void EndProgram() override;

 private:
  HWND main_ = nullptr;
  HWND message_ = nullptr;
  UniqueFont font_;
};

}  // namespace gantrel
