#pragma once
#include <windows.h>

#include "dialogs.h"

namespace gantrel {

// Message boxes and the input box, owned by the main window.
class Win32Dialogs : public Dialogs {
 public:
  void SetOwner(HWND owner) { owner_ = owner; }
  void MsgBox(const std::string& text, const std::string& title, MsgIcon icon) override;
  std::string InputBox(const std::string& prompt) override;

 private:
  HWND owner_ = nullptr;
};

// Control IDs inside the input box, for the GUI tests.
constexpr int kIdInputPrompt = 0xFFFF;
constexpr int kIdInputEdit = 0x0100;

}  // namespace gantrel
