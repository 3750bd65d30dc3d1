#pragma once
// Helpers of the Windows-side tests: files and folders read and made independently of the
// program's own code, registry values set, read and put back after a test, and message boxes
// of the test's own thread read and answered.
#include <windows.h>

#include <shellapi.h>  // needs <windows.h> first

#include <cstdint>
#include <fstream>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace gantrel::testing {

// For EXPECT_PRED3: times measured against real clocks are checked as ranges.
inline bool Between(int64_t value, int64_t low, int64_t high) {
  return low <= value && value <= high;
}

inline bool FileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

inline std::optional<std::string> ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

inline bool WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  return static_cast<bool>(out << bytes) && static_cast<bool>(out.flush());
}

// A fresh folder under the temp folder, removed with everything in it at the end.
class TempFolder {
 public:
  TempFolder() {
    static int serial = 0;
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    path_ = std::string(temp) + "gantrel-test-" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(++serial);
    CreateDirectoryA(path_.c_str(), nullptr);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  ~TempFolder() {
    // A program that has just written here may not have ended yet: retry for a while.
    const std::string from = path_ + '\0';  // a list of one path, ended by two NULs
    SHFILEOPSTRUCTA remove{};
    remove.wFunc = FO_DELETE;
    remove.pFrom = from.c_str();
    remove.fFlags = FOF_NO_UI;
    for (int attempt = 0; attempt < 40 && FileExists(path_); ++attempt)
      if (SHFileOperationA(&remove) != 0) Sleep(50);
  }
  const std::string& Path() const { return path_; }

  // Makes the folder (and its parents inside this one); returns its full path.
  std::string Folder(const std::string& relative) const {
    for (size_t end = relative.find('\\'); end != std::string::npos;
         end = relative.find('\\', end + 1))
      CreateDirectoryA((path_ + "\\" + relative.substr(0, end)).c_str(), nullptr);
    CreateDirectoryA((path_ + "\\" + relative).c_str(), nullptr);
    return path_ + "\\" + relative;
  }

 private:
  std::string path_;
};

// A registry value as stored (the ANSI view): absent, or its type and bytes.
struct RegValue {
  bool present = false;
  DWORD type = REG_NONE;
  std::string bytes;
  bool operator==(const RegValue&) const = default;
};

// An empty name is the key's default value.
inline RegValue ReadRegValue(HKEY root, const std::string& key, const std::string& name) {
  RegValue v;
  HKEY h = nullptr;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_QUERY_VALUE, &h) != ERROR_SUCCESS) return v;
  DWORD size = 0;
  if (RegQueryValueExA(h, name.c_str(), nullptr, &v.type, nullptr, &size) == ERROR_SUCCESS) {
    v.bytes.resize(size);
    v.present = RegQueryValueExA(h, name.c_str(), nullptr, &v.type,
                                 reinterpret_cast<BYTE*>(v.bytes.data()), &size) == ERROR_SUCCESS;
    v.bytes.resize(size);
  }
  RegCloseKey(h);
  return v;
}

// Writes the value, creating its key, or deletes it when `v` is absent.
inline void WriteRegValue(HKEY root, const std::string& key, const std::string& name,
                          const RegValue& v) {
  HKEY h = nullptr;
  if (RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &h, nullptr) !=
      ERROR_SUCCESS)
    return;
  if (v.present) {
    RegSetValueExA(h, name.c_str(), 0, v.type, reinterpret_cast<const BYTE*>(v.bytes.data()),
                   static_cast<DWORD>(v.bytes.size()));
  } else {
    RegDeleteValueA(h, name.c_str());
  }
  RegCloseKey(h);
}

// A REG_SZ under HKEY_LOCAL_MACHINE, stored without a terminating NUL.
inline void SetRegString(const std::string& key, const std::string& name, const std::string& text) {
  WriteRegValue(HKEY_LOCAL_MACHINE, key, name, {true, REG_SZ, text});
}

// A registry value as it was before a test, put back (or removed again) at the end.
class SavedRegistryValue {
 public:
  SavedRegistryValue(HKEY root, std::string key, std::string name)
      : root_(root),
        key_(std::move(key)),
        name_(std::move(name)),
        saved_(ReadRegValue(root_, key_, name_)) {}
  SavedRegistryValue(const SavedRegistryValue&) = delete;
  SavedRegistryValue& operator=(const SavedRegistryValue&) = delete;
  ~SavedRegistryValue() { WriteRegValue(root_, key_, name_, saved_); }

  void Remove() const { WriteRegValue(root_, key_, name_, {}); }
  // With its terminating NUL, as the shell's own registrations are stored.
  void SetString(const std::string& text) const {
    WriteRegValue(root_, key_, name_, {true, REG_SZ, text + '\0'});
  }

 private:
  HKEY root_;
  std::string key_;
  std::string name_;
  RegValue saved_;
};

// While alive, a thread timer finds every message box (#32770) of this thread, records its title,
// text, buttons and icon, and presses OK. The timer runs inside the box's own modal loop.
class BoxAnswerer {
 public:
  struct Box {
    std::string title;
    std::string text;
    bool hasCancel = false;
    HICON icon = nullptr;
  };

  BoxAnswerer() {
    current_ = this;
    timer_ = SetTimer(nullptr, 0, 25, &Tick);
  }
  ~BoxAnswerer() {
    KillTimer(nullptr, timer_);
    current_ = nullptr;
  }
  BoxAnswerer(const BoxAnswerer&) = delete;
  BoxAnswerer& operator=(const BoxAnswerer&) = delete;

  std::vector<Box> boxes;

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (current_ != nullptr) EnumThreadWindows(GetCurrentThreadId(), &Answer, 0);
  }
  static BOOL CALLBACK Answer(HWND wnd, LPARAM) {
    char cls[16] = {};
    GetClassNameA(wnd, cls, sizeof cls);
    if (std::string(cls) != "#32770" || !IsWindowVisible(wnd) ||
        !current_->answered_.insert(wnd).second)
      return TRUE;
    Box box;
    char buf[1024] = {};
    GetWindowTextA(wnd, buf, sizeof buf);
    box.title = buf;
    buf[0] = '\0';
    GetDlgItemTextA(wnd, 0xFFFF, buf, sizeof buf);
    box.text = buf;
    const HWND cancel = GetDlgItem(wnd, IDCANCEL);
    box.hasCancel = cancel != nullptr && IsWindowVisible(cancel);
    const HWND icon = GetDlgItem(wnd, 0x0440);  // the box's icon control
    if (icon != nullptr && IsWindowVisible(icon))
      box.icon = reinterpret_cast<HICON>(SendMessageA(icon, STM_GETICON, 0, 0));
    current_->boxes.push_back(box);
    PostMessageA(wnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(wnd, IDOK)));
    return TRUE;
  }

  static inline BoxAnswerer* current_ = nullptr;
  UINT_PTR timer_ = 0;
  std::set<HWND> answered_;
};

}  // namespace gantrel::testing
