#include "private_list/private_list.h"

#include <gtest/gtest.h>

#include <ostream>

#include <cstddef>
#include <cstdio>
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
const std::string kSaveFailedText =
    "The private server list could not be saved to C:\\WINDOWS\\gantrel.ini";
const std::string kNoWindowsFolderText =
    "The private server list could not be saved: the Windows folder is not known.";

std::string Line(int i) {
  char text[32];
  std::snprintf(text, sizeof text, "host%05d", i);
  return text;
}

std::string Blanks(std::size_t n) { return std::string(n, ' '); }

// --- Row text --------------------------------------------------------------------------------

struct RowCase {
  const char* name;
  std::string address;
  std::string description;
  std::string row;
};
// Names the case in test listings (the default prints raw bytes).
void PrintTo(const RowCase& c, std::ostream* os) { *os << c.name; }

class PrivateRowText : public ::testing::TestWithParam<RowCase> {};

TEST_P(PrivateRowText, PadsCutsAndTrims) {
  EXPECT_EQ(PrivateRow(GetParam().address, GetParam().description), GetParam().row);
}

INSTANTIATE_TEST_SUITE_P(
    PrivateList, PrivateRowText,
    ::testing::Values(
        // Eleven characters and eight: the description starts in column 22, 29 characters in all.
        RowCase{"ShortAddress", "192.168.0.1", "my games", "192.168.0.1" + Blanks(10) + "my games"},
        RowCase{"NoDescription", "192.168.0.1", "", "192.168.0.1"},
        RowCase{"LongAddress", "a-long.server.example.org", "desc", "a-long.server.example.org desc"},
        RowCase{"TwentyCharAddress", "twenty.chars.example", "d", "twenty.chars.example d"},
        RowCase{"LongDescriptionCut", "h", "123456789012345678901234567890",
                "h" + Blanks(20) + "1234567890123456789012"},
        RowCase{"LeadingBlanksOfAddressDropped", "   host", "d", "host" + Blanks(14) + "d"},
        RowCase{"BlankAddressNoDescription", "   ", "", ""},
        RowCase{"TrailingBlanksOfDescriptionDropped", "host", "desc   ", "host" + Blanks(17) + "desc"},
        RowCase{"LeadingBlanksOfDescriptionKept", "host", "  desc", "host" + Blanks(19) + "desc"},
        RowCase{"BlankInsideAddressKept", "my host", "x", "my host" + Blanks(14) + "x"}),
    [](const auto& c) { return std::string(c.param.name); });

// --- Add and Del -----------------------------------------------------------------------------

TEST(PrivateList, AddAsksBothAndAddsAtSortedPlace) {
  FakeDialogs dialogs;
  dialogs.answers = {"b.host", "second"};
  FakeListBox list2(true);
  list2.Fill({"a.host", "c.host"});
  AddPrivateServer(dialogs, list2);
  EXPECT_EQ(dialogs.prompts, (Rows{"Enter server address", "Enter description of server"}));
  EXPECT_EQ(list2.Texts(), (Rows{"a.host", PrivateRow("b.host", "second"), "c.host"}));
  EXPECT_TRUE(dialogs.boxes.empty());
}

TEST(PrivateList, CancelOnAddressAddsAndShowsNothing) {
  FakeDialogs dialogs;
  FakeListBox list2(true);
  AddPrivateServer(dialogs, list2);
  EXPECT_EQ(dialogs.prompts, Rows{"Enter server address"});
  EXPECT_EQ(list2.ListCount(), 0);
  EXPECT_TRUE(dialogs.boxes.empty());
}

TEST(PrivateList, CancelledDescriptionStillAdds) {
  FakeDialogs dialogs;
  dialogs.answers = {"10.0.0.1"};
  FakeListBox list2(true);
  AddPrivateServer(dialogs, list2);
  EXPECT_EQ(dialogs.prompts.size(), 2u);
  EXPECT_EQ(list2.Texts(), Rows{"10.0.0.1"});
}

TEST(PrivateList, BlankAddressWithoutDescriptionAddsAnEmptyRow) {
  FakeDialogs dialogs;
  dialogs.answers = {"  "};
  FakeListBox list2(true);
  AddPrivateServer(dialogs, list2);
  EXPECT_EQ(list2.Texts(), Rows{""});
}

TEST(PrivateList, AddToAFullListChangesNothing) {
  FakeDialogs dialogs;
  dialogs.answers = {"one.more", ""};
  FakeListBox list2(true);
  for (int i = 0; i < kMaxRows; ++i) list2.AddItem(Line(i));
  AddPrivateServer(dialogs, list2);
  EXPECT_EQ(list2.ListCount(), kMaxRows);
}

TEST(PrivateList, DelRemovesTheSelectedRow) {
  FakeDialogs dialogs;
  FakeListBox list2(true);
  list2.Fill({"a", "b", "c"});
  list2.rows[2].data = 7;
  list2.selected = 1;
  DeletePrivateServer(dialogs, list2);
  EXPECT_EQ(list2.Texts(), (Rows{"a", "c"}));
  EXPECT_EQ(list2.rows[1].data, 7);
  EXPECT_TRUE(dialogs.boxes.empty());
}

TEST(PrivateList, DelWithoutSelectionSaysSo) {
  FakeDialogs dialogs;
  FakeListBox list2(true);
  list2.Fill({"a", "b"});
  DeletePrivateServer(dialogs, list2);
  EXPECT_EQ(list2.Texts(), (Rows{"a", "b"}));
  ASSERT_EQ(dialogs.boxes.size(), 1u);
  EXPECT_EQ(dialogs.boxes[0].text, "You must select a server before attempting to delete it");
  EXPECT_EQ(dialogs.boxes[0].title, "Gantrel");
  EXPECT_EQ(dialogs.boxes[0].icon, MsgIcon::None);
}

// --- Save ------------------------------------------------------------------------------------

class PrivateListFile : public ::testing::Test {
 protected:
  PrivateListFile() { files.env["windir"] = kWindir; }
  FakeFiles files;
  FakeDialogs dialogs;
  FakeListBox list2{true};
};

TEST_F(PrivateListFile, SaveWritesRowsInListOrderWithCrLf) {
  list2.Fill({"b.host", "A.host", PrivateRow("c.host", "desc"), "d [12 ms]"});
  files.files[kListFile] = "old contents\r\n";
  SavePrivateList(files, dialogs, list2);
  EXPECT_EQ(files.files[kListFile],
            "A.host\r\nb.host\r\nc.host" + Blanks(15) + "desc\r\nd [12 ms]\r\n");
  EXPECT_EQ(files.written, Rows{kTempFile});
  EXPECT_EQ(files.files.count(kTempFile), 0u);
  EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(PrivateListFile, SaveOfEmptyListLeavesEmptyFile) {
  files.files[kListFile] = "a\r\n";
  SavePrivateList(files, dialogs, list2);
  ASSERT_EQ(files.files.count(kListFile), 1u);
  EXPECT_EQ(files.files[kListFile], "");
  EXPECT_TRUE(dialogs.boxes.empty());
}

struct SaveFault {
  const char* name;
  bool failCreate;
  int failWriteAfter;
  bool failFlush;
  bool failReplace;
};
// Names the case in test listings (the default prints raw bytes).
void PrintTo(const SaveFault& c, std::ostream* os) { *os << c.name; }

class SaveFailure : public ::testing::TestWithParam<SaveFault> {};

TEST_P(SaveFailure, KeepsTheOldFileAndSaysSo) {
  const std::string old = "old.host          kept\r\nother\r\n";
  for (bool existing : {true, false}) {
    FakeFiles files;
    files.env["windir"] = kWindir;
    if (existing) files.files[kListFile] = old;
    files.failCreate = GetParam().failCreate;
    files.failWriteAfter = GetParam().failWriteAfter;
    files.failFlush = GetParam().failFlush;
    files.failReplace = GetParam().failReplace;
    FakeDialogs dialogs;
    FakeListBox list2(true);
    list2.Fill({"new.host", "newer.host"});

    SavePrivateList(files, dialogs, list2);

    if (existing) {
      EXPECT_EQ(files.files[kListFile], old);
    } else {
      EXPECT_EQ(files.files.count(kListFile), 0u);
    }
    EXPECT_EQ(files.files.count(kTempFile), 0u);
    EXPECT_EQ(files.files.size(), existing ? 1u : 0u);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, kSaveFailedText);
    EXPECT_EQ(dialogs.boxes[0].title, "Gantrel");
    EXPECT_EQ(dialogs.boxes[0].icon, MsgIcon::None);
    EXPECT_EQ(list2.ListCount(), 2);
  }
}

INSTANTIATE_TEST_SUITE_P(PrivateList, SaveFailure,
                         ::testing::Values(SaveFault{"Create", true, -1, false, false},
                                           SaveFault{"Midway", false, 5, false, false},
                                           SaveFault{"Flush", false, -1, true, false},
                                           SaveFault{"Replace", false, -1, false, true}),
                         [](const auto& c) { return std::string(c.param.name); });

TEST(PrivateList, WithoutWindowsFolderNothingTouchesTheDriveRoot) {
  for (bool emptyWindir : {false, true}) {
    FakeFiles files;
    if (emptyWindir) files.env["windir"] = "";
    files.files["\\gantrel.ini"] = "root\r\n";
    FakeDialogs dialogs;
    FakeListBox list2(true);

    LoadPrivateList(files, list2);
    EXPECT_EQ(list2.ListCount(), 0);
    EXPECT_TRUE(dialogs.boxes.empty());

    list2.Fill({"a"});
    SavePrivateList(files, dialogs, list2);
    EXPECT_TRUE(files.written.empty());
    EXPECT_EQ(files.files, (std::map<std::string, std::string>{{"\\gantrel.ini", "root\r\n"}}));
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, kNoWindowsFolderText);
    EXPECT_EQ(dialogs.boxes[0].title, "Gantrel");
    EXPECT_EQ(dialogs.boxes[0].icon, MsgIcon::None);
  }
}

// --- Load ------------------------------------------------------------------------------------

struct LoadCase {
  const char* name;
  std::string content;
  Rows rows;
};
// Names the case in test listings (the default prints raw bytes).
void PrintTo(const LoadCase& c, std::ostream* os) { *os << c.name; }

class LoadLines : public ::testing::TestWithParam<LoadCase> {};

TEST_P(LoadLines, OneRowPerNonEmptyLine) {
  FakeFiles files;
  files.env["windir"] = kWindir;
  files.files[kListFile] = GetParam().content;
  FakeListBox list2(true);
  LoadPrivateList(files, list2);
  EXPECT_EQ(list2.Texts(), GetParam().rows);
}

INSTANTIATE_TEST_SUITE_P(
    PrivateList, LoadLines,
    ::testing::Values(LoadCase{"CrLfWithEmptyLine", "a\r\n\r\nb\r\n", {"a", "b"}},
                      LoadCase{"LoneCr", "a\rb\r", {"a", "b"}},
                      LoadCase{"LoneLf", "a\nb\n", {"a", "b"}},
                      LoadCase{"CrCrLf", "a\r\r\nb", {"a", "b"}},
                      LoadCase{"LfCr", "a\n\rb", {"a", "b"}},
                      LoadCase{"NoLastLineEnd", "a\r\nb", {"a", "b"}},
                      LoadCase{"EmptyFile", "", {}},
                      LoadCase{"OnlyLineEnds", "\r\n\r\n\n\r", {}},
                      LoadCase{"Unsorted", "c\r\nA\r\nb\r\n", {"A", "b", "c"}},
                      LoadCase{"LinesUnchanged", " a \r\nx\t;y [12 ms]\r\n", {" a ", "x\t;y [12 ms]"}},
                      LoadCase{"NulKept", std::string("a\0b\r\n", 5), {std::string("a\0b", 3)}}),
    [](const auto& c) { return std::string(c.param.name); });

TEST(PrivateList, MissingOrUnreadableFileLoadsNothing) {
  FakeFiles files;
  files.env["windir"] = kWindir;
  FakeListBox list2(true);
  LoadPrivateList(files, list2);
  EXPECT_EQ(list2.ListCount(), 0);

  files.files[kListFile] = "a\r\n";
  files.unreadable.insert(kListFile);
  LoadPrivateList(files, list2);
  EXPECT_EQ(list2.ListCount(), 0);
}

TEST_F(PrivateListFile, SaveThenLoadGivesTheSameRows) {
  list2.Fill({"zeta", PrivateRow("10.1.1.1", "lan party"), "Alpha", "beta [N/A]"});
  SavePrivateList(files, dialogs, list2);
  FakeListBox loaded(true);
  LoadPrivateList(files, loaded);
  EXPECT_EQ(loaded.Texts(), list2.Texts());
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
