#include "registry/win32_registry.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "registry/registry_text.h"

namespace gantrel {

namespace {

// An open registry key, closed when it goes out of scope.
class RegKey {
 public:
  RegKey() = default;
  explicit RegKey(HKEY key) : key_(key) {}
  RegKey(const RegKey&) = delete;
  RegKey& operator=(const RegKey&) = delete;
  RegKey(RegKey&& other) noexcept : key_(std::exchange(other.key_, nullptr)) {}
  RegKey& operator=(RegKey&& other) noexcept {
    if (this != &other) {
      Close();
      key_ = std::exchange(other.key_, nullptr);
    }
    return *this;
  }
  ~RegKey() { Close(); }

  HKEY Get() const { return key_; }
  explicit operator bool() const { return key_ != nullptr; }

 private:
  void Close() {
    if (key_) RegCloseKey(std::exchange(key_, nullptr));
  }
  HKEY key_ = nullptr;
};

// Root keys travel as the predefined handles' signed 32-bit values; widened with their sign, as
// the predefined handles are on 64-bit Windows.
HKEY RootKey(int32_t root) { return reinterpret_cast<HKEY>(static_cast<LONG_PTR>(root)); }

RegKey OpenKey(int32_t root, const std::string& subkey) {
  HKEY key = nullptr;
  if (RegOpenKeyA(RootKey(root), subkey.c_str(), &key) != ERROR_SUCCESS) return {};
  return RegKey(key);
}

// Opens the key, creating it and any missing parents.
RegKey CreateKey(int32_t root, const std::string& subkey) {
  HKEY key = nullptr;
  if (RegCreateKeyA(RootKey(root), subkey.c_str(), &key) != ERROR_SUCCESS) return {};
  return RegKey(key);
}

}  // namespace

std::string Win32Registry::GetString(int32_t root, const std::string& subkey,
                                     const std::string& name) {
  const RegKey key = OpenKey(root, subkey);
  if (!key) return {};

  // Size first, then the data.
  DWORD type = 0;
  DWORD size = 0;
  RegQueryValueExA(key.Get(), name.c_str(), nullptr, &type, nullptr, &size);
  if (type != REG_SZ) return {};
  // A text this large is no server list or folder; reading it could exhaust the 32-bit process.
  constexpr DWORD kMaxTextBytes = 64u << 20;
  if (size > kMaxTextBytes) return {};

  std::string buffer(size, ' ');
  DWORD got = size;
  DWORD ignored = 0;
  if (RegQueryValueExA(key.Get(), name.c_str(), nullptr, &ignored,
                       reinterpret_cast<BYTE*>(buffer.data()), &got) != ERROR_SUCCESS) {
    return {};
  }
  // Only what the second read wrote counts (the value may have shrunk in between).
  if (got < buffer.size()) buffer.resize(got);
  return CutAtFirstNul(buffer);
}

void Win32Registry::SaveString(int32_t root, const std::string& subkey, const std::string& name,
                               const std::string& text) {
  const RegKey key = CreateKey(root, subkey);
  if (!key) return;
  // The value holds exactly the text's bytes, with no NUL. The system adds a NUL of its own when
  // the byte after the counted data is a NUL, so the bytes go from a copy followed by a non-NUL.
  std::vector<BYTE> data(text.begin(), text.end());
  data.push_back(0xFF);
  RegSetValueExA(key.Get(), name.c_str(), 0, REG_SZ, data.data(), static_cast<DWORD>(text.size()));
}

int32_t Win32Registry::GetDWord(int32_t root, const std::string& subkey, const std::string& name) {
  const RegKey key = OpenKey(root, subkey);
  if (!key) return 0;
  DWORD type = 0;
  BYTE data[4] = {0, 0, 0, 0};
  DWORD size = sizeof data;
  if (RegQueryValueExA(key.Get(), name.c_str(), nullptr, &type, data, &size) != ERROR_SUCCESS ||
      type != REG_DWORD) {
    return 0;
  }
  const uint32_t value = static_cast<uint32_t>(data[0]) | static_cast<uint32_t>(data[1]) << 8 |
                         static_cast<uint32_t>(data[2]) << 16 | static_cast<uint32_t>(data[3]) << 24;
  return static_cast<int32_t>(value);
}

void Win32Registry::SaveDWord(int32_t root, const std::string& subkey, const std::string& name,
                              int32_t value) {
  const RegKey key = CreateKey(root, subkey);
  if (!key) return;
  const uint32_t bits = static_cast<uint32_t>(value);
  const BYTE data[4] = {static_cast<BYTE>(bits), static_cast<BYTE>(bits >> 8),
                        static_cast<BYTE>(bits >> 16), static_cast<BYTE>(bits >> 24)};
  RegSetValueExA(key.Get(), name.c_str(), 0, REG_DWORD, data, sizeof data);
}

}  // namespace gantrel
