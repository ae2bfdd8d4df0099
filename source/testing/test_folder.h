// Test helper: a temporary folder under /tmp with real files, removed with all its
// content when the helper goes out of scope. Header-only; used by the tests alone.
#pragma once

#include <ftw.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <string_view>

class TestFolder {
 public:
  /// A new folder under `base`; /dev/shm, where there is one, makes many small files fast.
  explicit TestFolder(const std::string& base = "/tmp") {
    std::string pattern = base + "/pbst-test-XXXXXX";
    const char* made = ::mkdtemp(&pattern[0]);
    path_ = made != nullptr ? std::string(made) + "/" : std::string();
  }
  TestFolder(const TestFolder&) = delete;
  TestFolder& operator=(const TestFolder&) = delete;
  ~TestFolder() {
    if (!path_.empty()) {
      ::nftw(path_.c_str(), RemoveOne, 16, FTW_DEPTH | FTW_PHYS);
    }
  }

  /// The folder's absolute path, ending in "/"; empty when it could not be made.
  const std::string& Path() const { return path_; }

  /// Writes `bytes` to the file `name` (which may hold subfolders that exist) and returns
  /// its absolute path.
  std::string Write(std::string_view name, std::string_view bytes) const {
    const std::string file = path_ + std::string(name);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return file;
  }

  /// Makes the subfolder `name` and returns its absolute path with a trailing "/".
  std::string MakeFolder(std::string_view name) const {
    const std::string folder = path_ + std::string(name);
    ::mkdir(folder.c_str(), 0700);
    return folder + "/";
  }

 private:
  static int RemoveOne(const char* path, const struct stat*, int, struct FTW*) {
    ::remove(path);
    return 0;
  }

  std::string path_;
};
