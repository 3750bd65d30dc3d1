// shellapi.h maps ShellExecute to ShellExecuteA; the port's method keeps its own name.
#include <windows.h>
#include <shellapi.h>
#undef ShellExecute

#include "launch/win32_launcher.h"

#include <utility>
#include <vector>

namespace gantrel {
namespace {

// A process or thread handle, closed when it goes out of scope.
class KernelHandle {
 public:
  explicit KernelHandle(HANDLE handle) : handle_(handle) {}
  KernelHandle(const KernelHandle&) = delete;
  KernelHandle& operator=(const KernelHandle&) = delete;
  KernelHandle(KernelHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  KernelHandle& operator=(KernelHandle&& other) noexcept {
    if (this != &other) {
      Close();
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }
  ~KernelHandle() { Close(); }

 private:
  void Close() {
    if (handle_ != nullptr) CloseHandle(std::exchange(handle_, nullptr));
  }
  HANDLE handle_;
};

}  // namespace

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
  // CreateProcessA may write into the command line, so it gets a buffer of its own.
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  const BOOL started =
      CreateProcessA(applicationName.empty() ? nullptr : applicationName.c_str(), line.data(),
                     nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process);
  if (!started) return 0;
  // The game runs on its own; nothing here waits for it or keeps its handles.
  KernelHandle processHandle(process.hProcess);
  KernelHandle threadHandle(process.hThread);
  return static_cast<int32_t>(process.dwProcessId);
}

}  // namespace gantrel
