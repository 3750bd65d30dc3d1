#pragma once
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "private_list/files.h"

namespace gantrel::testing {

// Files and environment in memory, with faults to inject.
class FakeFiles : public Files {
 public:
  std::optional<std::string> ReadAll(const std::string& path) override {
    auto it = files.find(path);
    if (it == files.end() || unreadable.count(path)) return std::nullopt;
    return it->second;
  }
  bool WriteNew(const std::string& path, std::string_view bytes) override {
    written.push_back(path);
    if (failCreate) return false;
    if (failWriteAfter >= 0 && static_cast<size_t>(failWriteAfter) < bytes.size()) {
      files[path] = std::string(bytes.substr(0, static_cast<size_t>(failWriteAfter)));
      return false;
    }
    files[path] = std::string(bytes);
    return !failFlush;
  }
  bool Replace(const std::string& from, const std::string& to) override {
    if (failReplace) return false;
    auto it = files.find(from);
    if (it == files.end()) return false;
    files[to] = it->second;
    files.erase(it);
    return true;
  }
  bool Delete(const std::string& path) override {
    deleted.push_back(path);
    return files.erase(path) > 0;
  }
  std::optional<std::string> Environ(const std::string& name) override {
    auto it = env.find(name);
    if (it == env.end()) return std::nullopt;
    return it->second;
  }

  std::map<std::string, std::string> files;
  std::set<std::string> unreadable;
  std::map<std::string, std::string> env;
  std::vector<std::string> written;
  std::vector<std::string> deleted;
  bool failCreate = false;
  int failWriteAfter = -1;  // write this many bytes, then fail
  bool failFlush = false;
  bool failReplace = false;
};

}  // namespace gantrel::testing
