#pragma once
#include "files.h"
#include "list_box.h"
#include "registry.h"

namespace gantrel {

inline constexpr const char* kBattleNetKey = "SOFTWARE\\Battle.Net\\Configuration";
inline constexpr const char* kServerListValue = "Server List";
inline constexpr const char* kServerVersionValue = "Server Version";
inline constexpr const char* kStarcraftKey = "SOFTWARE\\Blizzard Entertainment\\Starcraft";
inline constexpr const char* kInstallPathValue = "InstallPath";

// The built-in list that "Restore" writes: one host name, then seven dotted addresses.
extern const char* const kDefaultServerList;

// Rebuilds the game list from "Server List" (split at every ";"); seeds an empty private list
// with its rows.
void ImportServerList(Registry& registry, ListBox& gameList, ListBox& privateList);
// "Restore": writes the default list, deletes the cache file, imports.
void RestoreServerList(Registry& registry, Files& files, ListBox& gameList, ListBox& privateList);
// Keeps "Server Version" at the DWORD 1.
void CheckServerVersion(Registry& registry);
// Removes "bncache.dat" from the Starcraft install folder, silently.
void DeleteServerCache(Registry& registry, Files& files);

}  // namespace gantrel
