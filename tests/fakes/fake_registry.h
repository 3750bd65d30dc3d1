#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <tuple>
#include <variant>

#include "registry/registry.h"

namespace gantrel::testing {

// Registry in memory: text and DWORD values by (subkey, name); another type reads as absent.
class FakeRegistry : public Registry {
 public:
  struct Other {};  // a value of some other type (REG_BINARY, REG_EXPAND_SZ, ...)
  using Value = std::variant<std::string, int32_t, Other>;
  using Key = std::pair<std::string, std::string>;

  std::string GetString(int32_t root, const std::string& subkey, const std::string& name) override {
    if (root != kHkeyLocalMachine) return "";
    auto it = values.find({subkey, name});
    if (it == values.end()) return "";
    const auto* s = std::get_if<std::string>(&it->second);
    return s ? *s : "";
  }
  void SaveString(int32_t root, const std::string& subkey, const std::string& name,
                  const std::string& text) override {
    ++writes;
    if (root == kHkeyLocalMachine && !readOnly) values[{subkey, name}] = text;
  }
  int32_t GetDWord(int32_t root, const std::string& subkey, const std::string& name) override {
    if (root != kHkeyLocalMachine) return 0;
    auto it = values.find({subkey, name});
    if (it == values.end()) return 0;
    const auto* d = std::get_if<int32_t>(&it->second);
    return d ? *d : 0;
  }
  void SaveDWord(int32_t root, const std::string& subkey, const std::string& name,
                 int32_t value) override {
    ++writes;
    if (root == kHkeyLocalMachine && !readOnly) values[{subkey, name}] = value;
  }

  std::map<Key, Value> values;
  bool readOnly = false;  // a refused write: the old value stays
  int writes = 0;
};

}  // namespace gantrel::testing
