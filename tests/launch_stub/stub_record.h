#pragma once
// Helpers of the Windows-side launch and link tests: temporary install folders holding copies of
// the stub game, the records those copies leave, and registry values put back after a test.
#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace gantrel::testing {

// The folder of the running test program, without a trailing backslash.
inline std::string OwnFolder() {
  char path[MAX_PATH] = {};
  std::string self(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
  return self.substr(0, self.find_last_of('\\'));
}

inline std::string StubGame() { return OwnFolder() + "\\stub_game.exe"; }

inline bool FileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

inline bool SameText(const std::string& a, const std::string& b) {
  return CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) ==
         CSTR_EQUAL;
}

// A fresh folder under the temp folder, removed with everything in it at the end.
class TempFolder {
 public:
  TempFolder() {
    static int serial = 0;
    char temp[MAX_PATH] = {};
    std::string base(temp, GetTempPathA(MAX_PATH, temp));
    if (!base.empty() && base.back() == '\\') base.pop_back();
    path_ = base + "\\gantrel-launch-" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(++serial);
    CreateDirectoryA(path_.c_str(), nullptr);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  ~TempFolder() {
    // A stub that has just written its record may not have ended yet: retry for a while.
    for (int attempt = 0; attempt < 40 && FileExists(path_); ++attempt) {
      RemoveTree(path_);
      if (FileExists(path_)) Sleep(50);
    }
  }
  const std::string& Path() const { return path_; }

  // Makes the folder (and its parents inside this one); returns its full path.
  std::string Folder(const std::string& relative) const {
    std::string full = path_;
    size_t start = 0;
    while (start <= relative.size()) {
      const size_t end = relative.find('\\', start);
      full += "\\" + relative.substr(start, end - start);
      CreateDirectoryA(full.c_str(), nullptr);
      if (end == std::string::npos) break;
      start = end + 1;
    }
    return full;
  }

 private:
  static void RemoveTree(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        const std::string child = folder + "\\" + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(child);
        else DeleteFileA(child.c_str());
      } while (FindNextFileA(find, &found));
      FindClose(find);
    }
    RemoveDirectoryA(folder.c_str());
  }
  std::string path_;
};

inline bool PutStub(const std::string& path) {
  return CopyFileA(StubGame().c_str(), path.c_str(), FALSE) != 0;
}

inline bool WriteFileText(const std::string& path, const std::string& text) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == text.size();
}

// What a stub copy saw when it started: module, cmdline, cwd, flags, show, pid.
using StubRecord = std::map<std::string, std::string>;

inline std::string RecordPath(const std::string& stub) { return stub + ".record"; }

inline std::optional<StubRecord> ReadRecord(const std::string& stub) {
  HANDLE file = CreateFileA(RecordPath(stub).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string text(4096, '\0');
  DWORD read = 0;
  const BOOL ok = ReadFile(file, text.data(), static_cast<DWORD>(text.size()), &read, nullptr);
  CloseHandle(file);
  if (!ok) return std::nullopt;
  text.resize(read);
  StubRecord record;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    const size_t eq = line.find('=');
    if (eq != std::string::npos) record[line.substr(0, eq)] = line.substr(eq + 1);
    start = end + 1;
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

// A registry value as it was before a test, put back (or removed again) at the end.
class SavedRegistryValue {
 public:
  SavedRegistryValue(HKEY root, std::string subkey, std::string name)
      : root_(root), subkey_(std::move(subkey)), name_(std::move(name)) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root_, subkey_.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return;
    DWORD size = 0;
    if (RegQueryValueExA(key, NameOrDefault(), nullptr, &type_, nullptr, &size) == ERROR_SUCCESS) {
      data_.resize(size);
      present_ = RegQueryValueExA(key, NameOrDefault(), nullptr, &type_, data_.data(), &size) ==
                 ERROR_SUCCESS;
      data_.resize(size);
    }
    RegCloseKey(key);
  }
  SavedRegistryValue(const SavedRegistryValue&) = delete;
  SavedRegistryValue& operator=(const SavedRegistryValue&) = delete;
  ~SavedRegistryValue() {
    if (present_) {
      HKEY key = nullptr;
      if (RegCreateKeyExA(root_, subkey_.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                          nullptr) == ERROR_SUCCESS) {
        RegSetValueExA(key, NameOrDefault(), 0, type_, data_.data(),
                       static_cast<DWORD>(data_.size()));
        RegCloseKey(key);
      }
    } else {
      Remove();
    }
  }
  // Deletes the value now; the destructor still puts the old one back.
  void Remove() const {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root_, subkey_.c_str(), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    RegDeleteValueA(key, NameOrDefault());
    RegCloseKey(key);
  }
  void SetString(const std::string& text) const {
    HKEY key = nullptr;
    if (RegCreateKeyExA(root_, subkey_.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
      return;
    }
    RegSetValueExA(key, NameOrDefault(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>(text.size() + 1));
    RegCloseKey(key);
  }

 private:
  const char* NameOrDefault() const { return name_.empty() ? nullptr : name_.c_str(); }
  HKEY root_;
  std::string subkey_;
  std::string name_;
  bool present_ = false;
  DWORD type_ = REG_NONE;
  std::vector<BYTE> data_;
};

}  // namespace gantrel::testing
