#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace gantrel {

// The few file and environment chores of the program.
class Files {
 public:
  virtual ~Files() = default;
  // The whole file, or nothing when it is missing or cannot be read.
  virtual std::optional<std::string> ReadAll(const std::string& path) = 0;
  // Creates (or empties) the file, writes all bytes and flushes them to disk. False on any failure,
  // after which the file may hold part of the bytes.
  virtual bool WriteNew(const std::string& path, std::string_view bytes) = 0;
  // Moves `from` over `to` in one step, replacing it. False when it cannot.
  virtual bool Replace(const std::string& from, const std::string& to) = 0;
  // Deletes the file if it can.
  virtual void Delete(const std::string& path) = 0;
  // The environment variable; empty when it is not set.
  virtual std::string Environ(const std::string& name) = 0;
};

}  // namespace gantrel
