// ImportServerList over any "Server List" value: no crash, and the rows joined by ";" give the
// value back (while the list has room for every entry).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fakes/fake_list_box.h"
#include "fakes/fake_registry.h"
#include "registry/server_list.h"

using gantrel::kMaxRows;
using gantrel::testing::FakeListBox;
using gantrel::testing::FakeRegistry;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string value(reinterpret_cast<const char*>(data), size);
  FakeRegistry registry;
  registry.values[{gantrel::kBattleNetKey, gantrel::kServerListValue}] = value;
  FakeListBox list1;
  FakeListBox list2(true);
  gantrel::ImportServerList(registry, list1, list2);

  if (list1.ListCount() < 1 || list2.ListCount() != list1.ListCount()) std::abort();
  if (list1.ListCount() < kMaxRows) {
    std::string joined;
    for (int16_t row = 0; row < list1.ListCount(); ++row) {
      if (row > 0) joined += ';';
      const std::string text = list1.List(row);
      if (text.find(';') != std::string::npos) std::abort();
      joined += text;
    }
    if (joined != value) std::abort();
  }
  // A second import gives the same rows.
  const auto first = list1.Texts();
  gantrel::ImportServerList(registry, list1, list2);
  if (list1.Texts() != first) std::abort();
  return 0;
}
