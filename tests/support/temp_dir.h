#pragma once
// A fresh folder under the system's temporary folder, removed with the object.
#include <filesystem>
#include <random>
#include <string>

namespace kvf::test {

class TTempDir {
 public:
  TTempDir() {
    std::random_device rd;
    path_ = std::filesystem::temp_directory_path() / ("kvf_test_" + std::to_string(rd()) + std::to_string(rd()));
    std::filesystem::create_directories(path_);
  }
  ~TTempDir() {
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ec);
    std::filesystem::remove_all(path_, ec);
  }
  TTempDir(const TTempDir&) = delete;
  TTempDir& operator=(const TTempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::string str() const { return path_.string(); }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

}  // namespace kvf::test
