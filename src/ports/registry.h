#pragma once
#include <cstdint>
#include <string>

namespace gantrel {

// Root keys are the predefined handles' 32-bit values.
constexpr int32_t kHkeyCurrentUser = static_cast<int32_t>(0x80000001u);
constexpr int32_t kHkeyLocalMachine = static_cast<int32_t>(0x80000002u);

// Value types, as the registry numbers them.
constexpr uint32_t kRegBinary = 3;
constexpr uint32_t kRegMultiSz = 7;

// A value read whole: its type and bytes. `found` is false only when the key or the value is
// not there; `complete` is false when it is there but could not be read in full (too large,
// access refused), so that nobody mistakes it for a missing one.
struct RawValue {
  bool found = false;
  bool complete = false;
  uint32_t type = 0;
  std::string bytes;
  bool operator==(const RawValue&) const = default;
};

// The registry. Text and number reads that cannot be done give "" or 0; writes that cannot be
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
  // Any value with its type, if it holds at most `maxBytes` bytes.
  virtual RawValue GetRaw(int32_t root, const std::string& subkey, const std::string& name,
                          uint32_t maxBytes) = 0;
  virtual void SaveRaw(int32_t root, const std::string& subkey, const std::string& name,
                       uint32_t type, const std::string& bytes) = 0;
};

}  // namespace gantrel
