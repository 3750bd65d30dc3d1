// "Ping" on both tabs of the real window, against the scripted ICMP responder: the window's
// state during a run, the times written into the rows, the order afterwards.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "app/frm_main_layout.h"
#include "gui/gantrel_driver.h"
#include "win32/test_support.h"

namespace gantrel::gui {
namespace {

// Hosts of the responder's script: their round trips in ms, or silent.
constexpr const char* kFast = "127.0.0.6";    // answers at once
constexpr const char* kTwenty = "127.0.0.7";  // 20 ms
constexpr const char* kForty = "127.0.0.2";   // 40 ms
constexpr const char* kSilent = "127.0.0.4";  // never answers

void SetServerList(const std::string& value) {
  testing::SetRegString("SOFTWARE\\Battle.Net\\Configuration", "Server List", value);
}

HWND MessageWindowOf(DWORD pid) {
  return FindWindowOf(pid, "GantrelMessage", false);
}

// The time in a measured row's suffix, or -1 for "[N/A]".
int TimeOf(const std::string& row) {
  auto open = row.rfind(" [");
  if (open == std::string::npos) return -2;
  std::string inner = row.substr(open + 2);
  if (inner == "N/A]") return -1;
  return std::stoi(inner);
}

class PingRuns : public ::testing::Test {
 protected:
  void WriteIni(const std::string& bytes) {
    testing::WriteFileBytes(windir_ + "\\gantrel.ini", bytes);
  }

  // Clicks "Ping" and checks the window's state while the run goes on; returns when it is over.
  void RunPing(GantrelProcess& app, int button) {
    app.Click(button);  // syncs in the run's first yield
    EXPECT_FALSE(IsWindowEnabled(app.Main()));
    HWND message = MessageWindowOf(app.Pid());
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(TextOf(message), "Gantrel");
    EXPECT_EQ(TextOf(GetDlgItem(message, kIdMessageLabel1)), "Pinging Servers...");
    ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(app.Main()) != FALSE; }, 60000));
    ASSERT_TRUE(app.Sync());
    EXPECT_EQ(MessageWindowOf(app.Pid()), nullptr);
  }

  testing::TempFolder temp_;
  const std::string windir_ = temp_.Path();
};

TEST_F(PingRuns, GameListShowsTheTimesAndSortsFastestFirstWithTheSilentHostLast) {
  SetServerList(std::string(kSilent) + ";" + kForty + ";" + kTwenty + ";" + kFast);
  GantrelProcess app(windir_);
  ASSERT_TRUE(app.Started());
  RunPing(app, kIdCommand10);

  auto rows = app.Rows(kIdList1);
  auto data = app.ItemData(kIdList1);
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0].substr(0, 9), kFast);
  EXPECT_EQ(rows[1].substr(0, 9), kTwenty);
  EXPECT_EQ(rows[2].substr(0, 9), kForty);
  EXPECT_EQ(rows[3], std::string(kSilent) + std::string(13, ' ') + " [N/A]");
  EXPECT_EQ(data[3], 9999);
  // Times in their scripted ranges; the suffix starts in column 23 for every row.
  int fast = TimeOf(rows[0]), twenty = TimeOf(rows[1]), forty = TimeOf(rows[2]);
  EXPECT_PRED3(testing::Between, fast, 1, 10);
  EXPECT_PRED3(testing::Between, twenty, 20, 30);
  EXPECT_PRED3(testing::Between, forty, 40, 50);
  EXPECT_EQ(data[0], fast);
  EXPECT_EQ(data[1], twenty);
  EXPECT_EQ(data[2], forty);
  for (const auto& row : rows) EXPECT_EQ(row.find(" ["), 22u) << row;
}

TEST_F(PingRuns, PrivateListKeepsItsOrderAndDescriptionsWithTheTimesInOneColumn) {
  SetServerList(kFast);
  WriteIni(std::string(kForty) + "            Forty\r\n" + kSilent + "            Silent one\r\n" +
           kTwenty + "\r\n");
  GantrelProcess app(windir_);
  ASSERT_TRUE(app.Started());
  auto before = app.Rows(kIdList2);
  ASSERT_EQ(before.size(), 3u);

  RunPing(app, kIdCommand4);
  auto rows = app.Rows(kIdList2);
  ASSERT_EQ(rows.size(), 3u);
  for (size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i].substr(0, before[i].size()), before[i]);  // same order, description kept
    EXPECT_EQ(rows[i].find(" [", before[i].size()), 42u) << rows[i];
  }
  EXPECT_EQ(TimeOf(rows[1]), -1);
  int forty = TimeOf(rows[0]), twenty = TimeOf(rows[2]);
  EXPECT_PRED3(testing::Between, forty, 40, 50);
  EXPECT_PRED3(testing::Between, twenty, 20, 30);
  // List1 took no part.
  EXPECT_EQ(app.Rows(kIdList1), (std::vector<std::string>{kFast}));
}

}  // namespace
}  // namespace gantrel::gui
