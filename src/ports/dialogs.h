#pragma once
#include <string>

namespace gantrel {

// The application title, used by every box that names no title of its own.
inline constexpr const char* kAppTitle = "Gantrel";

enum class MsgIcon { None, Critical };

// Modal boxes. Every message box has the OK button only.
class Dialogs {
 public:
  virtual ~Dialogs() = default;
  virtual void MsgBox(const std::string& text, const std::string& title = kAppTitle,
                      MsgIcon icon = MsgIcon::None) = 0;
  // Prompt with one edit field, OK and Cancel, titled "Gantrel". Cancel gives "".
  virtual std::string InputBox(const std::string& prompt) = 0;
};

}  // namespace gantrel
