#include "registry/server_list.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "fakes/fake_files.h"
#include "fakes/fake_list_box.h"
#include "fakes/fake_registry.h"

namespace gantrel {
namespace {

using testing::FakeFiles;
using testing::FakeListBox;
using testing::FakeRegistry;
using Rows = std::vector<std::string>;

const FakeRegistry::Key kServerList{"SOFTWARE\\Battle.Net\\Configuration", "Server List"};
const FakeRegistry::Key kServerVersion{"SOFTWARE\\Battle.Net\\Configuration", "Server Version"};
const FakeRegistry::Key kInstallPath{"SOFTWARE\\Blizzard Entertainment\\Starcraft", "InstallPath"};

std::string Numbered(int i) {
  char name[32];
  std::snprintf(name, sizeof name, "server-number-%05d.example", i);
  return name;
}

TEST(ServerList, ImportSplitsAtEverySemicolonAndNothingElse) {
  const struct {
    std::string value;
    Rows rows;
  } cases[] = {
      {"useast.battle.net;1.2.3.4;host", {"useast.battle.net", "1.2.3.4", "host"}},
      {"a;b;", {"a", "b", ""}},
      {"a;;b", {"a", "", "b"}},
      {";;", {"", "", ""}},
      {" a ; b\t;c ", {" a ", " b\t", "c "}},
      {"", {""}},  // also what a missing value or one of another type reads as
  };
  for (const auto& c : cases) {
    FakeRegistry registry;
    registry.values[kServerList] = c.value;
    FakeListBox list1;
    FakeListBox list2(true);
    list2.Fill({"kept"});
    ImportServerList(registry, list1, list2);
    EXPECT_EQ(list1.Texts(), c.rows) << c.value;
    for (const auto& row : list1.rows) EXPECT_EQ(row.data, 0);
  }
}

TEST(ServerList, ImportEmptiesList1First) {
  FakeRegistry registry;
  registry.values[kServerList] = std::string("a;b");
  FakeListBox list1;
  list1.Fill({"old1", "old2", "old3"});
  list1.rows[0].data = 42;
  FakeListBox list2(true);
  list2.Fill({"x"});
  ImportServerList(registry, list1, list2);
  ImportServerList(registry, list1, list2);
  EXPECT_EQ(list1.Texts(), (Rows{"a", "b"}));
  EXPECT_EQ(list1.rows[0].data, 0);
}

TEST(ServerList, ImportSeedsOnlyAnEmptyList2) {
  FakeRegistry registry;
  registry.values[kServerList] = std::string("b.host;;A.host;c.host;");
  FakeListBox list1;
  FakeListBox list2(true);
  ImportServerList(registry, list1, list2);
  EXPECT_EQ(list1.Texts(), (Rows{"b.host", "", "A.host", "c.host", ""}));
  EXPECT_EQ(list2.Texts(), (Rows{"", "", "A.host", "b.host", "c.host"}));

  FakeListBox mine(true);
  mine.Fill({"mine   my server"});
  mine.rows[0].data = 9999;
  mine.selected = 0;
  ImportServerList(registry, list1, mine);
  EXPECT_EQ(mine.Texts(), Rows{"mine   my server"});
  EXPECT_EQ(mine.rows[0].data, 9999);
  EXPECT_EQ(mine.selected, 0);
}

TEST(ServerList, ImportStopsAtAFullListAndStaysFast) {
  // About 1 MB with 40,000 entries: more rows than a list holds.
  std::string value;
  for (int i = 0; i < 40000; ++i) value += (i ? ";" : "") + Numbered(i);
  FakeRegistry registry;
  registry.values[kServerList] = value;
  FakeListBox list1;
  FakeListBox list2(true);

  const auto start = std::chrono::steady_clock::now();
  ImportServerList(registry, list1, list2);
  const auto took = std::chrono::steady_clock::now() - start;

  ASSERT_EQ(list1.ListCount(), kMaxRows);
  EXPECT_EQ(list1.List(0), Numbered(0));
  EXPECT_EQ(list1.List(kMaxRows - 1), Numbered(kMaxRows - 1));
  ASSERT_EQ(list2.ListCount(), kMaxRows);
  EXPECT_EQ(list2.List(kMaxRows - 1), Numbered(kMaxRows - 1));
  // Generous even under sanitizers; re-copying the rest of the text at every ";" takes minutes.
  EXPECT_LT(std::chrono::duration_cast<std::chrono::seconds>(took).count(), 10);

  // A second import over a full list gives the same rows.
  ImportServerList(registry, list1, list2);
  EXPECT_EQ(list1.ListCount(), kMaxRows);
  EXPECT_EQ(list1.List(kMaxRows - 1), Numbered(kMaxRows - 1));
}

TEST(ServerList, RestoreWritesDefaultDeletesCacheAndImports) {
  FakeRegistry registry;
  registry.values[kServerList] = std::string("old.host");
  registry.values[kInstallPath] = std::string("C:\\Games\\Starcraft");
  FakeFiles files;
  files.files["C:\\Games\\Starcraft\\bncache.dat"] = "cache";
  FakeListBox list1;
  list1.Fill({"old.host"});
  FakeListBox list2(true);
  list2.Fill({"mine"});

  RestoreServerList(registry, files, list1, list2);

  EXPECT_EQ(std::get<std::string>(registry.values[kServerList]), kDefaultServerList);
  EXPECT_EQ(list1.ListCount(), 8);
  EXPECT_EQ(list1.List(0), "useast.battle.net");
  EXPECT_EQ(list1.List(7), "211.233.0.72");
  EXPECT_EQ(files.deleted, Rows{"C:\\Games\\Starcraft\\bncache.dat"});
  EXPECT_EQ(list2.Texts(), Rows{"mine"});
}

TEST(ServerList, RestoreWithRefusedWriteShowsTheOldValue) {
  FakeRegistry registry;
  registry.values[kServerList] = std::string("old.host;other.host");
  registry.readOnly = true;
  FakeFiles files;
  FakeListBox list1;
  FakeListBox list2(true);
  RestoreServerList(registry, files, list1, list2);
  EXPECT_EQ(list1.Texts(), (Rows{"old.host", "other.host"}));
}

TEST(ServerList, CheckServerVersionEndsAsDWordOne) {
  const struct {
    std::optional<int32_t> stored;
    int writes;
  } cases[] = {{1, 0}, {0, 1}, {2, 1}, {std::nullopt, 1}};
  for (const auto& c : cases) {
    FakeRegistry registry;
    if (c.stored) registry.values[kServerVersion] = *c.stored;
    CheckServerVersion(registry);
    EXPECT_EQ(registry.writes, c.writes) << c.stored.value_or(-1);
    const auto* value = std::get_if<int32_t>(&registry.values[kServerVersion]);
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(*value, 1);
  }
}

TEST(ServerList, DeleteServerCacheOnlyInTheInstallFolder) {
  const struct {
    std::optional<std::string> installPath;
    Rows deleted;
  } cases[] = {
      {"C:\\Program Files\\Starcraft", {"C:\\Program Files\\Starcraft\\bncache.dat"}},
      // The folder's text is taken as it is: nothing inserted, nothing removed.
      {"D:\\SC\\", {"D:\\SC\\\\bncache.dat"}},
      {"", {}},
      {std::nullopt, {}},
  };
  for (const auto& c : cases) {
    FakeRegistry registry;
    if (c.installPath) registry.values[kInstallPath] = *c.installPath;
    FakeFiles files;
    files.files["\\bncache.dat"] = "not the game's";
    DeleteServerCache(registry, files);
    EXPECT_EQ(files.deleted, c.deleted) << c.installPath.value_or("(missing)");
    EXPECT_EQ(files.files.count("\\bncache.dat"), 1u);
  }
}

}  // namespace
}  // namespace gantrel
