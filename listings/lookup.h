// The lookup of the Search command: a text is first tried as a procedure name, and when
// that lists nothing it is searched as a term in the list that the attempt opened.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "listings/list_history.h"
#include "listings/listing_host.h"
#include "listings/project.h"

/// `text` without its trailing "(" characters.
std::string WithoutTrailingParentheses(std::string_view text);

/// Runs `ShowProcedureCalls` for `text`; when it returns 0, runs `ListTermMatches` for
/// `text` less its trailing "(" (even when nothing is left) in the current list. Does
/// nothing for an empty `text`. Returns the result of `ShowProcedureCalls`.
int32_t LookUpProcedureOrTerm(const Project& project, ListHistory& history, ListingHost& host,
                              std::string_view text);
