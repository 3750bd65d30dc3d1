// ImportServerList over any "Server List" value: no crash, and the rows joined by ";" give the
// value back (while the list has room for every entry).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fakes.h"
#include "server_list/server_list.h"

using gantrel::kMaxRows;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string value(reinterpret_cast<const char*>(data), size);
  gantrel::testing::World world;
  world.Set(gantrel::kBattleNetKey, gantrel::kServerListValue, value);
  auto& games = world.gameList;
  gantrel::ImportServerList(world, games, world.privateList);

  if (games.Count() < 1 || world.privateList.Count() != games.Count()) std::abort();
  if (games.Count() < kMaxRows) {
    std::string joined;
    for (int16_t row = 0; row < games.Count(); ++row) {
      if (row > 0) joined += ';';
      const std::string text = games.Row(row);
      if (text.find(';') != std::string::npos) std::abort();
      joined += text;
    }
    if (joined != value) std::abort();
  }
  // A second import gives the same rows.
  const auto first = games.Texts();
  gantrel::ImportServerList(world, games, world.privateList);
  if (games.Texts() != first) std::abort();
  return 0;
}
