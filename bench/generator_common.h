// What the bench's two project generators share: random numbers whose sequence is fixed
// by their seed on every platform (so the same arguments give the same bytes), the shape
// asked for on the command line, the file names and the include tree.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

/// A small generator whose sequence is fixed by its seed on every platform.
class Random {
 public:
  explicit Random(uint64_t seed) : state_(seed) {}
  /// A number in [0, count).
  uint64_t Below(uint64_t count) {
    state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
    return (state_ >> 33) % count;
  }
  /// True in `percent` of the calls.
  bool Chance(uint64_t percent) { return Below(100) < percent; }

 private:
  uint64_t state_;
};

/// The project asked for: its folder, about how many lines, its procedures and files.
struct Shape {
  std::string dir;
  size_t lines = 0;
  size_t procedures = 0;
  size_t files = 0;
  size_t variables = 0;  ///< lines that set a variable named "Procedure..."
};

/// The name of file `file`: main.pb for 0, else partN.pbi.
inline std::string FileName(size_t file) {
  return file == 0 ? "main.pb" : "part" + std::to_string(file) + ".pbi";
}

/// Files that `file` includes: the main file includes the first half, and each of those
/// some of the second half, so the include scan goes two levels deep.
inline std::vector<size_t> Includes(size_t file, size_t files) {
  const size_t first_level = files / 2;
  std::vector<size_t> included;
  for (size_t other = 1; other < files; ++other) {
    const bool by_main = other <= first_level;
    const size_t includer = by_main ? 0 : 1 + (other - first_level - 1) % first_level;
    if (includer == file) included.push_back(other);
  }
  return included;
}
