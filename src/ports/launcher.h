#pragma once
#include <cstdint>
#include <string>

namespace gantrel {

constexpr int32_t kSwHide = 0;
constexpr int32_t kSwShowMinimized = 2;

// Starting programs and opening documents, and the one fact about this machine a launch needs.
class Launcher {
 public:
  virtual ~Launcher() = default;
  // ShellExecuteA with the main window as owner. Above 32 is success.
  virtual int32_t ShellExecute(const std::string& operation, const std::string& file,
                               const std::string& parameters, const std::string& directory,
                               int32_t showCommand) = 0;
  // Starts a new process (no start folder: it inherits ours). Returns its id, 0 on failure.
  virtual int32_t StartProcess(const std::string& applicationName, const std::string& commandLine,
                               int32_t showState) = 0;
  // Minutes to add to local time to get UTC (positive west of Greenwich).
  virtual int32_t TimeZoneBiasMinutes() = 0;
};

}  // namespace gantrel
