#include "source/path_parts.h"

std::string_view FileNamePart(std::string_view path) {
  const size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string_view DirectoryPart(std::string_view path) {
  const size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? std::string_view() : path.substr(0, slash + 1);
}

std::string AbsolutePath(std::string_view directory, std::string_view path) {
  if (!path.empty() && path.front() == '/') return std::string(path);
  std::string absolute(directory);
  absolute += '/';
  absolute += path;
  return absolute;
}
