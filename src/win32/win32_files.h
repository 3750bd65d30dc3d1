#pragma once
#include "files.h"

namespace gantrel {

// Files and environment through kernel32's ANSI calls; no file stays open after a call.
class Win32Files : public Files {
 public:
  std::optional<std::string> ReadAll(const std::string& path) override;
  bool WriteNew(const std::string& path, std::string_view bytes) override;
  bool Replace(const std::string& from, const std::string& to) override;
  void Delete(const std::string& path) override;
  std::string Environ(const std::string& name) override;
};

}  // namespace gantrel
