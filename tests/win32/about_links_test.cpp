// The About links end to end: the real shell with a stub handler registered for web and mail
// links, and the real message boxes when no handler is registered.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/win32_dialogs.h"
#include "launch/about_links.h"
#include "launch/win32_launcher.h"
#include "launch_stub/stub_record.h"

namespace gantrel {
namespace {

using testing::PutStub;
using testing::ReadRecord;
using testing::SavedRegistryValue;
using testing::TempFolder;
using testing::WaitForRecord;

// A box as the user saw it.
struct SeenBox {
  std::string title;
  std::string text;
  bool criticalIcon;
};

std::vector<SeenBox> seenBoxes;

BOOL CALLBACK FindDialog(HWND hwnd, LPARAM found) {
  char cls[16] = {};
  GetClassNameA(hwnd, cls, sizeof cls);
  if (std::string(cls) != "#32770" || !IsWindowVisible(hwnd)) return TRUE;
  *reinterpret_cast<HWND*>(found) = hwnd;
  return FALSE;
}

BOOL CALLBACK FindStopIcon(HWND child, LPARAM found) {
  char cls[16] = {};
  GetClassNameA(child, cls, sizeof cls);
  const auto style = static_cast<DWORD>(GetWindowLongA(child, GWL_STYLE));
  if (lstrcmpiA(cls, "Static") == 0 && (style & SS_TYPEMASK) == SS_ICON && IsWindowVisible(child) &&
      reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0)) == LoadIconA(nullptr, IDI_HAND)) {
    *reinterpret_cast<bool*>(found) = true;
    return FALSE;
  }
  return TRUE;
}

// Runs inside the box's modal loop: reads the box of this thread and presses its OK button.
void CALLBACK AnswerBox(HWND, UINT, UINT_PTR, DWORD) {
  HWND dlg = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&dlg));
  if (!dlg) return;
  SeenBox box{};
  char text[512] = {};
  GetWindowTextA(dlg, text, sizeof text);
  box.title = text;
  GetDlgItemTextA(dlg, 0xFFFF, text, sizeof text);
  box.text = text;
  EnumChildWindows(dlg, FindStopIcon, reinterpret_cast<LPARAM>(&box.criticalIcon));
  seenBoxes.push_back(box);
  SendMessageA(dlg, WM_COMMAND, IDOK, 0);
}

// Answers every message box shown while it lives, so that no test can hang in one.
class BoxAnswerer {
 public:
  BoxAnswerer() : timer_(SetTimer(nullptr, 0, 50, AnswerBox)) { seenBoxes.clear(); }
  BoxAnswerer(const BoxAnswerer&) = delete;
  BoxAnswerer& operator=(const BoxAnswerer&) = delete;
  ~BoxAnswerer() { KillTimer(nullptr, timer_); }

 private:
  UINT_PTR timer_;
};

class Win32AboutLinksTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(PutStub(handler));
    // Registered through HKEY_CLASSES_ROOT, where the shell looks the protocols up.
    const std::string command = "\"" + handler + "\" \"%1\"";
    web.SetString(command);
    mail.SetString(command);
  }

  TempFolder temp;
  std::string handler = temp.Folder("Link Handler") + "\\handler.exe";
  SavedRegistryValue web{HKEY_CLASSES_ROOT, "http\\shell\\open\\command", ""};
  SavedRegistryValue mail{HKEY_CLASSES_ROOT, "mailto\\shell\\open\\command", ""};
  SavedRegistryValue userWeb{HKEY_CURRENT_USER, "Software\\Classes\\http\\shell\\open\\command", ""};
  SavedRegistryValue userMail{HKEY_CURRENT_USER, "Software\\Classes\\mailto\\shell\\open\\command",
                              ""};
  Win32Launcher launcher;
  Win32Dialogs dialogs;
};

TEST_F(Win32AboutLinksTest, HandlersReceiveTheTargetsAndNoBoxShows) {
  const struct {
    void (*click)(Launcher&, Dialogs&);
    std::string target;
  } links[] = {{OpenWebPage, "http://gantrel.example.org/"},
               {OpenEmail, "mailto:gantrel@example.org"}};
  for (const auto& link : links) {
    SCOPED_TRACE(link.target);
    DeleteFileA(testing::RecordPath(handler).c_str());
    BoxAnswerer answerer;
    link.click(launcher, dialogs);
    const auto r = WaitForRecord(handler);
    ASSERT_TRUE(r) << "the handler did not start within 10 s";
    EXPECT_NE(r->at("cmdline").find("\"" + link.target + "\""), std::string::npos)
        << r->at("cmdline");
    EXPECT_TRUE(seenBoxes.empty());
  }
}

TEST_F(Win32AboutLinksTest, WithoutHandlersTheFailureBoxesShow) {
  for (const auto* value : {&web, &mail, &userWeb, &userMail}) value->Remove();
  const struct {
    void (*click)(Launcher&, Dialogs&);
    std::string text;
    std::string title;
  } links[] = {
      {OpenWebPage, "Sorry! An internal error prevents spawning your browser", "Can't open URL"},
      {OpenEmail, "Sorry! An internal error prevents spawning your internet email program",
       "Can't send email"},
  };
  for (const auto& link : links) {
    SCOPED_TRACE(link.title);
    BoxAnswerer answerer;
    link.click(launcher, dialogs);
    ASSERT_EQ(seenBoxes.size(), 1u);
    EXPECT_EQ(seenBoxes[0].title, link.title);
    EXPECT_EQ(seenBoxes[0].text, link.text);
    EXPECT_TRUE(seenBoxes[0].criticalIcon);
  }
  EXPECT_FALSE(ReadRecord(handler));
}

}  // namespace
}  // namespace gantrel
