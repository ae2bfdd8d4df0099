// The file URIs of the protocol and the paths they stand for.
#pragma once

#include <optional>
#include <string>
#include <string_view>

/// The path of a "file://" URI, percent escapes decoded; nullopt for another scheme, a
/// remote host or a path that is not absolute.
std::optional<std::string> PathOfUri(std::string_view uri);

/// The "file://" URI of the absolute path `path`, every byte but unreserved ones and "/"
/// percent-escaped.
std::string UriOfPath(std::string_view path);
