// Hostile input through the real program: oversized and malformed `Server List` values and
// private-list files, and a Windows folder that refuses the save. Each case has one defined result;
// the window must open, the lists must hold that result, and neither the registry value nor the
// file may lose anything.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "app/frm_main_layout.h"
#include "gui/gantrel_driver.h"
#include "win32/test_support.h"

namespace gantrel::gui {
namespace {

using testing::FileExists;
using testing::ReadFileBytes;
using testing::ReadRegValue;
using testing::SavedRegistryValue;
using Rows = std::vector<std::string>;
using namespace std::string_literals;

constexpr const char* kConfigKey = "SOFTWARE\\Battle.Net\\Configuration";
constexpr const char* kStarcraftKey = "SOFTWARE\\Blizzard Entertainment\\Starcraft";
constexpr int kMaxRows = 32767;

std::string Numbered(const char* format, int i) {
  char buf[64];
  std::snprintf(buf, sizeof buf, format, i);
  return buf;
}

Rows Sorted(Rows v) {
  std::sort(v.begin(), v.end());
  return v;
}

// The private list a file gives: lines end at CR LF, CR or LF, empty lines are skipped, a row
// holds its line up to the first NUL (a list row is a NUL-ended text), at most kMaxRows rows.
Rows RowsOfFile(const std::string& bytes) {
  Rows rows;
  size_t start = 0;
  while (start < bytes.size() && rows.size() < static_cast<size_t>(kMaxRows)) {
    size_t end = std::min(bytes.find_first_of("\r\n", start), bytes.size());
    if (end > start) {
      std::string line = bytes.substr(start, end - start);
      rows.push_back(line.substr(0, line.find('\0')));
    }
    if (end + 1 < bytes.size() && bytes[end] == '\r' && bytes[end + 1] == '\n') ++end;
    start = end + 1;
  }
  return rows;
}

// A case: how `Server List` is stored, gantrel.ini's bytes (or no file), what the lists must hold,
// and whether "Save" is pressed at the end (it must then succeed). List1 keeps the value's order;
// List2 is the platform's sorted list, so its order is pinned only where the rows make it plain
// (list2InOrder), else the rows are compared as a multiset.
struct HostileCase {
  DWORD type;
  std::string value;
  std::optional<std::string> ini;
  Rows list1;
  Rows list2;
  bool list2InOrder;
  bool save;
};

// Reading a row from another process costs about half a millisecond under Wine, so a long list is
// checked through the window at its count, its first and last rows and an even spread between
// them; a short one in full, and then its rows are given back.
constexpr int kReadAll = 1000;
constexpr int kSamples = 100;

Rows ExpectRows(const GantrelProcess& app, int listId, const Rows& expected, bool inOrder) {
  const char* which = listId == kIdList1 ? "List1" : "List2";
  const int count = static_cast<int>(expected.size());
  EXPECT_EQ(app.Count(listId), count) << which;
  if (app.Count(listId) != count) return {};
  if (count <= kReadAll) {
    Rows rows = app.Rows(listId);
    EXPECT_TRUE(inOrder ? rows == expected : Sorted(rows) == Sorted(expected))
        << which << " holds other rows" << (inOrder ? " or another order" : "");
    return rows;
  }
  const Rows sorted = inOrder ? Rows{} : Sorted(expected);
  std::vector<int> sampled;
  for (int i = 0; i < count; i += count / kSamples) sampled.push_back(i);
  sampled.push_back(count - 1);
  for (int i : sampled) {
    const std::string row = app.Row(listId, i);
    if (inOrder) {
      EXPECT_TRUE(row == expected[static_cast<size_t>(i)]) << which << " row " << i;
    } else {
      EXPECT_TRUE(std::binary_search(sorted.begin(), sorted.end(), row)) << which << " row " << i;
    }
  }
  return {};
}

class HostileInput : public ::testing::Test {
 protected:
  HostileInput() {
    // The cache file is looked for here, so start-up deletes nothing of the prefix.
    testing::SetRegString(kStarcraftKey, "InstallPath", windir_);
  }
  std::string Ini() const { return windir_ + "\\gantrel.ini"; }
  // Starts the program on the case's value and file, checks both lists, saves if asked, closes it
  // and checks that the value and the file lost nothing.
  void Run(const HostileCase& c);

  SavedRegistryValue savedList_{HKEY_LOCAL_MACHINE, kConfigKey, "Server List"};
  SavedRegistryValue savedVersion_{HKEY_LOCAL_MACHINE, kConfigKey, "Server Version"};
  SavedRegistryValue savedInstall_{HKEY_LOCAL_MACHINE, kStarcraftKey, "InstallPath"};
  testing::TempFolder temp_;
  const std::string windir_ = temp_.Path();
};

void HostileInput::Run(const HostileCase& c) {
  // The rows are read back through the wide messages and converted to the ANSI code page. In a
  // single-byte code page (1252 here) every byte has its own UTF-16 unit, so that is byte-exact.
  CPINFO cp{};
  ASSERT_TRUE(GetCPInfo(CP_ACP, &cp));
  ASSERT_EQ(cp.MaxCharSize, 1u) << "the byte-exact checks need a single-byte ANSI code page";

  const std::optional<std::string>& ini = c.ini;
  testing::WriteRegValue(HKEY_LOCAL_MACHINE, kConfigKey, "Server List", {true, c.type, c.value});
  if (ini) testing::WriteFileBytes(Ini(), *ini);
  const testing::RegValue stored = ReadRegValue(HKEY_LOCAL_MACHINE, kConfigKey, "Server List");
  ASSERT_TRUE(stored.present);

  // Start-up is bounded by the driver's wait for the window.
  GantrelProcess app(windir_);
  ASSERT_TRUE(app.Started()) << "no window: the program crashed or hung at start-up";
  ASSERT_TRUE(app.Sync()) << "the window does not answer";
  ExpectRows(app, kIdList1, c.list1, true);
  const Rows list2 = ExpectRows(app, kIdList2, c.list2, c.list2InOrder);
  EXPECT_TRUE(ReadFileBytes(Ini()) == ini) << "gantrel.ini changed at start-up";

  if (c.save) {
    app.Click(kIdCommand7);
    ASSERT_TRUE(app.Running()) << "the program ended at the save";
    EXPECT_EQ(app.WaitBox(300).hwnd, nullptr) << "a message after a save that should succeed";
  }
  ASSERT_TRUE(app.Running()) << "the program ended";
  EXPECT_TRUE(app.Close()) << "the window did not close";
  EXPECT_TRUE(ReadRegValue(HKEY_LOCAL_MACHINE, kConfigKey, "Server List") == stored)
      << "Server List changed";
  EXPECT_FALSE(FileExists(Ini() + ".tmp"));
  if (!c.save) {
    EXPECT_TRUE(ReadFileBytes(Ini()) == ini) << "gantrel.ini changed";
    return;
  }
  // The saved file is every row of List2 in the window's order, byte for byte.
  ASSERT_FALSE(list2.empty());
  std::string saved;
  for (const std::string& row : list2) saved += row + "\r\n";
  EXPECT_TRUE(ReadFileBytes(Ini()) == saved) << "the saved file is not List2";
}

constexpr const char* kPrivateRow = "private.example      kept";

TEST_F(HostileInput, AMegabyteEntryIsOneRowAlsoCopiedIntoTheEmptyPrivateList) {
  std::string value;
  for (int i = 0; value.size() < (1u << 20); ++i) value += Numbered("%07d.", i);
  value.resize(1u << 20);
  Run({REG_SZ, value, std::nullopt, {value}, {value}, true, false});
}

TEST_F(HostileInput, FortyThousandEntriesShowTheFirst32767) {
  Rows entries;
  std::string value;
  for (int i = 0; i < 40000; ++i) {
    entries.push_back(Numbered("h%05d", i));
    value += (i ? ";" : "") + entries.back();
  }
  entries.resize(kMaxRows);
  Run({REG_SZ, value, std::string(kPrivateRow) + "\r\n", entries, {kPrivateRow}, true, false});
}

TEST_F(HostileInput, BytesOfTheUpperHalfAreShownAndSaved) {
  Rows entries(4);  // every byte from 0x80 to 0xFF, 32 to an entry
  for (int b = 0x80; b <= 0xFF; ++b)
    entries[static_cast<size_t>(b - 0x80) / 32] += static_cast<char>(b);
  const std::string value = entries[0] + ";" + entries[1] + ";" + entries[2] + ";" + entries[3];
  Run({REG_SZ, value, std::nullopt, entries, entries, false, true});
}

TEST_F(HostileInput, AValueOfAnotherTypeReadsAsNoValue) {
  // One empty row, copied into the empty private list.
  const std::pair<DWORD, std::string> values[] = {{REG_EXPAND_SZ, "%windir%;127.0.0.1\0"s},
                                                  {REG_MULTI_SZ, "127.0.0.1\0localhost\0\0"s},
                                                  {REG_BINARY, "127.0.0.1;localhost"}};
  for (const auto& [type, bytes] : values) {
    SCOPED_TRACE(type);
    Run({type, bytes, std::nullopt, {""}, {""}, true, false});
  }
}

TEST_F(HostileInput, FiveMegabytesOfNoiseLoadWithinTheList) {
  // Lines of every length, with NULs and bytes of the upper half; more than a full list of them.
  std::string noise(5u << 20, '\0');
  uint32_t x = 0x9E3779B9u;
  for (char& c : noise) {
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    c = static_cast<char>(x >> 24);
  }
  Run({REG_SZ, "127.0.0.1", noise, {"127.0.0.1"}, RowsOfFile(noise), false, false});
}

TEST_F(HostileInput, HundredThousandLinesLoadTheFirst32767) {
  std::vector<int> order(100000);
  for (int i = 0; i < 100000; ++i) order[static_cast<size_t>(i)] = i;
  uint32_t x = 12345;
  for (size_t i = order.size() - 1; i > 0; --i) {
    x = x * 1103515245u + 12345u;
    std::swap(order[i], order[(x >> 8) % (i + 1)]);
  }
  std::string file;
  for (int i : order) file += Numbered("line-%06d\r\n", i);
  Run({REG_SZ, "127.0.0.1", file, {"127.0.0.1"}, Sorted(RowsOfFile(file)), true, false});
}

TEST_F(HostileInput, LoneCrsLoneLfsAndNulsAreLineEndsAndRowEnds) {
  // A row holds its line up to a NUL; a line that starts with one gives an empty row.
  const std::string file =
      "delta\rbravo\nalpha\r\n\n\r\rcharlie\n\recho\r\nfox\0hidden\r\n\0golf\r\n"s;
  const Rows rows = {"", "alpha", "bravo", "charlie", "delta", "echo", "fox"};
  Run({REG_SZ, "127.0.0.1", file, {"127.0.0.1"}, rows, true, true});
}

TEST_F(HostileInput, RowsOf512CharactersOrMoreAreSaved) {
  const Rows rows = {"long00600-" + std::string(590, 'x'), "long70000-" + std::string(69990, 'x')};
  Run({REG_SZ, "127.0.0.1", rows[0] + "\r\n" + rows[1] + "\r\n", {"127.0.0.1"}, rows, true, true});
}

TEST_F(HostileInput, AWindowsFolderThatDoesNotExistRefusesTheSaveWithTheMessage) {
  testing::SetRegString(kConfigKey, "Server List", "127.0.0.1;localhost");
  const std::string missing = windir_ + "\\no-such-folder";
  GantrelProcess app(missing);
  ASSERT_TRUE(app.Started());
  // Nothing to load: the private list starts as the game's list.
  EXPECT_EQ(app.Rows(kIdList2), (Rows{"127.0.0.1", "localhost"}));

  // The message: OK only, no icon, titled "Gantrel".
  app.Click(kIdCommand7);
  Box box = app.WaitBox();
  ASSERT_NE(box.hwnd, nullptr) << "no message after a refused save";
  EXPECT_EQ(box.title, "Gantrel");
  EXPECT_EQ(box.text, "The private server list could not be saved to " + missing + "\\gantrel.ini");
  EXPECT_NE(GetDlgItem(box.hwnd, IDOK), nullptr);
  EXPECT_EQ(GetDlgItem(box.hwnd, IDCANCEL), nullptr);
  app.PressOk(box);
  EXPECT_TRUE(app.Sync());
  EXPECT_TRUE(IsWindowEnabled(app.Main()));
  EXPECT_EQ(app.Rows(kIdList2).size(), 2u);
  EXPECT_TRUE(app.Close());
  EXPECT_FALSE(FileExists(missing));
}

}  // namespace
}  // namespace gantrel::gui
