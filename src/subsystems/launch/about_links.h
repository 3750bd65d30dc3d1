#pragma once
#include "dialogs.h"
#include "launcher.h"

namespace gantrel {

// Shown by the About tab's link labels and opened by their clicks.
inline constexpr const char* kWebPageAddress = "http://gantrel.example.org/";
inline constexpr const char* kContactEmail = "gantrel@example.org";

void OpenWebPage(Launcher& launcher, Dialogs& dialogs);
void OpenEmail(Launcher& launcher, Dialogs& dialogs);

}  // namespace gantrel
