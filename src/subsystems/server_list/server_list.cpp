#include "server_list/server_list.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace gantrel {

const char* const kDefaultServerList =
    "useast.battle.net;63.240.202.120;63.240.202.121;63.241.83.107;63.241.83.108;"
    "213.248.106.200;213.248.106.201;211.233.0.72";

namespace {
constexpr const char* kCacheFileName = "\\bncache.dat";
}  // namespace

void ImportServerList(Registry& registry, ListBox& gameList, ListBox& privateList) {
  gameList.Clear();
  const std::string value = registry.GetString(kHkeyLocalMachine, kBattleNetKey, kServerListValue);

  // Every ";" ends an entry, empty ones included, and the text behind the last ";" is always the
  // last row. The walk keeps a start offset instead of cutting the text at each ";", so a long
  // value is read in one pass. A full list ends the import.
  const std::string_view text = value;
  std::vector<std::string_view> entries;
  for (std::size_t start = 0; entries.size() < static_cast<std::size_t>(kMaxRows);) {
    const std::size_t semicolon = text.find(';', start);
    entries.push_back(text.substr(start, semicolon == text.npos ? text.npos : semicolon - start));
    if (semicolon == text.npos) break;
    start = semicolon + 1;
  }
  // The private list is seeded with the rows the game list took.
  entries.resize(static_cast<std::size_t>(gameList.AddRows(entries)));

  // A private list that is still empty (first run, or nothing saved) starts out as the game's list.
  if (privateList.Count() == 0) privateList.AddRows(entries);
}

void RestoreServerList(Registry& registry, Files& files, ListBox& gameList, ListBox& privateList) {
  registry.SaveString(kHkeyLocalMachine, kBattleNetKey, kServerListValue, kDefaultServerList);
  DeleteServerCache(registry, files);
  // Shows whatever the value now holds, also when the write above was refused.
  ImportServerList(registry, gameList, privateList);
}

void CheckServerVersion(Registry& registry) {
  if (registry.GetDWord(kHkeyLocalMachine, kBattleNetKey, kServerVersionValue) == 1) return;
  registry.SaveDWord(kHkeyLocalMachine, kBattleNetKey, kServerVersionValue, 1);
}

void DeleteServerCache(Registry& registry, Files& files) {
  const std::string folder =
      registry.GetString(kHkeyLocalMachine, kStarcraftKey, kInstallPathValue);
  // Without an install folder the path would be "\bncache.dat", a file in the root of the current
  // drive that is not the game's: leave it alone.
  if (folder.empty()) return;
  // A missing file, a file in use or a refused delete are all fine: the game rebuilds its cache.
  files.Delete(folder + kCacheFileName);
}

}  // namespace gantrel
