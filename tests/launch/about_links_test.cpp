#include "launch/about_links.h"

#include <gtest/gtest.h>

#include <string>

#include "fakes/fake_dialogs.h"
#include "fakes/fake_launcher.h"

namespace gantrel {
namespace {

using testing::FakeDialogs;
using testing::FakeLauncher;

struct Link {
  const char* name;
  void (*click)(Launcher&, Dialogs&);
  std::string target;
  std::string failure;
  std::string title;
};

const Link kLinks[] = {
    {"Label4", OpenWebPage, "http://gantrel.example.org/",
     "Sorry! An internal error prevents spawning your browser", "Can't open URL"},
    {"Label6", OpenEmail, "mailto:gantrel@example.org",
     "Sorry! An internal error prevents spawning your internet email program", "Can't send email"},
};

TEST(AboutLinksTest, HandsTheTargetToTheShellAndTellsOnlyFailures) {
  const struct {
    int32_t result;
    bool failed;
  } results[] = {{33, false}, {32, true}, {0, true}};
  for (const Link& link : kLinks) {
    for (const auto& r : results) {
      SCOPED_TRACE(std::string(link.name) + " result " + std::to_string(r.result));
      FakeLauncher launcher;
      FakeDialogs dialogs;
      launcher.shellDefault = r.result;
      link.click(launcher, dialogs);
      ASSERT_EQ(launcher.shellCalls.size(), 1u);
      const auto& call = launcher.shellCalls[0];
      EXPECT_EQ(call.operation, "Open");
      EXPECT_EQ(call.file, link.target);
      EXPECT_EQ(call.parameters, "");
      EXPECT_EQ(call.directory, "");
      EXPECT_EQ(call.showCommand, 0);
      if (r.failed) {
        ASSERT_EQ(dialogs.boxes.size(), 1u);
        EXPECT_EQ(dialogs.boxes[0].text, link.failure);
        EXPECT_EQ(dialogs.boxes[0].title, link.title);
        EXPECT_EQ(dialogs.boxes[0].icon, MsgIcon::Critical);
      } else {
        EXPECT_TRUE(dialogs.boxes.empty());
      }
    }
  }
}

}  // namespace
}  // namespace gantrel
