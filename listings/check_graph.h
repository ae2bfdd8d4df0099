// The first steps of every check: the project's text read and its call graph built, and,
// when the user stops them, the row that says how far the check got, so that a stopped
// check does not read like one that found nothing.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "listings/call_graph.h"
#include "listings/listing.h"
#include "listings/project.h"
#include "listings/project_text.h"
#include "listings/result_list.h"

/// Reads `project` into `text` and builds `graph` over it (of the bodies of `callers`
/// only, when not nullptr); the text and the whole graph of the last check are used again
/// while each file is still the buffer the text holds. On a stop, appends to `list` an
/// empty row and the row "stopped while reading the files: N of M read" or "stopped while
/// finding the calls: every file read", and returns Stopped.
ListingEnd ReadCheckGraph(Project& project, std::shared_ptr<const ProjectText>& text,
                          std::shared_ptr<const CallGraph>& graph, ResultList& list,
                          ListingHost& host, const std::vector<int32_t>* callers = nullptr);

/// Appends the rows of a check stopped after its graph was built: an empty row and
/// "stopped while " + `step`.
void AddStoppedRows(ResultList& list, const std::string& step);
