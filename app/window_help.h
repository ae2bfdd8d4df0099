// What `pb-sourcetrek --help` and `--version` print. They are answered before the toolkit
// starts, so they work without a display and open no window.
#pragma once

#include <ostream>
#include <string>
#include <vector>

/// The help: how to call the program, its arguments and options, and its use from the IDE.
std::string WindowHelp();

/// When the first of `arguments` (program name left out) asks for the help or the version,
/// prints it to `out` and returns true; otherwise prints nothing and returns false.
bool AnswerInformationRequest(const std::vector<std::string>& arguments, std::ostream& out);

/// When the first of `arguments` is an option that the program does not know (it begins
/// with "-" and is more than "-"; the toolkit's own were taken out before), prints the
/// usage error to `err` and returns true; the other arguments are texts, never options.
bool RefuseUnknownOption(const std::vector<std::string>& arguments, std::ostream& err);
