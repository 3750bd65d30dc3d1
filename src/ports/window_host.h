#pragma once

namespace gantrel {

// What the operations need of the windows themselves.
class WindowHost {
 public:
  virtual ~WindowHost() = default;
  // The "Pinging Servers..." busy window: created and shown, not modal; destroyed after a run.
  virtual void ShowBusyWindow() = 0;
  virtual void CloseBusyWindow() = 0;
  virtual void EnableMain(bool enabled) = 0;
  // Handles the window messages already waiting, then returns.
  virtual void HandlePendingEvents() = 0;
  // Gives the input focus back to the main window.
  virtual void FocusMain() = 0;
  // Stops the process at once. A test double records the call and returns; callers return
  // straight after it without touching anything else.
  virtual void EndProgram() = 0;
};

}  // namespace gantrel
