#pragma once
#include <windows.h>

#include "registry/registry.h"

namespace gantrel {

// The four registry operations over advapi32's ANSI calls. Each call opens or creates its key,
// uses it once and closes it before returning.
class Win32Registry : public Registry {
 public:
  std::string GetString(int32_t root, const std::string& subkey, const std::string& name) override;
  void SaveString(int32_t root, const std::string& subkey, const std::string& name,
                  const std::string& text) override;
  int32_t GetDWord(int32_t root, const std::string& subkey, const std::string& name) override;
  void SaveDWord(int32_t root, const std::string& subkey, const std::string& name,
                 int32_t value) override;
};

}  // namespace gantrel
