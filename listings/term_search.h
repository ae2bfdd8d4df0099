// Term search: every line of the project in which a term occurs as a whole word outside
// strings and comments, with its use marker, its procedure and declaration shading.
#pragma once

#include <string_view>

#include "listings/listing_host.h"
#include "listings/project.h"
#include "listings/result_list.h"

/// The six prefixes that make a line inside a procedure a declaration line.
extern const std::string_view DeclarationKeywords[6];

/// The term search's row text of a line as read (leading blanks kept): leading tabs,
/// then blanks, then tabs removed.
std::string_view TermRowText(std::string_view raw_line);

/// True when `line` begins with a declaration keyword (with "Global" only, outside a
/// procedure).
bool IsDeclarationLine(bool in_procedure, std::string_view line);

/// Appends to `list`, a "Terms: " list, a row per line in which `term` occurs.
void ListTermMatches(const Project& project, ResultList& list, ListingHost& host,
                     std::string_view term);
