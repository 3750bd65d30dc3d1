#pragma once
#include "registry.h"

namespace gantrel {

// The registry over advapi32's ANSI calls. Each call opens its key (a write makes it as needed),
// uses it once and closes it before returning.
class Win32Registry : public Registry {
 public:
  std::string GetString(int32_t root, const std::string& subkey, const std::string& name) override;
  void SaveString(int32_t root, const std::string& subkey, const std::string& name,
                  const std::string& text) override;
  int32_t GetDWord(int32_t root, const std::string& subkey, const std::string& name) override;
  void SaveDWord(int32_t root, const std::string& subkey, const std::string& name,
                 int32_t value) override;
  RawValue GetRaw(int32_t root, const std::string& subkey, const std::string& name,
                  uint32_t maxBytes) override;
  void SaveRaw(int32_t root, const std::string& subkey, const std::string& name, uint32_t type,
               const std::string& bytes) override;
};

}  // namespace gantrel
