#pragma once
// Drives a real gantrel.exe from another process: starts it with its own Windows folder, finds
// its controls by ID, posts clicks, reads the lists back and answers its modal boxes.
#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace gantrel::gui {

// A dialog (#32770) of the driven process: a message box or an input box.
struct Box {
  HWND hwnd = nullptr;
  std::string title;
  std::string text;  // the static text (control 0xFFFF)
};

class GantrelProcess {
 public:
  // Starts gantrel.exe with "windir" set to `windir` (or unset when empty).
  explicit GantrelProcess(const std::string& windir);
  ~GantrelProcess();
  GantrelProcess(const GantrelProcess&) = delete;
  GantrelProcess& operator=(const GantrelProcess&) = delete;

  bool Started() const { return main_ != nullptr; }
  // False once the process has ended (closed, or crashed).
  bool Running() const;
  HWND Main() const { return main_; }
  HWND Control(int id) const;
  DWORD Pid() const { return pi_.dwProcessId; }

  std::vector<std::string> Rows(int listId) const;
  // One row, and the row count: reading a few rows of a long list costs far less than all.
  int Count(int listId) const;
  std::string Row(int listId, int row) const;
  std::vector<int> ItemData(int listId) const;
  int Selected(int listId) const;
  void Select(int listId, int row) const;
  int CurrentTab() const;

  // Posts a click on a button or link label, then waits until it has been handled or a modal
  // box of ours is open.
  void Click(int id);
  // Posts a press and release of the left button at (x, y) inside a control, then syncs.
  void Press(int id, int x, int y);
  // Waits until every message posted so far has been handled.
  bool Sync(int timeoutMs = 10000);

  // Waits for a modal box of this process; nullptr-hwnd Box when none came.
  Box WaitBox(int timeoutMs = 10000) const;
  // Types into an input box and presses OK, or presses Cancel.
  void AnswerInput(const Box& box, const std::string& text) const;
  void CancelInput(const Box& box) const;
  void PressOk(const Box& box) const;

  // Closes the window and waits for the process to end.
  bool Close(int timeoutMs = 10000);

 private:
  PROCESS_INFORMATION pi_{};
  HWND main_ = nullptr;
  UINT syncMessage_ = 0;
  int syncCount_ = 0;
};

// A Unix path as Wine's Z: drive names it; other paths unchanged.
std::string WindowsPath(std::string path);
// This process's environment block with "windir" set to `windir` (left out when empty).
std::vector<char> EnvironmentWith(const std::string& windir);
// A top-level window of that class that belongs to the process (a visible one unless
// `visibleOnly` is false), or nullptr.
HWND FindWindowOf(DWORD pid, const char* className, bool visibleOnly = true);

// Polls `done` until it is true or the time is up.
bool WaitFor(const std::function<bool()>& done, int timeoutMs = 10000);

std::string TextOf(HWND hwnd);

}  // namespace gantrel::gui
