// LoadPrivateList over any file bytes: no crash; every row is a non-empty line without line ends;
// saving the rows and loading them again gives the same list.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fakes/fake_dialogs.h"
#include "fakes/fake_files.h"
#include "fakes/fake_list_box.h"
#include "private_list/private_list.h"

using gantrel::testing::FakeDialogs;
using gantrel::testing::FakeFiles;
using gantrel::testing::FakeListBox;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = "C:\\WINDOWS\\gantrel.ini";
  FakeFiles files;
  files.env["windir"] = "C:\\WINDOWS";
  files.files[path] = std::string(reinterpret_cast<const char*>(data), size);
  FakeListBox list2(true);
  gantrel::LoadPrivateList(files, list2);

  size_t rowBytes = 0;
  for (const auto& text : list2.Texts()) {
    if (text.empty() || text.find_first_of("\r\n") != std::string::npos) std::abort();
    rowBytes += text.size();
  }
  if (rowBytes > size) std::abort();

  FakeDialogs dialogs;
  gantrel::SavePrivateList(files, dialogs, list2);
  if (!dialogs.boxes.empty() || files.files.count(path + ".tmp")) std::abort();
  FakeListBox again(true);
  gantrel::LoadPrivateList(files, again);
  if (again.Texts() != list2.Texts()) std::abort();
  return 0;
}
