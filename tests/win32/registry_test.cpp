// Win32Registry against Wine's real registry, cross-checked with Wine's own reg.exe.
#include "registry/win32_registry.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace gantrel {
namespace {

struct ProcessResult {
  DWORD exitCode = 0xFFFFFFFF;
  std::string output;
};

// Runs a command line with its standard output and error read through a pipe.
ProcessResult RunProcess(std::string commandLine) {
  ProcessResult result;
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE readEnd = nullptr;
  HANDLE writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return result;
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  HANDLE input = CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                             OPEN_EXISTING, 0, nullptr);

  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = input;
  startup.hStdOutput = writeEnd;
  startup.hStdError = writeEnd;
  PROCESS_INFORMATION process{};
  const BOOL started = CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE,
                                      CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process);
  CloseHandle(writeEnd);
  if (input != INVALID_HANDLE_VALUE) CloseHandle(input);
  if (started) {
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(readEnd, chunk, sizeof chunk, &got, nullptr) && got > 0) result.output.append(chunk, got);
    WaitForSingleObject(process.hProcess, 30000);
    GetExitCodeProcess(process.hProcess, &result.exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  CloseHandle(readEnd);
  return result;
}

struct RegLine {
  std::string type;
  std::string data;
};

// One value as "reg.exe query" shows it: "    <name>    <type>    <data>".
RegLine ParseRegQuery(const std::string& output, const std::string& name) {
  const std::string head = "    " + name + "    ";
  std::size_t at = 0;
  while (at < output.size()) {
    std::size_t end = output.find_first_of("\r\n", at);
    if (end == std::string::npos) end = output.size();
    const std::string line = output.substr(at, end - at);
    if (line.rfind(head, 0) == 0) {
      const std::string rest = line.substr(head.size());
      const std::size_t gap = rest.find("    ");
      if (gap == std::string::npos) return {rest, ""};
      return {rest.substr(0, gap), rest.substr(gap + 4)};
    }
    at = end + 1;
  }
  return {};
}

struct RawValue {
  bool found = false;
  DWORD type = 0;
  DWORD ansiSize = 0;
  DWORD wideSize = 0;
};

RawValue QueryRaw(const std::string& subkey, const std::string& name) {
  RawValue raw;
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, subkey.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
    return raw;
  }
  raw.found = RegQueryValueExA(key, name.c_str(), nullptr, &raw.type, nullptr, &raw.ansiSize) ==
              ERROR_SUCCESS;
  const std::wstring wideName(name.begin(), name.end());
  RegQueryValueExW(key, wideName.c_str(), nullptr, nullptr, nullptr, &raw.wideSize);
  RegCloseKey(key);
  return raw;
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
    return RunProcess("reg.exe add \"" + RegPath() + "\" /v \"" + name + "\" /t " + type + " /d \"" + data +
               "\" /f");
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
  const RawValue raw = QueryRaw(subkey_, "Server List");
  ASSERT_TRUE(raw.found);
  EXPECT_EQ(raw.type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(raw.ansiSize, 3u);
  EXPECT_EQ(raw.wideSize, 6u);  // three UTF-16 characters, no terminator
  const RegLine shown = RegQuery(subkey_, "Server List");
  EXPECT_EQ(shown.type, "REG_SZ");
  EXPECT_EQ(shown.data, "abc");
  EXPECT_EQ(registry_.GetString(kHkeyLocalMachine, subkey_, "Server List"), "abc");
}

TEST_F(Win32RegistryTest, SaveStringReplacesALongerValue) {
  ASSERT_EQ(RegAdd("v", "REG_SZ", "abcdefgh").exitCode, 0u);
  registry_.SaveString(kHkeyLocalMachine, subkey_, "v", "xy");
  EXPECT_EQ(QueryRaw(subkey_, "v").ansiSize, 2u);
  EXPECT_EQ(registry_.GetString(kHkeyLocalMachine, subkey_, "v"), "xy");
  registry_.SaveString(kHkeyLocalMachine, subkey_, "v", "");
  EXPECT_EQ(QueryRaw(subkey_, "v").ansiSize, 0u);
  EXPECT_EQ(registry_.GetString(kHkeyLocalMachine, subkey_, "v"), "");
}

TEST_F(Win32RegistryTest, ValueWrittenByRegExeReadsWithoutItsNul) {
  ASSERT_EQ(RegAdd("Server List", "REG_SZ", "a.host;1.2.3.4").exitCode, 0u);
  EXPECT_EQ(QueryRaw(subkey_, "Server List").ansiSize, 15u);  // counts the terminating NUL
  EXPECT_EQ(registry_.GetString(kHkeyLocalMachine, subkey_, "Server List"), "a.host;1.2.3.4");
}

struct TypeCase {
  const char* name;
  const char* regType;
  const char* data;
  std::string text;
  int32_t number;
};

class Win32RegistryTypes : public Win32RegistryTest, public ::testing::WithParamInterface<TypeCase> {};

TEST_P(Win32RegistryTypes, ReadsOnlyItsOwnType) {
  const TypeCase& c = GetParam();
  const ProcessResult added = RegAdd("value", c.regType, c.data);
  ASSERT_EQ(added.exitCode, 0u) << added.output;
  ASSERT_EQ(RegQuery(subkey_, "value").type, c.regType);
  EXPECT_EQ(registry_.GetString(kHkeyLocalMachine, subkey_, "value"), c.text);
  EXPECT_EQ(registry_.GetDWord(kHkeyLocalMachine, subkey_, "value"), c.number);
}

INSTANTIATE_TEST_SUITE_P(
    Win32Registry, Win32RegistryTypes,
    ::testing::Values(TypeCase{"Sz", "REG_SZ", "abc", "abc", 0},
                      TypeCase{"SzOfADigit", "REG_SZ", "1", "1", 0},
                      TypeCase{"EmptySz", "REG_SZ", "", "", 0},
                      TypeCase{"DWordOne", "REG_DWORD", "1", "", 1},
                      TypeCase{"DWordAllBits", "REG_DWORD", "0xffffffff", "", -1},
                      TypeCase{"ExpandSz", "REG_EXPAND_SZ", "abc", "", 0},
                      TypeCase{"MultiSz", "REG_MULTI_SZ", "abc", "", 0},
                      TypeCase{"Binary", "REG_BINARY", "61626300", "", 0}),
    [](const auto& p) { return std::string(p.param.name); });

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

  const RawValue version = QueryRaw(deep, "Server Version");
  ASSERT_TRUE(version.found);
  EXPECT_EQ(version.type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(version.ansiSize, 4u);
  const RegLine shown = RegQuery(deep, "Server Version");
  EXPECT_EQ(shown.type, "REG_DWORD");
  EXPECT_EQ(shown.data, "0x1");
  EXPECT_EQ(registry_.GetDWord(kHkeyLocalMachine, deep, "Server Version"), 1);
  EXPECT_EQ(RegQuery(subkey_ + "\\Other\\Key", "Server List").data, "a;b");
}

TEST_F(Win32RegistryTest, DWordRoundTripsEverySign) {
  for (int32_t value : {0, 1, 2, -2, 0x7FFFFFFF, static_cast<int32_t>(0x80000000u), 0x01020304}) {
    registry_.SaveDWord(kHkeyLocalMachine, subkey_, "n", value);
    EXPECT_EQ(registry_.GetDWord(kHkeyLocalMachine, subkey_, "n"), value);
  }
  registry_.SaveDWord(kHkeyLocalMachine, subkey_, "n", -2);
  EXPECT_EQ(RegQuery(subkey_, "n").data, "0xfffffffe");
}

TEST_F(Win32RegistryTest, LongValuesAndAFarNulReadSafely) {
  const std::string text(100000, 'x');
  registry_.SaveString(kHkeyLocalMachine, subkey_, "long", text);
  EXPECT_EQ(QueryRaw(subkey_, "long").ansiSize, 100000u);
  EXPECT_EQ(registry_.GetString(kHkeyLocalMachine, subkey_, "long"), text);

  // A NUL far beyond 16-bit positions, followed by more text.
  std::string data(40000, 'y');
  data += std::string("\0tail", 5);
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, subkey_.c_str(), 0, KEY_SET_VALUE, &key), ERROR_SUCCESS);
  RegSetValueExA(key, "far", 0, REG_SZ, reinterpret_cast<const BYTE*>(data.data()),
                 static_cast<DWORD>(data.size()));
  RegCloseKey(key);
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
  DWORD countBefore = 0;
  const bool counted = GetProcessHandleCount(GetCurrentProcess(), &countBefore) && countBefore > 0;
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
  DWORD countAfter = 0;
  if (counted && GetProcessHandleCount(GetCurrentProcess(), &countAfter)) {
    EXPECT_LE(countAfter, countBefore + 2);
  }
}

}  // namespace
}  // namespace gantrel
