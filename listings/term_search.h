// Term search: every line of the project in which a term occurs as a whole word outside
// strings and comments, with its use marker, its procedure and declaration shading.
#pragma once

#include <string_view>

#include "listings/listing.h"
#include "listings/listing_host.h"
#include "listings/project.h"
#include "listings/result_list.h"

/// The term search's row text of a line as read (leading blanks kept): leading tabs,
/// then blanks, then tabs removed.
std::string_view TermRowText(std::string_view raw_line);

/// Appends to `list`, a "Terms: " list, a row per line in which the request's `Text`
/// occurs.
ListingResult ListTermMatches(Project& project, ResultList& list, ListingHost& host,
                              const ListingRequest& request);
