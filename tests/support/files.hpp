// Temporary directories and whole-file helpers for the tests.
#pragma once

#include <string>
#include <string_view>

namespace sarnik::test {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  // path()/name
  std::string file(std::string_view name) const;
  // Writes bytes to path()/name and returns that path.
  std::string write(std::string_view name, std::string_view bytes) const;

 private:
  std::string path_;
};

std::string read_file(const std::string& path);
bool file_exists(const std::string& path);

}  // namespace sarnik::test
