#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "launch/launcher.h"

namespace gantrel::testing {

// Records every start with its arguments; results come from a script, then from a default.
class FakeLauncher : public Launcher {
 public:
  struct ShellCall {
    std::string operation;
    std::string file;
    std::string parameters;
    std::string directory;
    int32_t showCommand;
  };
  struct ProcessCall {
    std::string applicationName;
    std::string commandLine;
    int32_t showState;
  };

  int32_t ShellExecute(const std::string& operation, const std::string& file,
                       const std::string& parameters, const std::string& directory,
                       int32_t showCommand) override {
    shellCalls.push_back({operation, file, parameters, directory, showCommand});
    if (onStart) onStart();
    return Next(shellResults, shellDefault);
  }
  int32_t StartProcess(const std::string& applicationName, const std::string& commandLine,
                       int32_t showState) override {
    processCalls.push_back({applicationName, commandLine, showState});
    if (onStart) onStart();
    return Next(processResults, processDefault);
  }

  std::vector<ShellCall> shellCalls;
  std::vector<ProcessCall> processCalls;
  std::deque<int32_t> shellResults;    // one per call, in order
  std::deque<int32_t> processResults;  // one per call, in order
  int32_t shellDefault = 42;           // a started program
  int32_t processDefault = 4242;       // a process id
  std::function<void()> onStart;       // runs inside every start, e.g. to look at the world then

 private:
  static int32_t Next(std::deque<int32_t>& script, int32_t fallback) {
    if (script.empty()) return fallback;
    const int32_t r = script.front();
    script.pop_front();
    return r;
  }
};

}  // namespace gantrel::testing
