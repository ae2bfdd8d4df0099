// What both programs say about themselves on the command line: the options that ask for the
// help or the version instead of a run, and the version line.
#pragma once

#include <string>
#include <string_view>

/// The version both programs show: the build's version number followed by the "ß" that
/// marks it as a beta, as ISO-8859-15 bytes like every literal of the program.
inline constexpr char ProgramVersion[] = PBST_VERSION "\xDF";

/// What an argument asks for instead of a run.
enum class InformationRequest { None, Help, Version };

/// Help for "-h" and "--help", Version for "-V" and "--version", None for anything else.
InformationRequest RequestedInformation(std::string_view argument);

/// "`program` 0.20ß" and a line feed, in UTF-8.
std::string VersionLine(std::string_view program);
