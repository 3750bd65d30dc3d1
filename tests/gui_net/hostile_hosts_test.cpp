// "Ping" on game-list rows that hold no address: each ends as " [N/A]" behind the measured rows,
// silently (no request, no message), and the run still measures the good host among them.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "app/frm_main_layout.h"
#include "gui/gantrel_driver.h"
#include "win32/test_support.h"

namespace gantrel::gui {
namespace {

constexpr const char* kGood = "127.0.0.6";  // the responder answers it at once

// A row of the game list and the address a run takes from it (the text before the first blank).
struct HostRow {
  std::string entry;
  std::string address;
};

std::vector<HostRow> HostileRows() {
  const std::string longName(300, 'n');
  return {
      {longName, longName},        // a name longer than any name service takes
      {"1.2.3", "1.2.3"},          // three fields
      {"", ""},                    // ";;" in the value
      {"999.1.1.1", "999.1.1.1"},  // a field above 255
      {kGood, kGood},              // answers
      {" 127.0.0.6", ""},          // a leading blank: the address is empty
  };
}

// Any dialog of the process, visible or not yet.
HWND BoxOf(DWORD pid) {
  return FindWindowOf(pid, "#32770", false);
}

// The text a run writes into a row with no usable reply.
std::string NotAvailable(std::string address) {
  if (address.size() < 22) address.resize(22, ' ');
  return address + " [N/A]";
}

TEST(HostileHosts, RowsWithoutAnAddressEndNotAvailableWithoutAnyMessage) {
  const std::vector<HostRow> rows = HostileRows();
  std::string value;
  for (size_t i = 0; i < rows.size(); ++i) value += (i ? ";" : "") + rows[i].entry;
  testing::SetRegString("SOFTWARE\\Battle.Net\\Configuration", "Server List", value);

  testing::TempFolder windir;
  GantrelProcess app(windir.Path());
  ASSERT_TRUE(app.Started());
  ASSERT_EQ(app.Count(kIdList1), static_cast<int>(rows.size()));
  ASSERT_EQ(BoxOf(app.Pid()), nullptr);

  // Watch for a dialog of the program from the click until the run is over. A message box is
  // modal, so the run cannot end while one is open: any box would be seen here, then answered.
  app.Click(kIdCommand10);
  std::vector<std::string> messages;
  const bool ended = WaitFor(
      [&] {
        if (HWND box = BoxOf(app.Pid())) {
          std::string text = TextOf(GetDlgItem(box, 0xFFFF));
          if (messages.empty() || messages.back() != text) messages.push_back(text);
          PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        }
        return IsWindowEnabled(app.Main()) != FALSE;
      },
      30000);
  ASSERT_TRUE(ended) << "the run did not end";
  ASSERT_TRUE(app.Sync());
  EXPECT_EQ(BoxOf(app.Pid()), nullptr);
  EXPECT_TRUE(messages.empty()) << "a message during the run: " << messages.front();
  EXPECT_TRUE(IsWindowEnabled(app.Main()));

  // The good host first, measured; every other row after it, in the order it had, as " [N/A]".
  const std::vector<std::string> after = app.Rows(kIdList1);
  const std::vector<int> data = app.ItemData(kIdList1);
  ASSERT_EQ(after.size(), rows.size());
  const std::string goodPrefix = std::string(kGood) + std::string(13, ' ') + " [";
  ASSERT_EQ(after[0].substr(0, goodPrefix.size()), goodPrefix) << after[0];
  EXPECT_EQ(after[0].substr(after[0].size() - 4), " ms]");
  const int ms = std::stoi(after[0].substr(goodPrefix.size()));
  EXPECT_PRED3(testing::Between, ms, 1, 10);
  EXPECT_EQ(data[0], ms);
  size_t at = 1;
  for (const HostRow& row : rows) {
    if (row.entry == kGood) continue;
    EXPECT_EQ(after[at], NotAvailable(row.address)) << "row " << at;
    EXPECT_EQ(data[at], 9999) << "row " << at;
    ++at;
  }
  EXPECT_TRUE(app.Close());
}

}  // namespace
}  // namespace gantrel::gui
