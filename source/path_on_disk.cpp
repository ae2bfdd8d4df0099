#include "source/path_on_disk.h"

#include <climits>
#include <vector>

#include "source/file_system.h"

namespace {

char FoldedByte(char byte) { return byte >= 'A' && byte <= 'Z' ? static_cast<char>(byte + 32) : byte; }

std::string Folded(std::string_view text) {
  std::string folded(text);
  for (char& byte : folded) byte = FoldedByte(byte);
  return folded;
}

bool IsKind(const std::string& path, PathKind kind) {
  return kind == PathKind::File ? IsRegularFile(path) : IsFolder(path);
}

// Components that name the same folder in any letter case.
bool KeptAsWritten(std::string_view component) {
  return component.empty() || component == "." || component == "..";
}

// `path` ("/" separated) with each component that does not exist looked up in its folder
// ignoring letter case; nothing when one has no match.
std::optional<std::string> MatchComponents(const std::string& path, FolderListings& listings) {
  std::string found;
  size_t start = 0;
  for (;;) {
    const size_t slash = path.find('/', start);
    const std::string_view component =
        std::string_view(path).substr(start, slash == std::string::npos ? std::string::npos : slash - start);
    const size_t written = found.size();
    found += component;
    if (!KeptAsWritten(component) && !PathExists(found)) {
      const std::string* match = listings.CaseFoldMatch(written == 0 ? "." : found.substr(0, written), component);
      if (match == nullptr) return std::nullopt;
      found.replace(written, std::string::npos, *match);
    }
    if (slash == std::string::npos) return found;
    found += '/';
    start = slash + 1;
  }
}

}  // namespace

const std::string* FolderListings::CaseFoldMatch(const std::string& folder, std::string_view name) {
  auto listing = folded_.find(folder);
  if (listing == folded_.end()) {
    std::unordered_map<std::string, std::string> names;
    for (std::string& entry : FolderEntries(folder).value_or(std::vector<std::string>())) {
      std::string& first = names[Folded(entry)];
      if (first.empty() || entry < first) first = std::move(entry);
    }
    listing = folded_.emplace(folder, std::move(names)).first;
  }
  const auto match = listing->second.find(Folded(name));
  return match == listing->second.end() ? nullptr : &match->second;
}

std::optional<std::string> FindOnDisk(const std::string& path, PathKind kind,
                                      FolderListings& listings) {
  if (IsKind(path, kind)) return path;
  std::string forward = path;
  for (char& byte : forward) {
    if (byte == '\\') byte = '/';
  }
  if (forward != path && IsKind(forward, kind)) return forward;
  // The system opens no longer path; its folders are not worth a listing.
  if (forward.size() >= PATH_MAX) return std::nullopt;
  std::optional<std::string> found = MatchComponents(forward, listings);
  if (found && IsKind(*found, kind)) return found;
  return std::nullopt;
}

std::string PathOnDisk(const std::string& path, PathKind kind, FolderListings& listings) {
  std::optional<std::string> found = FindOnDisk(path, kind, listings);
  return found ? std::move(*found) : path;
}
