#include "registry/server_list.h"

#include <gtest/gtest.h>

#include <ostream>

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

struct ImportCase {
  const char* name;
  std::string value;
  Rows rows;
};
// Names the case in test listings (the default prints raw bytes).
void PrintTo(const ImportCase& c, std::ostream* os) { *os << c.name; }

class ImportSplit : public ::testing::TestWithParam<ImportCase> {};

TEST_P(ImportSplit, SplitsAtEverySemicolonAndNothingElse) {
  FakeRegistry registry;
  registry.values[kServerList] = GetParam().value;
  FakeListBox list1;
  FakeListBox list2(true);
  list2.Fill({"kept"});
  ImportServerList(registry, list1, list2);
  EXPECT_EQ(list1.Texts(), GetParam().rows);
  for (const auto& row : list1.rows) EXPECT_EQ(row.data, 0);
}

INSTANTIATE_TEST_SUITE_P(
    ServerList, ImportSplit,
    ::testing::Values(
        ImportCase{"ThreeEntries", "useast.battle.net;1.2.3.4;host", {"useast.battle.net", "1.2.3.4", "host"}},
        ImportCase{"OneEntry", "1.2.3.4", {"1.2.3.4"}},
        ImportCase{"TrailingSemicolon", "a;b;", {"a", "b", ""}},
        ImportCase{"LeadingSemicolon", ";a", {"", "a"}},
        ImportCase{"DoubleSemicolon", "a;;b", {"a", "", "b"}},
        ImportCase{"OnlySemicolons", ";;", {"", "", ""}},
        ImportCase{"BlanksKept", " a ; b\t;c ", {" a ", " b\t", "c "}},
        ImportCase{"Empty", "", {""}}),
    [](const auto& c) { return std::string(c.param.name); });

TEST(ServerList, MissingOrOtherTypeImportsOneEmptyRow) {
  FakeRegistry missing;
  FakeRegistry otherType;
  otherType.values[kServerList] = FakeRegistry::Other{};
  FakeRegistry dword;
  dword.values[kServerList] = int32_t{7};
  for (FakeRegistry* registry : {&missing, &otherType, &dword}) {
    FakeListBox list1;
    FakeListBox list2(true);
    list2.Fill({"kept"});
    ImportServerList(*registry, list1, list2);
    EXPECT_EQ(list1.Texts(), Rows{""});
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

TEST(ServerList, ImportSeedsEmptyList2InItsSortedOrder) {
  FakeRegistry registry;
  registry.values[kServerList] = std::string("b.host;;A.host;c.host;");
  FakeListBox list1;
  FakeListBox list2(true);
  ImportServerList(registry, list1, list2);
  EXPECT_EQ(list1.Texts(), (Rows{"b.host", "", "A.host", "c.host", ""}));
  EXPECT_EQ(list2.Texts(), (Rows{"", "", "A.host", "b.host", "c.host"}));
}

TEST(ServerList, ImportLeavesNonEmptyList2Alone) {
  FakeRegistry registry;
  registry.values[kServerList] = std::string("a;b");
  FakeListBox list1;
  FakeListBox list2(true);
  list2.Fill({"mine   my server"});
  list2.rows[0].data = 9999;
  list2.selected = 0;
  ImportServerList(registry, list1, list2);
  EXPECT_EQ(list2.Texts(), Rows{"mine   my server"});
  EXPECT_EQ(list2.rows[0].data, 9999);
  EXPECT_EQ(list2.selected, 0);
}

TEST(ServerList, ImportStopsAtAFullListAndStaysFast) {
  // About 1 MB with 40,000 entries: more rows than a list holds.
  std::string value;
  for (int i = 0; i < 40000; ++i) value += (i ? ";" : "") + Numbered(i);
  ASSERT_GT(value.size(), 1000000u);
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

TEST(ServerList, ImportsOneLongEntryWhole) {
  const std::string value(1 << 20, 'x');
  FakeRegistry registry;
  registry.values[kServerList] = value;
  FakeListBox list1;
  FakeListBox list2(true);
  ImportServerList(registry, list1, list2);
  ASSERT_EQ(list1.ListCount(), 1);
  EXPECT_EQ(list1.List(0), value);
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
  EXPECT_EQ(files.files.count("C:\\Games\\Starcraft\\bncache.dat"), 0u);
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

struct VersionCase {
  const char* name;
  std::optional<FakeRegistry::Value> stored;
  int writes;
};
// Names the case in test listings (the default prints raw bytes).
void PrintTo(const VersionCase& c, std::ostream* os) { *os << c.name; }

class ServerVersion : public ::testing::TestWithParam<VersionCase> {};

TEST_P(ServerVersion, EndsAsDWordOne) {
  FakeRegistry registry;
  if (GetParam().stored) registry.values[kServerVersion] = *GetParam().stored;
  CheckServerVersion(registry);
  EXPECT_EQ(registry.writes, GetParam().writes);
  ASSERT_TRUE(registry.values.count(kServerVersion));
  const auto* value = std::get_if<int32_t>(&registry.values[kServerVersion]);
  ASSERT_NE(value, nullptr);
  EXPECT_EQ(*value, 1);
}

INSTANTIATE_TEST_SUITE_P(
    ServerList, ServerVersion,
    ::testing::Values(VersionCase{"One", FakeRegistry::Value{int32_t{1}}, 0},
                      VersionCase{"Zero", FakeRegistry::Value{int32_t{0}}, 1},
                      VersionCase{"Two", FakeRegistry::Value{int32_t{2}}, 1},
                      VersionCase{"Negative", FakeRegistry::Value{int32_t{-1}}, 1},
                      VersionCase{"Missing", std::nullopt, 1},
                      VersionCase{"Text", FakeRegistry::Value{std::string("1")}, 1},
                      VersionCase{"OtherType", FakeRegistry::Value{FakeRegistry::Other{}}, 1}),
    [](const auto& c) { return std::string(c.param.name); });

struct CacheCase {
  const char* name;
  std::optional<std::string> installPath;
  Rows deleted;
};
// Names the case in test listings (the default prints raw bytes).
void PrintTo(const CacheCase& c, std::ostream* os) { *os << c.name; }

class DeleteCache : public ::testing::TestWithParam<CacheCase> {};

TEST_P(DeleteCache, DeletesOnlyInTheInstallFolder) {
  FakeRegistry registry;
  if (GetParam().installPath) registry.values[kInstallPath] = *GetParam().installPath;
  FakeFiles files;
  files.files["\\bncache.dat"] = "not the game's";
  DeleteServerCache(registry, files);
  EXPECT_EQ(files.deleted, GetParam().deleted);
  EXPECT_EQ(files.files.count("\\bncache.dat"), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    ServerList, DeleteCache,
    ::testing::Values(
        CacheCase{"InstallFolder", std::string("C:\\Program Files\\Starcraft"),
                  {"C:\\Program Files\\Starcraft\\bncache.dat"}},
        // The folder's text is taken as it is: nothing inserted, nothing removed.
        CacheCase{"TrailingBackslash", std::string("D:\\SC\\"), {"D:\\SC\\\\bncache.dat"}},
        CacheCase{"EmptyInstallPath", std::string(""), {}},
        CacheCase{"MissingInstallPath", std::nullopt, {}}),
    [](const auto& c) { return std::string(c.param.name); });

}  // namespace
}  // namespace gantrel
