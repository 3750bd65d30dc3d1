// Hostile input through the real program: oversized and malformed `Server List` values and
// private-list files, and a Windows folder that refuses the save. Each case has one defined result;
// the window must open, the lists must hold that result, and neither the registry value nor the
// file may lose anything.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "app/frm_main_layout.h"
#include "gui/gantrel_driver.h"

namespace gantrel::gui {
namespace {

constexpr const char* kConfigKey = "SOFTWARE\\Battle.Net\\Configuration";
constexpr const char* kStarcraftKey = "SOFTWARE\\Blizzard Entertainment\\Starcraft";
constexpr int kMaxRows = 32767;
constexpr const char* kSaveFailed = "The private server list could not be saved to ";

// A registry value as stored: absent, or its type and bytes.
struct RawValue {
  bool present = false;
  DWORD type = 0;
  std::string bytes;
  bool operator==(const RawValue&) const = default;
};

// The ANSI forms: what the program itself sees.
RawValue ReadValue(const char* key, const char* name) {
  RawValue v;
  HKEY h;
  if (RegOpenKeyA(HKEY_LOCAL_MACHINE, key, &h) != ERROR_SUCCESS) return v;
  DWORD size = 0;
  if (RegQueryValueExA(h, name, nullptr, &v.type, nullptr, &size) == ERROR_SUCCESS) {
    v.bytes.assign(size, '\0');
    if (RegQueryValueExA(h, name, nullptr, &v.type, reinterpret_cast<BYTE*>(v.bytes.data()),
                         &size) == ERROR_SUCCESS) {
      v.present = true;
      v.bytes.resize(size);
    }
  }
  RegCloseKey(h);
  return v;
}

void WriteValue(const char* key, const char* name, const RawValue& v) {
  HKEY h;
  if (RegCreateKeyA(HKEY_LOCAL_MACHINE, key, &h) != ERROR_SUCCESS) return;
  if (v.present) {
    RegSetValueExA(h, name, 0, v.type, reinterpret_cast<const BYTE*>(v.bytes.data()),
                   static_cast<DWORD>(v.bytes.size()));
  } else {
    RegDeleteValueA(h, name);
  }
  RegCloseKey(h);
}

// The wide forms keep any value exactly, whatever the code page: used to put back what the test
// found before it.
struct SavedValue {
  const char* key = nullptr;
  const char* name = nullptr;
  bool present = false;
  DWORD type = 0;
  std::vector<BYTE> bytes;
};

SavedValue SaveValue(const char* key, const char* name) {
  SavedValue s;
  s.key = key;
  s.name = name;
  HKEY h;
  if (RegOpenKeyA(HKEY_LOCAL_MACHINE, key, &h) != ERROR_SUCCESS) return s;
  std::wstring wname(name, name + std::char_traits<char>::length(name));
  DWORD size = 0;
  if (RegQueryValueExW(h, wname.c_str(), nullptr, &s.type, nullptr, &size) == ERROR_SUCCESS) {
    s.bytes.resize(size);
    s.present = RegQueryValueExW(h, wname.c_str(), nullptr, &s.type, s.bytes.data(), &size) ==
                ERROR_SUCCESS;
    s.bytes.resize(size);
  }
  RegCloseKey(h);
  return s;
}

void RestoreValue(const SavedValue& s) {
  HKEY h;
  if (RegCreateKeyA(HKEY_LOCAL_MACHINE, s.key, &h) != ERROR_SUCCESS) return;
  std::wstring wname(s.name, s.name + std::char_traits<char>::length(s.name));
  if (s.present) {
    RegSetValueExW(h, wname.c_str(), 0, s.type, s.bytes.data(), static_cast<DWORD>(s.bytes.size()));
  } else {
    RegDeleteValueW(h, wname.c_str());
  }
  RegCloseKey(h);
}

std::optional<std::string> ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A fixed pseudo-random byte stream, the same in every run.
std::string NoiseBytes(size_t n) {
  std::string s(n, '\0');
  uint32_t x = 0x9E3779B9u;
  for (char& c : s) {
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    c = static_cast<char>(x >> 24);
  }
  return s;
}

// A literal's bytes, NULs included, without the terminating one.
template <size_t N>
std::string Bytes(const char (&s)[N]) {
  return std::string(s, N - 1);
}

std::string Numbered(const char* format, int i) {
  char buf[64];
  std::snprintf(buf, sizeof buf, format, i);
  return buf;
}

std::string Join(const std::vector<std::string>& parts, const std::string& sep) {
  std::string s;
  for (size_t i = 0; i < parts.size(); ++i) s += (i ? sep : "") + parts[i];
  return s;
}

// The private list a file gives: lines end at CR LF, CR or LF, empty lines are skipped, a row
// holds its line up to the first NUL (a list row is a NUL-ended text), at most kMaxRows rows.
std::vector<std::string> RowsOfFile(const std::string& bytes) {
  std::vector<std::string> rows;
  size_t start = 0;
  while (start < bytes.size() && rows.size() < static_cast<size_t>(kMaxRows)) {
    size_t end = bytes.find_first_of("\r\n", start);
    if (end == std::string::npos) end = bytes.size();
    if (end > start) {
      std::string line = bytes.substr(start, end - start);
      rows.push_back(line.substr(0, line.find('\0')));
    }
    if (end < bytes.size() && bytes[end] == '\r' && end + 1 < bytes.size() &&
        bytes[end + 1] == '\n')
      ++end;
    start = end + 1;
  }
  return rows;
}

std::vector<std::string> Sorted(std::vector<std::string> v) {
  std::sort(v.begin(), v.end());
  return v;
}

// --- the cases ------------------------------------------------------------------------------

// What the lists must hold. List1 keeps the value's order; List2 is the platform's sorted list, so
// its order is pinned only where the rows make it plain (inOrder), else the rows are compared as a
// multiset.
struct Expected {
  std::vector<std::string> list1;
  std::vector<std::string> list2;
  bool list2InOrder = false;
};

struct HostileCase {
  const char* name;
  DWORD type;                           // the type `Server List` is stored with
  std::string (*value)();               // its bytes
  std::optional<std::string> (*ini)();  // gantrel.ini's bytes, or no file
  Expected (*expected)(const std::string& value, const std::optional<std::string>& ini);
  bool save;  // press "Save" at the end: it must succeed
};

void PrintTo(const HostileCase& c, std::ostream* os) {
  *os << c.name;
}

constexpr const char* kPrivateRow = "private.example      kept";
std::optional<std::string> OnePrivateRow() {
  return std::string(kPrivateRow) + "\r\n";
}
std::optional<std::string> NoFile() {
  return std::nullopt;
}
std::string OneHost() {
  return "127.0.0.1";
}

// 8,192 entries of 127 characters: 1 MB.
std::string MegabyteOfRows() {
  std::vector<std::string> e;
  for (int i = 0; i < 8192; ++i) e.push_back(Numbered("srv%05d.", i) + std::string(118, 'm'));
  return Join(e, ";");
}
// One entry of 1 MB, no ";" at all.
std::string MegabyteEntry() {
  std::string s;
  for (int i = 0; s.size() < (1u << 20); ++i) s += Numbered("%07d.", i);
  return s.substr(0, 1u << 20);
}
std::string FortyThousand() {
  std::vector<std::string> e;
  for (int i = 0; i < 40000; ++i) e.push_back(Numbered("h%05d", i));
  return Join(e, ";");
}
// Every byte from 0x80 to 0xFF, in four entries of 32.
std::string HighBytes() {
  std::string s;
  for (int b = 0x80; b <= 0xFF; ++b) {
    if (b != 0x80 && b % 32 == 0) s += ';';
    s += static_cast<char>(b);
  }
  return s;
}
std::string ExpandSz() {
  return Bytes("%windir%;127.0.0.1\0");
}
std::string MultiSz() {
  return Bytes("127.0.0.1\0localhost\0\0");
}
std::string BinaryValue() {
  return "127.0.0.1;localhost";
}

// Lines of every length, with NULs and bytes of the upper half; more than a full list of them.
std::optional<std::string> NoiseFile() {
  return NoiseBytes(5u << 20);
}
// 100,000 distinct lines in a shuffled order.
std::optional<std::string> NumberedLines() {
  std::vector<int> order(100000);
  for (int i = 0; i < 100000; ++i) order[static_cast<size_t>(i)] = i;
  uint32_t x = 12345;
  for (size_t i = order.size() - 1; i > 0; --i) {
    x = x * 1103515245u + 12345u;
    std::swap(order[i], order[(x >> 8) % (i + 1)]);
  }
  std::string s;
  for (int i : order) s += Numbered("line-%06d\r\n", i);
  return s;
}
std::optional<std::string> LoneCrAndLf() {
  return std::string("delta\rbravo\nalpha\r\n\n\r\rcharlie\n\recho");
}
// A row holds its line up to the NUL; a line that starts with one gives an empty row.
std::optional<std::string> NulInLines() {
  return Bytes("bravo\0hidden\r\n\0alpha\r\ncharlie\r\n");
}
// Rows of 600 and 70,000 characters.
std::optional<std::string> LongLines() {
  std::string s;
  for (int n : {600, 70000})
    s += Numbered("long%05d-", n) + std::string(static_cast<size_t>(n - 10), 'x') + "\r\n";
  return s;
}

std::vector<std::string> Entries(const std::string& value) {
  std::vector<std::string> rows;
  size_t start = 0;
  for (;;) {
    size_t semi = value.find(';', start);
    rows.push_back(value.substr(start, semi == std::string::npos ? semi : semi - start));
    if (semi == std::string::npos) return rows;
    start = semi + 1;
  }
}
Expected EntriesAndKept(const std::string& value, const std::optional<std::string>&) {
  return {Entries(value), {kPrivateRow}, true};
}
// The first 32,767 entries; the rest are not shown.
Expected FirstEntries(const std::string&, const std::optional<std::string>&) {
  Expected e{{}, {kPrivateRow}, true};
  for (int i = 0; i < kMaxRows; ++i) e.list1.push_back(Numbered("h%05d", i));
  return e;
}
// The entries, and the private list, empty at the import, filled from them.
Expected EntriesTwice(const std::string& value, const std::optional<std::string>&) {
  return {Entries(value), Entries(value), false};
}
// A value that is not REG_SZ reads as absent: one empty row, copied into the empty private list.
Expected OneEmptyRow(const std::string&, const std::optional<std::string>&) {
  return {{""}, {""}, true};
}
Expected FileRows(const std::string&, const std::optional<std::string>& ini) {
  return {{"127.0.0.1"}, RowsOfFile(*ini), false};
}
// Rows whose sorted order is plain: one letter case, same-length numbers.
Expected SortedFileRows(const std::string&, const std::optional<std::string>& ini) {
  return {{"127.0.0.1"}, Sorted(RowsOfFile(*ini)), true};
}

// clang-format off
const HostileCase kCases[] = {
    // name                  type           value           gantrel.ini    lists           save
    {"MegabyteOfEntries",     REG_SZ,        MegabyteOfRows, OnePrivateRow, EntriesAndKept, false},
    {"MegabyteSingleEntry",   REG_SZ,        MegabyteEntry,  OnePrivateRow, EntriesAndKept, false},
    {"FortyThousandEntries",  REG_SZ,        FortyThousand,  OnePrivateRow, FirstEntries,   false},
    {"HighBytes",             REG_SZ,        HighBytes,      NoFile,        EntriesTwice,   true},
    {"ExpandSz",              REG_EXPAND_SZ, ExpandSz,       NoFile,        OneEmptyRow,    false},
    {"MultiSz",               REG_MULTI_SZ,  MultiSz,        NoFile,        OneEmptyRow,    false},
    {"Binary",                REG_BINARY,    BinaryValue,    NoFile,        OneEmptyRow,    false},
    {"FiveMegabytesOfNoise",  REG_SZ,        OneHost,        NoiseFile,     FileRows,       false},
    {"HundredThousandLines",  REG_SZ,        OneHost,        NumberedLines, SortedFileRows, false},
    {"LoneCrAndLf",           REG_SZ,        OneHost,        LoneCrAndLf,   SortedFileRows, true},
    {"NulInLines",            REG_SZ,        OneHost,        NulInLines,    SortedFileRows, false},
    // Rows of 512 or more characters read back (the copy into an empty private list, "Save").
    {"MegabyteEntryFirstRun", REG_SZ,        MegabyteEntry,  NoFile,        EntriesTwice,   false},
    {"LongLinesSaved",        REG_SZ,        OneHost,        LongLines,     SortedFileRows, true},
};
// clang-format on

// --- fixture ----------------------------------------------------------------------------------

class HostileBase {
 protected:
  void Prepare() {
    saved_ = {SaveValue(kConfigKey, "Server List"), SaveValue(kConfigKey, "Server Version"),
              SaveValue(kStarcraftKey, "InstallPath")};
    char tmp[MAX_PATH];
    GetTempPathA(MAX_PATH, tmp);
    windir_ = std::string(tmp) + "gantrel-hostile-" + std::to_string(GetCurrentProcessId()) + "-" +
              std::to_string(++counter_);
    CreateDirectoryA(windir_.c_str(), nullptr);
    // The cache file is looked for here, so start-up deletes nothing of the prefix.
    WriteValue(kStarcraftKey, "InstallPath", {true, REG_SZ, windir_});
  }
  void CleanUp() {
    for (const auto& s : saved_) RestoreValue(s);
    DeleteFileA(Ini().c_str());
    DeleteFileA((Ini() + ".tmp").c_str());
    RemoveDirectoryA(windir_.c_str());
  }
  std::string Ini() const { return windir_ + "\\gantrel.ini"; }

  std::vector<SavedValue> saved_;
  std::string windir_;
  static inline int counter_ = 0;
};

class HostileInput : public HostileBase, public ::testing::TestWithParam<HostileCase> {
 protected:
  void SetUp() override { Prepare(); }
  void TearDown() override { CleanUp(); }
  // Starts the program on the case's value and file, checks both lists, saves if asked, closes it
  // and checks that the value and the file lost nothing.
  void Run(const HostileCase& c);
};

// Reading a row from another process costs about half a millisecond under Wine, so a long list is
// checked through the window at its count, its first and last rows and an even spread between
// them; a short one in full.
constexpr int kReadAll = 1000;
constexpr int kSamples = 100;

std::vector<int> SampleRows(int count) {
  std::vector<int> rows;
  int step = count <= kReadAll ? 1 : count / kSamples;
  for (int i = 0; i < count; i += step) rows.push_back(i);
  if (count > 0 && rows.back() != count - 1) rows.push_back(count - 1);
  return rows;
}

// The rows of a saved file: each ended by CR LF.
std::vector<std::string> SavedRows(const std::string& file) {
  std::vector<std::string> rows;
  size_t start = 0;
  while (start < file.size()) {
    size_t end = file.find("\r\n", start);
    if (end == std::string::npos) {
      ADD_FAILURE() << "a saved line without CR LF at byte " << start;
      break;
    }
    rows.push_back(file.substr(start, end - start));
    start = end + 2;
  }
  return rows;
}

void ExpectSameRows(const std::vector<std::string>& rows, const std::vector<std::string>& expected,
                    bool inOrder, const char* which) {
  ASSERT_EQ(rows.size(), expected.size()) << which;
  if (inOrder) {
    EXPECT_TRUE(rows == expected) << which << " holds other rows or another order";
  } else {
    EXPECT_TRUE(Sorted(rows) == Sorted(expected)) << which << " holds other rows";
  }
}

// The row count and the sampled rows, read through the window.
void ExpectSampledRows(const GantrelProcess& app, int listId,
                       const std::vector<std::string>& expected, bool inOrder,
                       std::vector<std::pair<int, std::string>>* read = nullptr) {
  const char* which = listId == kIdList1 ? "List1" : "List2";
  ASSERT_EQ(app.Count(listId), static_cast<int>(expected.size())) << which;
  const std::vector<std::string> sorted = inOrder ? std::vector<std::string>{} : Sorted(expected);
  for (int i : SampleRows(static_cast<int>(expected.size()))) {
    std::string row = app.Row(listId, i);
    if (inOrder) {
      ASSERT_EQ(row, expected[static_cast<size_t>(i)]) << which << " row " << i;
    } else {
      ASSERT_TRUE(std::binary_search(sorted.begin(), sorted.end(), row)) << which << " row " << i;
    }
    if (read) read->emplace_back(i, std::move(row));
  }
}

void HostileInput::Run(const HostileCase& c) {
  // The rows are read back through the wide messages and converted to the ANSI code page. In a
  // single-byte code page (1252 here) every byte has its own UTF-16 unit, so that is byte-exact.
  CPINFO cp{};
  ASSERT_TRUE(GetCPInfo(CP_ACP, &cp));
  ASSERT_EQ(cp.MaxCharSize, 1u) << "the byte-exact checks need a single-byte ANSI code page";

  const std::string value = c.value();
  const std::optional<std::string> ini = c.ini();
  WriteValue(kConfigKey, "Server List", {true, c.type, value});
  if (ini) WriteFileBytes(Ini(), *ini);
  const RawValue stored = ReadValue(kConfigKey, "Server List");
  ASSERT_TRUE(stored.present);
  const Expected expected = c.expected(value, ini);

  // Start-up is bounded by the driver's wait for the window.
  GantrelProcess app(windir_);
  ASSERT_TRUE(app.Started()) << "no window: the program crashed or hung at start-up";
  ASSERT_TRUE(app.Sync()) << "the window does not answer";

  ExpectSampledRows(app, kIdList1, expected.list1, true);
  std::vector<std::pair<int, std::string>> list2Read;
  ExpectSampledRows(app, kIdList2, expected.list2, expected.list2InOrder, &list2Read);
  if (expected.list2.size() <= static_cast<size_t>(kReadAll)) {
    ExpectSameRows(app.Rows(kIdList2), expected.list2, expected.list2InOrder, "List2");
  }
  EXPECT_TRUE(ReadFileBytes(Ini()) == ini) << "gantrel.ini changed at start-up";

  if (c.save) {
    app.Click(kIdCommand7);
    ASSERT_TRUE(app.Running()) << "the program ended at the save";
    EXPECT_EQ(app.WaitBox(300).hwnd, nullptr) << "a message after a save that should succeed";
  }
  ASSERT_TRUE(app.Running()) << "the program ended";
  EXPECT_TRUE(app.Close()) << "the window did not close";
  EXPECT_TRUE(ReadValue(kConfigKey, "Server List") == stored) << "Server List changed";
  EXPECT_FALSE(Exists(Ini() + ".tmp"));

  if (!c.save) {
    EXPECT_TRUE(ReadFileBytes(Ini()) == ini) << "gantrel.ini changed";
    return;
  }
  // The saved file is every row of List2 in the window's order, byte for byte.
  const std::optional<std::string> file = ReadFileBytes(Ini());
  ASSERT_TRUE(file);
  const std::vector<std::string> saved = SavedRows(*file);
  ExpectSameRows(saved, expected.list2, expected.list2InOrder, "the saved List2");
  ASSERT_EQ(saved.size(), expected.list2.size());
  for (const auto& [i, row] : list2Read)
    EXPECT_EQ(saved[static_cast<size_t>(i)], row) << "row " << i;
}

TEST_P(HostileInput, OpensWithTheDefinedListsAndLosesNothing) {
  Run(GetParam());
}

std::string CaseName(const ::testing::TestParamInfo<HostileCase>& p) {
  return p.param.name;
}

INSTANTIATE_TEST_SUITE_P(Cases, HostileInput, ::testing::ValuesIn(kCases), CaseName);

// --- a Windows folder that refuses the save -----------------------------------------------

class SaveRefused : public HostileBase, public ::testing::Test {
 protected:
  void SetUp() override {
    Prepare();
    WriteValue(kConfigKey, "Server List", {true, REG_SZ, "127.0.0.1;localhost"});
  }
  void TearDown() override { CleanUp(); }

  // Presses "Save" and answers the message that must come: OK only, no icon, titled "Gantrel".
  void SaveAndExpectTheMessage(GantrelProcess& app, const std::string& path) {
    app.Click(kIdCommand7);
    Box box = app.WaitBox();
    ASSERT_NE(box.hwnd, nullptr) << "no message after a refused save";
    EXPECT_EQ(box.title, "Gantrel");
    EXPECT_EQ(box.text, kSaveFailed + path);
    EXPECT_NE(GetDlgItem(box.hwnd, IDOK), nullptr);
    EXPECT_EQ(GetDlgItem(box.hwnd, IDCANCEL), nullptr);
    app.PressOk(box);
    EXPECT_TRUE(app.Sync());
    EXPECT_TRUE(IsWindowEnabled(app.Main()));
  }
};

TEST_F(SaveRefused, AWindowsFolderThatDoesNotExist) {
  const std::string missing = windir_ + "\\no-such-folder";
  GantrelProcess app(missing);
  ASSERT_TRUE(app.Started());
  // Nothing to load: the private list starts as the game's list.
  EXPECT_EQ(app.Rows(kIdList2), (std::vector<std::string>{"127.0.0.1", "localhost"}));
  SaveAndExpectTheMessage(app, missing + "\\gantrel.ini");
  EXPECT_EQ(app.Rows(kIdList2).size(), 2u);
  EXPECT_TRUE(app.Close());
  EXPECT_FALSE(Exists(missing));
}

TEST_F(SaveRefused, AListFileHeldOpenWithoutSharingKeepsItsBytes) {
  const std::string old = "old.server.one       first\r\nold.server.two\r\n";
  WriteFileBytes(Ini(), old);
  GantrelProcess app(windir_);
  ASSERT_TRUE(app.Started());
  app.Select(kIdList2, 0);
  app.Click(kIdCommand5);  // a change that a save would write
  ASSERT_EQ(app.Rows(kIdList2), (std::vector<std::string>{"old.server.two"}));

  HANDLE held = CreateFileA(Ini().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  SaveAndExpectTheMessage(app, Ini());
  CloseHandle(held);
  EXPECT_TRUE(app.Close());
  EXPECT_EQ(ReadFileBytes(Ini()), old);
  EXPECT_FALSE(Exists(Ini() + ".tmp"));
}

}  // namespace
}  // namespace gantrel::gui
