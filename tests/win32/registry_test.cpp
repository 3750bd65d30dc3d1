// Win32Registry against Wine's real registry, cross-checked with Wine's own reg.exe.
#include "registry/win32_registry.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "win32/test_support.h"

namespace gantrel {
namespace {

struct ProcessResult {
  DWORD exitCode = 0xFFFFFFFF;
  std::string output;
};

// Runs a command line through the command interpreter, with its output and errors read back.
ProcessResult RunProcess(const std::string& commandLine) {
  ProcessResult result;
  FILE* pipe = _popen((commandLine + " 2>&1").c_str(), "r");
  if (!pipe) return result;
  char chunk[4096];
  for (size_t got; (got = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;)
    result.output.append(chunk, got);
  result.exitCode = static_cast<DWORD>(_pclose(pipe));
  return result;
}

struct RegLine {
  std::string type;
  std::string data;
};

// One value as "reg.exe query" shows it: "    <name>    <type>    <data>".
RegLine ParseRegQuery(const std::string& output, const std::string& name) {
  const std::string head = "    " + name + "    ";
  const std::size_t at = output.find(head);
  if (at == std::string::npos) return {};
  const std::size_t from = at + head.size();
  const std::string rest = output.substr(from, output.find_first_of("\r\n", from) - from);
  const std::size_t gap = rest.find("    ");
  return {rest.substr(0, gap), gap == std::string::npos ? "" : rest.substr(gap + 4)};
}

// The size the ANSI query gives for a value: what the program itself sees.
size_t AnsiSize(const std::string& subkey, const std::string& name) {
  return testing::ReadRegValue(HKEY_LOCAL_MACHINE, subkey, name).bytes.size();
}

class Win32RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static int counter = 0;
    subkey_ = std::string(kParent) + "\\" + std::to_string(GetCurrentProcessId()) + "-" +
              std::to_string(GetTickCount()) + "-" + std::to_string(++counter);
  }
  void TearDown() override {
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, subkey_.c_str());
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kParent);  // only goes when no other run's key is left in it
  }

  std::string RegPath() const { return "HKLM\\" + subkey_; }
  ProcessResult RegAdd(const std::string& name, const std::string& type, const std::string& data) {
    return RunProcess("reg.exe add \"" + RegPath() + "\" /v \"" + name + "\" /t " + type +
                      " /d \"" + data + "\" /f");
  }
  RegLine RegQuery(const std::string& key, const std::string& name) {
    const ProcessResult r = RunProcess("reg.exe query \"HKLM\\" + key + "\" /v \"" + name + "\"");
    EXPECT_EQ(r.exitCode, 0u) << r.output;
    return ParseRegQuery(r.output, name);
  }

  static constexpr const char* kParent = "SOFTWARE\\GantrelTest";
  Win32Registry registry_;
  std::string subkey_;
};

TEST_F(Win32RegistryTest, SaveStringStoresExactlyTheTextWithoutNul) {
  registry_.SaveString(kHkeyLocalMachine, subkey_, "Server List", "abc");
  EXPECT_EQ(testing::ReadRegValue(HKEY_LOCAL_MACHINE, subkey_, "Server List"),
            (testing::RegValue{true, REG_SZ, "abc"}));
  const RegLine shown = RegQuery(subkey_, "Server List");
  EXPECT_EQ(shown.type, "REG_SZ");
  EXPECT_EQ(shown.data, "abc");
  EXPECT_EQ(registry_.GetString(kHkeyLocalMachine, subkey_, "Server List"), "abc");
  registry_.SaveString(kHkeyLocalMachine, subkey_, "Server List", "");
  EXPECT_EQ(AnsiSize(subkey_, "Server List"), 0u);
  EXPECT_EQ(registry_.GetString(kHkeyLocalMachine, subkey_, "Server List"), "");
}

TEST_F(Win32RegistryTest, ValueWrittenByRegExeReadsWithoutItsNul) {
  ASSERT_EQ(RegAdd("Server List", "REG_SZ", "a.host;1.2.3.4").exitCode, 0u);
  EXPECT_EQ(AnsiSize(subkey_, "Server List"), 15u);  // counts the terminating NUL
  EXPECT_EQ(registry_.GetString(kHkeyLocalMachine, subkey_, "Server List"), "a.host;1.2.3.4");
}

TEST_F(Win32RegistryTest, EachReadTakesOnlyItsOwnType) {
  const struct {
    const char* regType;
    const char* data;
    std::string text;
    int32_t number;
  } cases[] = {
      {"REG_SZ", "abc", "abc", 0},         {"REG_SZ", "1", "1", 0},
      {"REG_DWORD", "0xffffffff", "", -1}, {"REG_EXPAND_SZ", "abc", "", 0},
      {"REG_MULTI_SZ", "abc", "", 0},      {"REG_BINARY", "61626300", "", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.regType);
    const ProcessResult added = RegAdd("value", c.regType, c.data);
    ASSERT_EQ(added.exitCode, 0u) << added.output;
    ASSERT_EQ(RegQuery(subkey_, "value").type, c.regType);
    EXPECT_EQ(registry_.GetString(kHkeyLocalMachine, subkey_, "value"), c.text);
    EXPECT_EQ(registry_.GetDWord(kHkeyLocalMachine, subkey_, "value"), c.number);
  }
}

TEST_F(Win32RegistryTest, MissingKeyOrValueReadsEmpty) {
  EXPECT_EQ(registry_.GetString(kHkeyLocalMachine, subkey_ + "\\missing", "v"), "");
  EXPECT_EQ(registry_.GetDWord(kHkeyLocalMachine, subkey_ + "\\missing", "v"), 0);
  ASSERT_EQ(RegAdd("other", "REG_SZ", "x").exitCode, 0u);
  EXPECT_EQ(registry_.GetString(kHkeyLocalMachine, subkey_, "v"), "");
  EXPECT_EQ(registry_.GetDWord(kHkeyLocalMachine, subkey_, "v"), 0);
  // Reading never creates the key.
  HKEY key = nullptr;
  EXPECT_NE(RegOpenKeyExA(HKEY_LOCAL_MACHINE, (subkey_ + "\\missing").c_str(), 0, KEY_READ, &key),
            ERROR_SUCCESS);
}

TEST_F(Win32RegistryTest, WritesCreateMissingKeys) {
  const std::string deep = subkey_ + "\\Battle.Net\\Configuration";
  registry_.SaveDWord(kHkeyLocalMachine, deep, "Server Version", 1);
  registry_.SaveString(kHkeyLocalMachine, subkey_ + "\\Other\\Key", "Server List", "a;b");

  const RegLine shown = RegQuery(deep, "Server Version");
  EXPECT_EQ(shown.type, "REG_DWORD");
  EXPECT_EQ(shown.data, "0x1");
  EXPECT_EQ(registry_.GetDWord(kHkeyLocalMachine, deep, "Server Version"), 1);
  EXPECT_EQ(RegQuery(subkey_ + "\\Other\\Key", "Server List").data, "a;b");
}

TEST_F(Win32RegistryTest, DWordRoundTripsEverySign) {
  for (int32_t value : {0, -2, static_cast<int32_t>(0x80000000u), 0x01020304}) {
    registry_.SaveDWord(kHkeyLocalMachine, subkey_, "n", value);
    EXPECT_EQ(registry_.GetDWord(kHkeyLocalMachine, subkey_, "n"), value);
  }
  registry_.SaveDWord(kHkeyLocalMachine, subkey_, "n", -2);
  EXPECT_EQ(RegQuery(subkey_, "n").data, "0xfffffffe");
}

TEST_F(Win32RegistryTest, LongValuesAndAFarNulReadSafely) {
  const std::string text(100000, 'x');
  registry_.SaveString(kHkeyLocalMachine, subkey_, "long", text);
  EXPECT_EQ(AnsiSize(subkey_, "long"), 100000u);
  EXPECT_EQ(registry_.GetString(kHkeyLocalMachine, subkey_, "long"), text);

  // A NUL far beyond 16-bit positions, followed by more text.
  std::string data(40000, 'y');
  data += std::string("\0tail", 5);
  testing::SetRegString(subkey_, "far", data);
  EXPECT_EQ(registry_.GetString(kHkeyLocalMachine, subkey_, "far"), std::string(40000, 'y'));
}

// New handles take the lowest free slot, so a handle left open by the calls in between pushes the
// value of the next new handle up.
uintptr_t NextHandleValue() {
  HANDLE probe = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  CloseHandle(probe);
  return reinterpret_cast<uintptr_t>(probe);
}

TEST_F(Win32RegistryTest, NoHandleStaysOpen) {
  registry_.SaveString(kHkeyLocalMachine, subkey_, "s", "x");
  registry_.GetString(kHkeyLocalMachine, subkey_, "s");  // warm up any lazily opened handles
  registry_.GetDWord(kHkeyLocalMachine, subkey_, "s");
  const uintptr_t before = NextHandleValue();
  for (int i = 0; i < 50; ++i) {
    registry_.SaveString(kHkeyLocalMachine, subkey_, "s", "x");
    registry_.GetString(kHkeyLocalMachine, subkey_, "s");
    registry_.GetString(kHkeyLocalMachine, subkey_, "d");
    registry_.GetString(kHkeyLocalMachine, subkey_ + "\\missing", "s");
    registry_.SaveDWord(kHkeyLocalMachine, subkey_, "d", i);
    registry_.GetDWord(kHkeyLocalMachine, subkey_, "d");
    registry_.GetDWord(kHkeyLocalMachine, subkey_, "s");
  }
  EXPECT_EQ(NextHandleValue(), before);
}

}  // namespace
}  // namespace gantrel
