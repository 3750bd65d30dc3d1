#pragma once
// The stub game of the Windows-side launch and link tests: copies of it installed as the games
// or as a link handler, and the records those copies leave.
#include <windows.h>

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "win32/test_support.h"

namespace gantrel::testing {

// Beside the running test program.
inline std::string StubGame() {
  char path[MAX_PATH] = {};
  std::string self(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
  return self.substr(0, self.find_last_of('\\')) + "\\stub_game.exe";
}

inline bool PutStub(const std::string& path) {
  return CopyFileA(StubGame().c_str(), path.c_str(), FALSE) != 0;
}

// What a stub copy saw when it started: module, cmdline, cwd, flags, show, pid.
using StubRecord = std::map<std::string, std::string>;

inline std::string RecordPath(const std::string& stub) {
  return stub + ".record";
}

inline std::optional<StubRecord> ReadRecord(const std::string& stub) {
  const auto text = ReadFileBytes(RecordPath(stub));
  if (!text) return std::nullopt;
  StubRecord record;
  for (size_t start = 0, end; start < text->size(); start = end + 1) {
    end = std::min(text->find('\n', start), text->size());
    const std::string line = text->substr(start, end - start);
    const size_t eq = line.find('=');
    if (eq != std::string::npos) record[line.substr(0, eq)] = line.substr(eq + 1);
  }
  return record;
}

// Waits, at most `ms` milliseconds, for the first of the stubs to leave its record; gives that
// stub's index and record.
inline std::optional<std::pair<size_t, StubRecord>> WaitForAnyRecord(
    const std::vector<std::string>& stubs, DWORD ms = 10000) {
  const ULONGLONG until = GetTickCount64() + ms;
  do {
    for (size_t i = 0; i < stubs.size(); ++i) {
      if (auto record = ReadRecord(stubs[i])) return std::make_pair(i, *record);
    }
    Sleep(25);
  } while (GetTickCount64() < until);
  return std::nullopt;
}

inline std::optional<StubRecord> WaitForRecord(const std::string& stub, DWORD ms = 10000) {
  auto found = WaitForAnyRecord({stub}, ms);
  if (!found) return std::nullopt;
  return found->second;
}

}  // namespace gantrel::testing
