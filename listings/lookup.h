// The lookup of the Search command: a text is first tried as a procedure name, and when
// that lists nothing it is searched as a term in the list that the attempt opened.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "listings/listing.h"
#include "listings/listing_host.h"
#include "listings/project.h"
#include "listings/result_list.h"

/// `text` without its trailing "(" characters.
std::string WithoutTrailingParentheses(std::string_view text);

/// True when the calls of a procedure listed nothing in `list`, which was opened for
/// them: no row, or a stop (the term search then goes on after the rows found so far).
bool ListedNothing(const ListingResult& calls, const ResultList& list);

/// The lookup's second step: hands `list`, the "Proc: " list of a lookup that listed
/// nothing, over to the term search for `term` and fills it.
ListingResult SearchTermsInstead(Project& project, ResultList& list, ListingHost& host,
                                 std::string_view term);

/// Both steps for a non-empty request `Text` in `list`, which the caller opened as the
/// "Proc: " list of `ProcedureToList(project, nullptr, text)`: the calls of that
/// procedure; when they listed nothing, `SearchTermsInstead` for the text less its
/// trailing "(" (even when nothing is left). Returns the result of the last step.
ListingResult LookUpProcedureOrTerm(Project& project, ResultList& list, ListingHost& host,
                                    const ListingRequest& request);
