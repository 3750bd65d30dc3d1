#include "gui/gantrel_driver.h"

#include <cstdlib>
#include <cstring>

#include "app/frm_main_layout.h"

namespace gantrel::gui {
namespace {

std::string ExePath() {
  const char* unixPath = std::getenv("GANTREL_EXE");
  return unixPath ? WindowsPath(unixPath) : "gantrel.exe";
}

// A window text or a list row, read in the wide form: ANSI texts of another process's windows
// may come back as UTF-16 under Wine.
std::string WideText(HWND hwnd, UINT lengthMessage, UINT textMessage, WPARAM item) {
  int len = static_cast<int>(SendMessageW(hwnd, lengthMessage, item, 0));
  if (len < 0) return {};
  std::wstring w(static_cast<size_t>(len) + 1, L'\0');
  const WPARAM param = textMessage == WM_GETTEXT ? w.size() : item;
  len =
      static_cast<int>(SendMessageW(hwnd, textMessage, param, reinterpret_cast<LPARAM>(w.data())));
  if (len <= 0) return {};
  int n = WideCharToMultiByte(CP_ACP, 0, w.data(), len, nullptr, 0, nullptr, nullptr);
  std::string s(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, w.data(), len, s.data(), n, nullptr, nullptr);
  return s;
}

}  // namespace

std::string WindowsPath(std::string path) {
  if (path.empty() || path[0] != '/') return path;
  for (char& c : path)
    if (c == '/') c = '\\';
  return "Z:" + path;
}

std::vector<char> EnvironmentWith(const std::string& windir) {
  std::vector<char> env;
  char* block = GetEnvironmentStringsA();
  for (const char* p = block; *p; p += std::strlen(p) + 1) {
    if (_strnicmp(p, "windir=", 7) == 0) continue;
    env.insert(env.end(), p, p + std::strlen(p) + 1);
  }
  FreeEnvironmentStringsA(block);
  if (!windir.empty()) {
    std::string v = "windir=" + windir;
    env.insert(env.end(), v.c_str(), v.c_str() + v.size() + 1);
  }
  env.push_back('\0');
  return env;
}

HWND FindWindowOf(DWORD pid, const char* className, bool visibleOnly) {
  for (HWND w = FindWindowExA(nullptr, nullptr, className, nullptr); w;
       w = FindWindowExA(nullptr, w, className, nullptr)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    if (owner == pid && (!visibleOnly || IsWindowVisible(w))) return w;
  }
  return nullptr;
}

bool WaitFor(const std::function<bool()>& done, int timeoutMs) {
  DWORD start = GetTickCount();
  while (!done()) {
    if (static_cast<int>(GetTickCount() - start) > timeoutMs) return false;
    Sleep(20);
  }
  return true;
}

std::string TextOf(HWND hwnd) {
  return WideText(hwnd, WM_GETTEXTLENGTH, WM_GETTEXT, 0);
}

GantrelProcess::GantrelProcess(const std::string& windir) {
  syncMessage_ = RegisterWindowMessageA("Gantrel.Sync");
  std::string exe = ExePath();
  std::string cmd = "\"" + exe + "\"";
  auto env = EnvironmentWith(windir);
  STARTUPINFOA si{};
  si.cb = sizeof si;
  if (!CreateProcessA(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, env.data(), nullptr, &si,
                      &pi_))
    return;
  WaitFor(
      [&] {
        main_ = FindWindowOf(pi_.dwProcessId, "GantrelMain");
        return main_ != nullptr || WaitForSingleObject(pi_.hProcess, 0) == WAIT_OBJECT_0;
      },
      20000);
}

GantrelProcess::~GantrelProcess() {
  if (pi_.hProcess) {
    if (WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT && !Close(5000))
      TerminateProcess(pi_.hProcess, 1);
    CloseHandle(pi_.hProcess);
    CloseHandle(pi_.hThread);
  }
}

bool GantrelProcess::Running() const {
  return pi_.hProcess && WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT;
}

HWND GantrelProcess::Control(int id) const {
  if (id == kIdSSTab1) return GetDlgItem(main_, kIdSSTab1);
  return GetDlgItem(GetDlgItem(main_, kIdSSTab1), id);
}

std::vector<std::string> GantrelProcess::Rows(int listId) const {
  std::vector<std::string> rows;
  int n = Count(listId);
  for (int i = 0; i < n; ++i) rows.push_back(Row(listId, i));
  return rows;
}

int GantrelProcess::Count(int listId) const {
  return static_cast<int>(SendMessageW(Control(listId), LB_GETCOUNT, 0, 0));
}

std::string GantrelProcess::Row(int listId, int row) const {
  return WideText(Control(listId), LB_GETTEXTLEN, LB_GETTEXT, static_cast<WPARAM>(row));
}

std::vector<int> GantrelProcess::ItemData(int listId) const {
  std::vector<int> data;
  for (int i = 0, n = Count(listId); i < n; ++i)
    data.push_back(
        static_cast<int>(SendMessageW(Control(listId), LB_GETITEMDATA, static_cast<WPARAM>(i), 0)));
  return data;
}

int GantrelProcess::Selected(int listId) const {
  return static_cast<int>(SendMessageW(Control(listId), LB_GETCURSEL, 0, 0));
}

void GantrelProcess::Select(int listId, int row) const {
  SendMessageW(Control(listId), LB_SETCURSEL, static_cast<WPARAM>(row), 0);
}

int GantrelProcess::CurrentTab() const {
  return static_cast<int>(SendMessageW(Control(kIdSSTab1), 0x130B /* TCM_GETCURSEL */, 0, 0));
}

bool GantrelProcess::Sync(int timeoutMs) {
  int n = ++syncCount_;
  PostMessageA(main_, syncMessage_, static_cast<WPARAM>(n), 0);
  return WaitFor([&] { return reinterpret_cast<INT_PTR>(GetPropA(main_, "Gantrel.Sync")) >= n; },
                 timeoutMs);
}

void GantrelProcess::Click(int id) {
  PostMessageA(Control(id), BM_CLICK, 0, 0);
  Sync();
}

void GantrelProcess::Press(int id, int x, int y) {
  HWND h = Control(id);
  LPARAM at = MAKELPARAM(x, y);
  PostMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageA(h, WM_LBUTTONUP, 0, at);
  Sync();
}

Box GantrelProcess::WaitBox(int timeoutMs) const {
  HWND found = nullptr;
  WaitFor([&] { return (found = FindWindowOf(pi_.dwProcessId, "#32770")) != nullptr; }, timeoutMs);
  Box box;
  if (!found) return box;
  box.hwnd = found;
  box.title = TextOf(found);
  if (HWND text = GetDlgItem(found, 0xFFFF)) box.text = TextOf(text);
  return box;
}

void GantrelProcess::AnswerInput(const Box& box, const std::string& text) const {
  HWND edit = GetDlgItem(box.hwnd, 0x0100);
  SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  PressOk(box);
}

void GantrelProcess::CancelInput(const Box& box) const {
  PostMessageA(box.hwnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  WaitFor([&] { return !IsWindow(box.hwnd); });
}

void GantrelProcess::PressOk(const Box& box) const {
  PostMessageA(box.hwnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  WaitFor([&] { return !IsWindow(box.hwnd); });
}

bool GantrelProcess::Close(int timeoutMs) {
  if (!pi_.hProcess) return true;
  if (main_) PostMessageA(main_, WM_CLOSE, 0, 0);
  return WaitForSingleObject(pi_.hProcess, static_cast<DWORD>(timeoutMs)) == WAIT_OBJECT_0;
}

}  // namespace gantrel::gui
