#pragma once
#include "win32_font.h"
#include "window_host.h"

namespace gantrel {

// The main window's side of a ping run, and the "Pinging Servers..." busy window.
class Win32WindowHost : public WindowHost {
 public:
  static constexpr const char* kBusyClass = "GantrelMessage";

  void SetMain(HWND main) { main_ = main; }

  void ShowBusyWindow() override;
  void CloseBusyWindow() override;
  void EnableMain(bool enabled) override;
  void HandlePendingEvents() override;
  void FocusMain() override;
  void EndProgram() override;

 private:
  HWND main_ = nullptr;
  HWND busy_ = nullptr;
  UniqueFont font_;
};

}  // namespace gantrel
