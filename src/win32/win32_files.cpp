#include "win32_files.h"

#include <algorithm>
#include <cstddef>
#include <exception>

#include "win32_handle.h"

namespace gantrel {

namespace {

// Reads and writes go in pieces that a DWORD count always holds.
constexpr DWORD kChunk = 1 << 20;

}  // namespace

std::optional<std::string> Win32Files::ReadAll(const std::string& path) {
  UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  // Read to the end rather than trusting a size taken beforehand; a file too big for memory
  // reads as unreadable, as does one that did not open (ReadFile fails on that handle).
  try {
    std::string bytes;
    for (;;) {
      const std::size_t at = bytes.size();
      bytes.resize(at + kChunk);
      DWORD got{};
      if (!ReadFile(file.Get(), bytes.data() + at, kChunk, &got, nullptr)) return std::nullopt;
      bytes.resize(at + got);
      if (got == 0) return bytes;
    }
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

bool Win32Files::WriteNew(const std::string& path, std::string_view bytes) {
  UniqueFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  // A file that did not open fails at WriteFile, or at FlushFileBuffers when there is nothing.
  while (!bytes.empty()) {
    const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), kChunk));
    DWORD written{};
    // A disk file takes the whole piece or fails.
    if (!WriteFile(file.Get(), bytes.data(), piece, &written, nullptr)) return false;
    bytes.remove_prefix(written);
  }
  // Flushed and closed before it may replace the saved list.
  if (!FlushFileBuffers(file.Get())) return false;
  return file.Close();
}

bool Win32Files::Replace(const std::string& from, const std::string& to) {
  return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) !=
         0;
}

void Win32Files::Delete(const std::string& path) { DeleteFileA(path.c_str()); }

std::string Win32Files::Environ(const std::string& name) {
  // A value that does not fit gives the size it needs (it may grow in between): ask until it fits.
  std::string value;
  const auto get = [&] {
    return GetEnvironmentVariableA(name.c_str(), value.data(), static_cast<DWORD>(value.size()));
  };
  for (DWORD need = get(); need > value.size(); need = get()) value.assign(need, '\0');
  return value.c_str();
}

}  // namespace gantrel
