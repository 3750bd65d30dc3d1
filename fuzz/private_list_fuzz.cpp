// LoadPrivateList over any file bytes: no crash; every row is a non-empty line without line ends;
// saving the rows and loading them again gives the same list.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fakes.h"
#include "private_list/private_list.h"

using gantrel::testing::FakeListBox;
using gantrel::testing::World;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = "C:\\WINDOWS\\gantrel.ini";
  World world;
  world.env["windir"] = "C:\\WINDOWS";
  world.files[path] = std::string(reinterpret_cast<const char*>(data), size);
  FakeListBox list(true);
  gantrel::LoadPrivateList(world, list);

  size_t rowBytes = 0;
  for (const auto& text : list.Texts()) {
    if (text.empty() || text.find_first_of("\r\n") != std::string::npos) std::abort();
    rowBytes += text.size();
  }
  if (rowBytes > size) std::abort();

  gantrel::SavePrivateList(world, world, list);
  if (!world.Boxes().empty() || world.files.count(path + ".tmp")) std::abort();
  FakeListBox again(true);
  gantrel::LoadPrivateList(world, again);
  if (again.Texts() != list.Texts()) std::abort();
  return 0;
}
