#include "win32_registry.h"

#include <cstdint>
#include <string>

#include "win32_handle.h"

namespace gantrel {
namespace {

// Root keys travel as the predefined handles' signed 32-bit values; widened with their sign, as
// the predefined handles are on 64-bit Windows.
HKEY RootKey(int32_t root) { return reinterpret_cast<HKEY>(static_cast<LONG_PTR>(root)); }

LONG OpenKey(int32_t root, const std::string& subkey, UniqueKey& key) {
  HKEY h = nullptr;
  const LONG result = RegOpenKeyA(RootKey(root), subkey.c_str(), &h);
  if (result == ERROR_SUCCESS) key = UniqueKey(h);
  return result;
}

UniqueKey OpenKey(int32_t root, const std::string& subkey) {
  UniqueKey key;
  OpenKey(root, subkey, key);
  return key;
}

bool Missing(LONG result) { return result == ERROR_FILE_NOT_FOUND || result == ERROR_PATH_NOT_FOUND; }

}  // namespace

std::string Win32Registry::GetString(int32_t root, const std::string& subkey,
                                     const std::string& name) {
  // Size first, then the data (a key that did not open fails both).
  const UniqueKey key = OpenKey(root, subkey);
  DWORD type{};
  DWORD size{};
  RegQueryValueExA(key.Get(), name.c_str(), nullptr, &type, nullptr, &size);
  if (type != REG_SZ) return {};
  // A text this large is no server list or folder; reading it could exhaust the 32-bit process.
  constexpr DWORD kMaxTextBytes = 64u << 20;
  if (size > kMaxTextBytes) return {};
  std::string buffer(size, '\0');
  if (RegQueryValueExA(key.Get(), name.c_str(), nullptr, nullptr,
                       reinterpret_cast<BYTE*>(buffer.data()), &size) != ERROR_SUCCESS)
    return {};
  // The text ends at its first NUL: a value written with a terminating NUL comes back without
  // it, one written by SaveString (none) whole, and one that shrank in between without the NULs
  // the buffer started with.
  return buffer.substr(0, buffer.find('\0'));
}

void Win32Registry::SaveString(int32_t root, const std::string& subkey, const std::string& name,
                               const std::string& text) {
  // The value holds exactly the text's bytes, with no NUL. The system adds a NUL of its own when
  // the byte after the counted data is a NUL, so the bytes go from a copy followed by a non-NUL.
  const std::string data = text + '\xFF';
  RegSetKeyValueA(RootKey(root), subkey.c_str(), name.c_str(), REG_SZ, data.data(),
                  static_cast<DWORD>(text.size()));
}

int32_t Win32Registry::GetDWord(int32_t root, const std::string& subkey, const std::string& name) {
  // Only a whole DWORD counts: any other value, or none (no key either), reads as 0.
  DWORD type{};
  DWORD value{};
  DWORD size = sizeof value;
  const bool read = RegQueryValueExA(OpenKey(root, subkey).Get(), name.c_str(), nullptr, &type,
                                     reinterpret_cast<BYTE*>(&value), &size) == ERROR_SUCCESS;
  return read && type == REG_DWORD && size == sizeof value ? static_cast<int32_t>(value) : 0;
}

void Win32Registry::SaveDWord(int32_t root, const std::string& subkey, const std::string& name,
                              int32_t value) {
  const DWORD data = static_cast<DWORD>(value);
  RegSetKeyValueA(RootKey(root), subkey.c_str(), name.c_str(), REG_DWORD, &data, sizeof data);
}

RawValue Win32Registry::GetRaw(int32_t root, const std::string& subkey, const std::string& name,
                               uint32_t maxBytes) {
  RawValue value;
  UniqueKey key;
  // Size first; the read may still find the value grown or gone in between. Only `complete`
  // bytes count.
  DWORD size{};
  LONG result = OpenKey(root, subkey, key);
  if (result == ERROR_SUCCESS)
    result = RegQueryValueExA(key.Get(), name.c_str(), nullptr, nullptr, nullptr, &size);
  value.found = !Missing(result);  // a key or value that is there but could not be read counts
  if (result != ERROR_SUCCESS || size > maxBytes) return value;
  value.bytes.assign(size, '\0');
  DWORD type{};
  if (RegQueryValueExA(key.Get(), name.c_str(), nullptr, &type,
                       reinterpret_cast<BYTE*>(value.bytes.data()), &size) != ERROR_SUCCESS)
    return value;
  value.bytes.resize(size);
  value.type = type;
  value.complete = true;
  return value;
}

void Win32Registry::SaveRaw(int32_t root, const std::string& subkey, const std::string& name,
                            uint32_t type, const std::string& bytes) {
  RegSetKeyValueA(RootKey(root), subkey.c_str(), name.c_str(), type, bytes.data(),
                  static_cast<DWORD>(bytes.size()));
}

}  // namespace gantrel
