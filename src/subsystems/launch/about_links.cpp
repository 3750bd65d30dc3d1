#include "launch/about_links.h"

#include <string>

namespace gantrel {
namespace {

constexpr const char* kMailtoPrefix = "mailto:";
constexpr const char* kBrowserFailure = "Sorry! An internal error prevents spawning your browser";
constexpr const char* kBrowserFailureTitle = "Can't open URL";
constexpr const char* kEmailFailure =
    "Sorry! An internal error prevents spawning your internet email program";
constexpr const char* kEmailFailureTitle = "Can't send email";

// Hands the link to the shell; a result of 32 or less means nothing was opened.
void OpenLink(Launcher& launcher, Dialogs& dialogs, const std::string& target,
              const char* failure, const char* title) {
  if (launcher.ShellExecute("Open", target, "", "", kSwHide) <= 32) {
    dialogs.MsgBox(failure, title, MsgIcon::Critical);
  }
}

}  // namespace

void OpenWebPage(Launcher& launcher, Dialogs& dialogs) {
  OpenLink(launcher, dialogs, kWebPageAddress, kBrowserFailure, kBrowserFailureTitle);
}

void OpenEmail(Launcher& launcher, Dialogs& dialogs) {
  OpenLink(launcher, dialogs, std::string(kMailtoPrefix) + kContactEmail, kEmailFailure,
           kEmailFailureTitle);
}

}  // namespace gantrel
