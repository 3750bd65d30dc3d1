#include "win32_launcher.h"

// shellapi.h maps ShellExecute to ShellExecuteA; the port's method keeps its own name.
#include <shellapi.h>
#undef ShellExecute

#include <string>

namespace gantrel {

int32_t Win32Launcher::ShellExecute(const std::string& operation, const std::string& file,
                                    const std::string& parameters, const std::string& directory,
                                    int32_t showCommand) {
  HINSTANCE result = ::ShellExecuteA(owner_, operation.c_str(), file.c_str(), parameters.c_str(),
                                     directory.c_str(), showCommand);
  return static_cast<int32_t>(reinterpret_cast<INT_PTR>(result));
}

int32_t Win32Launcher::StartProcess(const std::string& applicationName,
                                    const std::string& commandLine, int32_t showState) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(showState);
  PROCESS_INFORMATION process{};
  std::string line = commandLine;  // CreateProcessA may write into it
  if (!CreateProcessA(applicationName.empty() ? nullptr : applicationName.c_str(), line.data(),
                      nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    return 0;
  }
  // The game runs on its own; nothing here waits for it or keeps its handles.
  UniqueKernelHandle processHandle(process.hProcess);
  UniqueKernelHandle threadHandle(process.hThread);
  return static_cast<int32_t>(process.dwProcessId);
}

int32_t Win32Launcher::TimeZoneBiasMinutes() {
  TIME_ZONE_INFORMATION zone{};  // left zero when the call fails
  GetTimeZoneInformation(&zone);
  return static_cast<int32_t>(zone.Bias);
}

}  // namespace gantrel
