#pragma once
// Drives a real gantrel.exe from another process (tests, benchmarks, screenshots); then what the
// tests make and read without the program's code: folders, files, registry values.
#include <windows.h>

#include <commctrl.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "main_window_layout.h"
#include "server_list/server_list.h"
#include "win32_dialogs.h"

namespace gantrel::driver {

// A message box's text and icon under Wine (the input box's prompt has the text's ID too).
constexpr int kIdMessageText = 0xFFFF, kIdMessageIcon = 0x0440;

template <class Done>
bool WaitFor(Done done, DWORD ms = 10000) {
  for (const ULONGLONG until = GetTickCount64() + ms; !done(); Sleep(20))
    if (GetTickCount64() > until) return false;
  return true;
}

// Read in UTF-16, as Wine hands another process's ANSI texts over; the length message is next.
inline std::string TextOf(HWND h, UINT textMessage = WM_GETTEXT, WPARAM row = 0) {
  std::wstring w(SendMessageW(h, textMessage + 1, row, 0) + 1, L'\0');
  const auto n = static_cast<int>(
      SendMessageW(h, textMessage, textMessage == WM_GETTEXT ? w.size() : row, (LPARAM)w.data()));
  std::string s(w.size() * 3, '\0');  // no code page takes more than 3 bytes a UTF-16 unit
  s.resize(WideCharToMultiByte(CP_ACP, 0, w.data(), n, s.data(), (int)s.size(), nullptr, nullptr));
  return s;
}

inline HWND FindWindowOf(DWORD pid, const char* className) {
  HWND w = nullptr;
  for (DWORD owner = 0; (w = FindWindowExA(nullptr, w, className, nullptr)) != nullptr;)
    if (GetWindowThreadProcessId(w, &owner) && owner == pid && IsWindowVisible(w)) return w;
  return nullptr;
}

inline RECT RectOf(HWND h) {
  RECT r{};
  GetWindowRect(h, &r);
  return r;
}

class Gantrel {
 public:
  // Runs $GANTREL_EXE (or gantrel.exe) with that "windir"; `main` stays null if no window comes.
  explicit Gantrel(const std::string& folder) : windir(folder) {
    const char* exe = std::getenv("GANTREL_EXE");
    std::string line = '"' + std::string(exe ? exe : "gantrel.exe") + '"';
    STARTUPINFOA si{};
    si.cb = sizeof si;
    SetEnvironmentVariableA("windir", windir.empty() ? nullptr : windir.c_str());
    if (CreateProcessA(nullptr, line.data(), nullptr, nullptr, 0, 0, nullptr, nullptr, &si, &pi))
      WaitFor([&] { return main = FindWindowOf(pi.dwProcessId, "GantrelMain"); }, 30000);
  }
  ~Gantrel() {
    if (Close() == STILL_ACTIVE) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
  }
  Gantrel(const Gantrel&) = delete;
  // Closes the main window: the program's exit code, or STILL_ACTIVE while it runs on.
  DWORD Close() {
    DWORD code = STILL_ACTIVE;
    PostMessageA(main, WM_CLOSE, 0, 0);
    WaitForSingleObject(pi.hProcess, 5000);
    GetExitCodeProcess(pi.hProcess, &code);
    return code;
  }
  HWND Control(int id) const { return GetDlgItem(id == kIdTabs ? main : Control(kIdTabs), id); }
  LRESULT Send(int id, UINT m, WPARAM w = 0) const { return SendMessageW(Control(id), m, w, 0); }
  int Tab() const { return static_cast<int>(Send(kIdTabs, TCM_GETCURSEL)); }
  HWND Focus() const {
    GUITHREADINFO gui{sizeof gui, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, {}};
    return GetGUIThreadInfo(pi.dwThreadId, &gui) ? gui.hwndFocus : nullptr;
  }
  // Waits until all messages posted before are handled (the window numbers them in a property).
  bool Sync(DWORD ms = 10000) {
    PostMessageA(main, RegisterWindowMessageA("Gantrel.Sync"), ++synced_, 0);
    return WaitFor([&] { return (INT_PTR)GetPropA(main, "Gantrel.Sync") >= synced_; }, ms);
  }
  // Posted, as a handler that opens a modal box would block a sent click or press (at x, y).
  void Click(int id, bool press = false, int x = 2, int y = 2) {
    PostMessageA(Control(id), press ? WM_LBUTTONDOWN : BM_CLICK, 0, MAKELPARAM(x, y));
    if (press) PostMessageA(Control(id), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    Sync();
  }
  // Holds the keys down (for the focused window) until the focus is on `focus`; false if never.
  bool Press(std::initializer_list<BYTE> keys, HWND focus) {
    for (BYTE k : keys) keybd_event(k, 0, 0, 0);
    const bool reached = WaitFor([&] { return Focus() == focus; }, 2000);
    for (BYTE k : keys) keybd_event(k, 0, KEYEVENTF_KEYUP, 0);
    return reached;
  }
  // Waits for a message or input box, types `text` into it if given, presses the button. Gives
  // "title|text", and "|icon" when it shows one; "" when no box came.
  std::string Answer(int button = IDOK, const char* text = nullptr, DWORD ms = 10000) {
    HWND h = nullptr;
    if (!WaitFor([&] { return h = FindWindowOf(pi.dwProcessId, "#32770"); }, ms)) return "";
    std::string box = TextOf(h) + "|" + TextOf(GetDlgItem(h, kIdMessageText));
    if (SendDlgItemMessageW(h, kIdMessageIcon, STM_GETICON, 0, 0)) box += "|icon";
    if (text) SetDlgItemTextA(h, kIdInputEdit, text);
    PostMessageA(h, WM_COMMAND, button, 0);
    WaitFor([&] { return !IsWindow(h); });
    Sync();
    return box;
  }
  const std::string windir;
  PROCESS_INFORMATION pi{};
  HWND main = nullptr;

 private:
  INT_PTR synced_ = 0;
};

// A file's bytes; "" when there is no such file.
inline std::string FileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}
// A value's type and bytes as the ANSI calls see them; REG_NONE: no such value.
using RegValue = std::pair<DWORD, std::string>;
inline RegValue GetReg(const char* key, const char* name, HKEY root = HKEY_LOCAL_MACHINE) {
  RegValue v{REG_NONE, std::string(2 << 20, '\0')};  // more than any value read here
  auto size = static_cast<DWORD>(v.second.size());
  HKEY k = nullptr;  // the bytes as stored: RegGetValue would add a closing NUL to a text
  if (RegOpenKeyExA(root, key, 0, KEY_QUERY_VALUE, &k)) return {};
  const LSTATUS failed = RegQueryValueExA(k, name, 0, &v.first, (BYTE*)v.second.data(), &size);
  RegCloseKey(k);
  v.second.resize(size);
  return failed ? RegValue{} : v;
}
// Writes the value, making its key (a text with its closing NUL, as Windows' own tools write
// it), or deletes it when the type is REG_NONE.
inline void SetReg(const char* key, const char* name, const RegValue& v,
                   HKEY root = HKEY_LOCAL_MACHINE) {
  RegDeleteKeyValueA(root, key, name);
  if (v.first != REG_NONE)
    RegSetKeyValueA(root, key, name, v.first, v.second.c_str(),
                    v.second.size() + (v.first == REG_SZ));
}

// The program on a new empty Windows folder, "gantrel-<name>" in the temp folder, which is also
// the game's install folder (so the cache file it deletes is ours), over this Server List and
// gantrel.ini.
inline Gantrel Open(const std::string& name, const RegValue& serverList, const std::string& ini) {
  const auto windir = (std::filesystem::temp_directory_path() / ("gantrel-" + name)).string();
  std::filesystem::remove_all(windir);
  std::filesystem::create_directories(windir);
  SetReg(kStarcraftKey, "InstallPath", {REG_SZ, windir});
  SetReg(kBattleNetKey, kServerListValue, serverList);
  std::ofstream(windir + "\\gantrel.ini", std::ios::binary) << ini;
  return Gantrel(windir);
}

}  // namespace gantrel::driver
