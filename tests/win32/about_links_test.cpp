// The About links end to end: the real shell with a stub handler registered for web and mail
// links, and the real message boxes when no handler is registered.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/win32_dialogs.h"
#include "launch/about_links.h"
#include "launch/win32_launcher.h"
#include "launch_stub/stub_record.h"

namespace gantrel {
namespace {

using testing::BoxAnswerer;
using testing::SavedRegistryValue;

const struct {
  void (*click)(Launcher&, Dialogs&);
  std::string target;
  std::string failure;
  std::string title;
} kLinks[] = {
    {OpenWebPage, "http://gantrel.example.org/",
     "Sorry! An internal error prevents spawning your browser", "Can't open URL"},
    {OpenEmail, "mailto:gantrel@example.org",
     "Sorry! An internal error prevents spawning your internet email program", "Can't send email"},
};

class Win32AboutLinksTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(testing::PutStub(handler));
    // Registered through HKEY_CLASSES_ROOT, where the shell looks the protocols up.
    const std::string command = "\"" + handler + "\" \"%1\"";
    web.SetString(command);
    mail.SetString(command);
  }

  testing::TempFolder temp;
  std::string handler = temp.Folder("Link Handler") + "\\handler.exe";
  SavedRegistryValue web{HKEY_CLASSES_ROOT, "http\\shell\\open\\command", ""};
  SavedRegistryValue mail{HKEY_CLASSES_ROOT, "mailto\\shell\\open\\command", ""};
  SavedRegistryValue userWeb{HKEY_CURRENT_USER, "Software\\Classes\\http\\shell\\open\\command",
                             ""};
  SavedRegistryValue userMail{HKEY_CURRENT_USER, "Software\\Classes\\mailto\\shell\\open\\command",
                              ""};
  Win32Launcher launcher;
  Win32Dialogs dialogs;
};

TEST_F(Win32AboutLinksTest, HandlersReceiveTheTargetsAndNoBoxShows) {
  for (const auto& link : kLinks) {
    SCOPED_TRACE(link.target);
    DeleteFileA(testing::RecordPath(handler).c_str());
    BoxAnswerer answerer;
    link.click(launcher, dialogs);
    const auto r = testing::WaitForRecord(handler);
    ASSERT_TRUE(r) << "the handler did not start within 10 s";
    EXPECT_NE(r->at("cmdline").find("\"" + link.target + "\""), std::string::npos)
        << r->at("cmdline");
    EXPECT_TRUE(answerer.boxes.empty());
  }
}

TEST_F(Win32AboutLinksTest, WithoutHandlersTheFailureBoxesShow) {
  for (const auto* value : {&web, &mail, &userWeb, &userMail}) value->Remove();
  for (const auto& link : kLinks) {
    SCOPED_TRACE(link.title);
    BoxAnswerer answerer;
    link.click(launcher, dialogs);
    ASSERT_EQ(answerer.boxes.size(), 1u);
    EXPECT_EQ(answerer.boxes[0].title, link.title);
    EXPECT_EQ(answerer.boxes[0].text, link.failure);
    EXPECT_EQ(answerer.boxes[0].icon, LoadIconA(nullptr, IDI_HAND));
  }
  EXPECT_FALSE(testing::ReadRecord(handler));
}

}  // namespace
}  // namespace gantrel
