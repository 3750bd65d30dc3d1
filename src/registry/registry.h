#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace gantrel {

// Root keys are the predefined handles' 32-bit values.
constexpr int32_t kHkeyLocalMachine = static_cast<int32_t>(0x80000002u);

// The four registry operations. Reads that cannot be done give "" or 0; writes that cannot be
// done are lost silently. No key handle outlives a call.
class Registry {
 public:
  virtual ~Registry() = default;
  virtual std::string GetString(int32_t root, const std::string& subkey, const std::string& name) = 0;
  virtual void SaveString(int32_t root, const std::string& subkey, const std::string& name,
                          const std::string& text) = 0;
  virtual int32_t GetDWord(int32_t root, const std::string& subkey, const std::string& name) = 0;
  virtual void SaveDWord(int32_t root, const std::string& subkey, const std::string& name,
                         int32_t value) = 0;
};

}  // namespace gantrel
