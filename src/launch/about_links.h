#pragma once
#include "app/dialogs.h"
#include "launch/launcher.h"

namespace gantrel {

// Shown by the About tab's link labels and opened by their clicks.
inline constexpr const char* kWebPageAddress = "http://gantrel.example.org/";
inline constexpr const char* kContactEmail = "gantrel@example.org";

void OpenWebPage(Launcher& launcher, Dialogs& dialogs);  // Label4
void OpenEmail(Launcher& launcher, Dialogs& dialogs);    // Label6

}  // namespace gantrel
