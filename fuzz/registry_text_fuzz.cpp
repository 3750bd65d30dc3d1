// The text of a REG_SZ buffer: the part before the first NUL, never a NUL in it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "registry/registry_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view buffer(reinterpret_cast<const char*>(data), size);
  const std::string text = gantrel::CutAtFirstNul(buffer);
  if (text.find('\0') != std::string::npos) std::abort();
  if (buffer.substr(0, text.size()) != text) std::abort();
  if (text.size() < size && buffer[text.size()] != '\0') std::abort();
  return 0;
}
