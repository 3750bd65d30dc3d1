#pragma once
// Every Windows handle the program opens lives in one UniqueHandle, which closes it when it goes
// out of scope. A Traits type names the handle's type, its invalid value and how to close it.
#include <winsock2.h>  // before windows.h, for the ICMP declarations
#include <windows.h>
#include <winternl.h>
#include <iphlpapi.h>
// IcmpSendEcho2 then takes its completion routine as the IO_STATUS_BLOCK routine it is called as.
#ifndef PIO_APC_ROUTINE_DEFINED
#define PIO_APC_ROUTINE_DEFINED
#endif
#include <icmpapi.h>

#include <utility>

namespace gantrel {

template <typename Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  UniqueHandle() = default;
  explicit UniqueHandle(Handle handle) : handle_(handle) {}
  // Move-only: declaring the moves leaves the copies deleted.
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) {
      Close();
      handle_ = other.Release();
    }
    return *this;
  }
  ~UniqueHandle() { Close(); }

  Handle Get() const { return handle_; }
  explicit operator bool() const { return handle_ != Traits::Invalid(); }
  // Closes the handle now. Where the program wants to know (files, ICMP), whether that went well:
  // false also when none was open.
  auto Close() { return *this ? Traits::Close(Release()) : decltype(Traits::Close(handle_))(); }

 private:
  Handle Release() { return std::exchange(handle_, Traits::Invalid()); }
  Handle handle_ = Traits::Invalid();
};

struct RegistryKeyTraits {
  using Handle = HKEY;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { RegCloseKey(h); }
};
// Process and thread handles: null when there is none.
struct KernelTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { CloseHandle(h); }
};
// Files: CreateFile fails with INVALID_HANDLE_VALUE.
struct FileTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static bool Close(Handle h) { return CloseHandle(h) != FALSE; }
};
struct IcmpTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static bool Close(Handle h) { return IcmpCloseHandle(h) != FALSE; }
};
struct SocketTraits {
  using Handle = SOCKET;
  static Handle Invalid() { return INVALID_SOCKET; }
  static void Close(Handle h) { closesocket(h); }
};
struct FontTraits {
  using Handle = HFONT;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { DeleteObject(h); }
};

using UniqueKey = UniqueHandle<RegistryKeyTraits>;
using UniqueKernelHandle = UniqueHandle<KernelTraits>;
using UniqueFile = UniqueHandle<FileTraits>;
using UniqueIcmp = UniqueHandle<IcmpTraits>;
using UniqueSocket = UniqueHandle<SocketTraits>;
using UniqueFont = UniqueHandle<FontTraits>;

}  // namespace gantrel
