// The one place where paths are cut into their directory part and file-name part.
#pragma once

#include <string>
#include <string_view>

/// Text after the last "/" of `path`; all of it when it has none.
std::string_view FileNamePart(std::string_view path);

/// Text up to and including the last "/" of `path`; empty when it has none.
std::string_view DirectoryPart(std::string_view path);

/// `path` when it is absolute (starts with "/"), else `directory`, "/" and `path` joined as
/// they stand.
std::string AbsolutePath(std::string_view directory, std::string_view path);
