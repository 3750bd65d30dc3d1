#include "private_list/private_list.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "fakes/fake_dialogs.h"
#include "fakes/fake_files.h"
#include "fakes/fake_list_box.h"

namespace gantrel {
namespace {

using testing::FakeDialogs;
using testing::FakeFiles;
using testing::FakeListBox;
using Rows = std::vector<std::string>;

const std::string kWindir = "C:\\WINDOWS";
const std::string kListFile = "C:\\WINDOWS\\gantrel.ini";
const std::string kTempFile = "C:\\WINDOWS\\gantrel.ini.tmp";

std::string Line(int i) {
  char text[32];
  std::snprintf(text, sizeof text, "host%05d", i);
  return text;
}

std::string Blanks(std::size_t n) {
  return std::string(n, ' ');
}

// Every box of the private list: the application title, no icon, one text.
void ExpectOneBox(const FakeDialogs& dialogs, const std::string& text) {
  ASSERT_EQ(dialogs.boxes.size(), 1u);
  EXPECT_EQ(dialogs.boxes[0].text, text);
  EXPECT_EQ(dialogs.boxes[0].title, "Gantrel");
  EXPECT_EQ(dialogs.boxes[0].icon, MsgIcon::None);
}

TEST(PrivateList, RowTextPadsCutsAndTrims) {
  const struct {
    std::string address, description, row;
  } cases[] = {
      // The description starts in column 22.
      {"192.168.0.1", "my games", "192.168.0.1" + Blanks(10) + "my games"},
      {"192.168.0.1", "", "192.168.0.1"},
      {"a-long.server.example.org", "desc", "a-long.server.example.org desc"},
      {"twenty.chars.example", "d", "twenty.chars.example d"},
      {"h", "123456789012345678901234567890", "h" + Blanks(20) + "1234567890123456789012"},
      {"   host", "d", "host" + Blanks(14) + "d"},
      {"   ", "", ""},
      {"host", "desc   ", "host" + Blanks(17) + "desc"},
      {"host", "  desc", "host" + Blanks(19) + "desc"},
      {"my host", "x", "my host" + Blanks(14) + "x"},
  };
  for (const auto& c : cases) EXPECT_EQ(PrivateRow(c.address, c.description), c.row) << c.address;
}

// --- Add and Del -----------------------------------------------------------------------------

TEST(PrivateList, AddAsksForAddressThenDescription) {
  const Rows both = {"Enter server address", "Enter description of server"};
  const struct {
    const char* what;
    std::deque<std::string> answers;  // an empty answer is Cancel
    Rows prompts;
    Rows rows;
  } cases[] = {
      {"both", {"b.host", "second"}, both, {"a.host", PrivateRow("b.host", "second"), "c.host"}},
      {"cancel on the address", {}, {both[0]}, {"a.host", "c.host"}},
      {"cancel on the description", {"10.0.0.1"}, both, {"10.0.0.1", "a.host", "c.host"}},
      {"blank address", {"  "}, both, {"", "a.host", "c.host"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    FakeDialogs dialogs;
    dialogs.answers = c.answers;
    FakeListBox list2(true);
    list2.Fill({"a.host", "c.host"});
    AddPrivateServer(dialogs, list2);
    EXPECT_EQ(dialogs.prompts, c.prompts);
    EXPECT_EQ(list2.Texts(), c.rows);
    EXPECT_TRUE(dialogs.boxes.empty());
  }
}

TEST(PrivateList, AddToAFullListChangesNothing) {
  FakeDialogs dialogs;
  dialogs.answers = {"one.more", ""};
  FakeListBox list2(true);
  for (int i = 0; i < kMaxRows; ++i) list2.AddItem(Line(i));
  AddPrivateServer(dialogs, list2);
  EXPECT_EQ(list2.ListCount(), kMaxRows);
}

TEST(PrivateList, DelRemovesTheSelectedRowOrSaysOneMustBeSelected) {
  FakeDialogs dialogs;
  FakeListBox list2(true);
  list2.Fill({"a", "b", "c"});
  list2.rows[2].data = 7;
  list2.selected = 1;
  DeletePrivateServer(dialogs, list2);
  EXPECT_EQ(list2.Texts(), (Rows{"a", "c"}));
  EXPECT_EQ(list2.rows[1].data, 7);
  EXPECT_TRUE(dialogs.boxes.empty());

  DeletePrivateServer(dialogs, list2);
  EXPECT_EQ(list2.Texts(), (Rows{"a", "c"}));
  ExpectOneBox(dialogs, "You must select a server before attempting to delete it");
}

// --- Save ------------------------------------------------------------------------------------

class PrivateListFile : public ::testing::Test {
 protected:
  PrivateListFile() { files.env["windir"] = kWindir; }
  FakeFiles files;
  FakeDialogs dialogs;
  FakeListBox list2{true};
};

TEST_F(PrivateListFile, SaveWritesRowsInListOrderWithCrLfAndAnEmptyListAsAnEmptyFile) {
  list2.Fill({"b.host", "A.host", PrivateRow("c.host", "desc"), "d [12 ms]"});
  files.files[kListFile] = "old contents\r\n";
  SavePrivateList(files, dialogs, list2);
  EXPECT_EQ(files.files[kListFile],
            "A.host\r\nb.host\r\nc.host" + Blanks(15) + "desc\r\nd [12 ms]\r\n");
  EXPECT_EQ(files.written, Rows{kTempFile});
  EXPECT_EQ(files.files.count(kTempFile), 0u);
  EXPECT_TRUE(dialogs.boxes.empty());

  FakeListBox empty(true);
  SavePrivateList(files, dialogs, empty);
  EXPECT_EQ(files.files[kListFile], "");
}

TEST(PrivateList, AFailedSaveKeepsTheOldFileAndSaysSo) {
  const std::string old = "old.host          kept\r\nother\r\n";
  const struct {
    const char* fault;
    void (*inject)(FakeFiles&);
  } faults[] = {
      {"create", [](FakeFiles& f) { f.failCreate = true; }},
      {"midway", [](FakeFiles& f) { f.failWriteAfter = 5; }},
      {"flush", [](FakeFiles& f) { f.failFlush = true; }},
      {"replace", [](FakeFiles& f) { f.failReplace = true; }},
  };
  for (const auto& f : faults) {
    for (bool existing : {true, false}) {
      SCOPED_TRACE(std::string(f.fault) + (existing ? ", old file" : ", no file"));
      FakeFiles files;
      files.env["windir"] = kWindir;
      if (existing) files.files[kListFile] = old;
      f.inject(files);
      FakeDialogs dialogs;
      FakeListBox list2(true);
      list2.Fill({"new.host", "newer.host"});

      SavePrivateList(files, dialogs, list2);

      const auto expected = existing ? std::map<std::string, std::string>{{kListFile, old}}
                                     : std::map<std::string, std::string>{};
      EXPECT_EQ(files.files, expected);  // the old file byte for byte, nothing left beside it
      ExpectOneBox(dialogs, "The private server list could not be saved to " + kListFile);
    }
  }
}

TEST(PrivateList, WithoutWindowsFolderNothingTouchesTheDriveRoot) {
  for (bool emptyWindir : {false, true}) {
    FakeFiles files;
    if (emptyWindir) files.env["windir"] = "";
    files.files["\\gantrel.ini"] = "root\r\n";
    FakeDialogs dialogs;
    FakeListBox list2(true);

    LoadPrivateList(files, list2);
    EXPECT_EQ(list2.ListCount(), 0);

    list2.Fill({"a"});
    SavePrivateList(files, dialogs, list2);
    EXPECT_TRUE(files.written.empty());
    EXPECT_EQ(files.files, (std::map<std::string, std::string>{{"\\gantrel.ini", "root\r\n"}}));
    ExpectOneBox(dialogs,
                 "The private server list could not be saved: the Windows folder is not known.");
  }
}

// --- Load ------------------------------------------------------------------------------------

TEST_F(PrivateListFile, LoadGivesOneRowPerNonEmptyLine) {
  const struct {
    const char* what;
    std::string content;
    Rows rows;
  } cases[] = {
      {"CR LF, empty line", "a\r\n\r\nb\r\n", {"a", "b"}},
      {"lone CR", "a\rb\r", {"a", "b"}},
      {"lone LF", "a\nb\n", {"a", "b"}},
      {"no last line end", "a\r\nb", {"a", "b"}},
      {"empty file", "", {}},
      {"only line ends", "\r\n\r\n\n\r", {}},
      {"unsorted", "c\r\nA\r\nb\r\n", {"A", "b", "c"}},
      {"lines unchanged", " a \r\nx\t;y [12 ms]\r\n", {" a ", "x\t;y [12 ms]"}},
      {"NUL kept", std::string("a\0b\r\n", 5), {std::string("a\0b", 3)}},
  };
  for (const auto& c : cases) {
    files.files[kListFile] = c.content;
    FakeListBox loaded(true);
    LoadPrivateList(files, loaded);
    EXPECT_EQ(loaded.Texts(), c.rows) << c.what;
  }
}

TEST_F(PrivateListFile, MissingOrUnreadableFileLoadsNothing) {
  LoadPrivateList(files, list2);
  EXPECT_EQ(list2.ListCount(), 0);
  files.files[kListFile] = "a\r\n";
  files.unreadable.insert(kListFile);
  LoadPrivateList(files, list2);
  EXPECT_EQ(list2.ListCount(), 0);
}

TEST_F(PrivateListFile, LoadStopsAtAFullList) {
  std::string content;
  for (int i = 0; i < 40000; ++i) content += Line(i) + "\r\n";
  files.files[kListFile] = content;
  LoadPrivateList(files, list2);
  ASSERT_EQ(list2.ListCount(), kMaxRows);
  EXPECT_EQ(list2.List(0), Line(0));
  EXPECT_EQ(list2.List(kMaxRows - 1), Line(kMaxRows - 1));
}

}  // namespace
}  // namespace gantrel
