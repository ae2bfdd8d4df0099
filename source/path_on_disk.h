// Paths written for Windows, found on a Linux disk: a path that names nothing as written is
// tried with "\" turned into "/", then with its missing components matched against their
// folders' entries ignoring ASCII letter case.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

/// The folders read while one run looks paths up, each read at most once, so that a folder
/// of many entries costs one listing however many paths pass through it.
class FolderListings {
 public:
  /// The entry of `folder` whose name equals `name` ignoring ASCII letter case, the first
  /// such entry in byte order; null when there is none or the folder cannot be read.
  const std::string* CaseFoldMatch(const std::string& folder, std::string_view name);

 private:
  /// Per folder: each name folded to lower case, with the first entry in byte order that folds to it.
  std::unordered_map<std::string, std::unordered_map<std::string, std::string>> folded_;
};

/// What a looked-up path must name.
enum class PathKind { File, Folder };

/// `path` when it names an existing `kind` as written; else the first of these that does:
/// `path` with every "\" turned into "/", then that path with each component that does not
/// exist matched ignoring ASCII letter case (the first match, never going back). Nothing
/// when none does.
std::optional<std::string> FindOnDisk(const std::string& path, PathKind kind,
                                      FolderListings& listings);

/// As `FindOnDisk`, but `path` as written when nothing is found.
std::string PathOnDisk(const std::string& path, PathKind kind, FolderListings& listings);
