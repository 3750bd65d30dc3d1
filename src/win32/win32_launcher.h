#pragma once
#include "launcher.h"
#include "win32_handle.h"

namespace gantrel {

// Starts programs and opens links through shell32 and kernel32, owned by the main window.
class Win32Launcher : public Launcher {
 public:
  void SetOwner(HWND owner) { owner_ = owner; }

  int32_t ShellExecute(const std::string& operation, const std::string& file,
                       const std::string& parameters, const std::string& directory,
                       int32_t showCommand) override;
  int32_t StartProcess(const std::string& applicationName, const std::string& commandLine,
                       int32_t showState) override;
  int32_t TimeZoneBiasMinutes() override;

 private:
  HWND owner_ = nullptr;
};

}  // namespace gantrel
