#pragma once
#include <functional>
#include <string>
#include <vector>

#include "app/window_host.h"

namespace gantrel::testing {

// Records the window calls in order, e.g. "show", "disable", "events", "unload", "enable",
// "focus", "end". A test may run code at each yield through onDoEvents.
class FakeWindowHost : public WindowHost {
 public:
  void ShowMessageWindow() override { Log("show"); messageWindow = true; }
  void UnloadMessageWindow() override { Log("unload"); messageWindow = false; }
  void EnableMain(bool enabled) override { Log(enabled ? "enable" : "disable"); mainEnabled = enabled; }
  void DoEvents() override {
    Log("events");
    if (onDoEvents) onDoEvents();
  }
  void FocusMain() override { Log("focus"); }
  void EndProgram() override { Log("end"); ended = true; }

  void Log(const std::string& what) { calls.push_back(what); }

  std::vector<std::string> calls;
  bool messageWindow = false;
  bool mainEnabled = true;
  bool ended = false;
  std::function<void()> onDoEvents;
};

}  // namespace gantrel::testing
