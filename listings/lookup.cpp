// The Search command's lookup. A stopped procedure lookup counts as one that listed
// nothing, so the term search then runs in the same list after the rows it had added.
#include "listings/lookup.h"

#include "listings/procedure_calls.h"
#include "listings/term_search.h"

std::string WithoutTrailingParentheses(std::string_view text) {
  const size_t last = text.find_last_not_of('(');
  return std::string(text.substr(0, last == std::string_view::npos ? 0 : last + 1));
}

bool ListedNothing(const ListingResult& calls, const ResultList& list) {
  return WasStopped(calls) || list.RowCount() == 0;
}

ListingResult SearchTermsInstead(Project& project, ResultList& list, ListingHost& host,
                                 std::string_view term) {
  list.TakeOver(ListKind::Terms, term);
  return ListTermMatches(project, list, host, {std::string(term)});
}

ListingResult LookUpProcedureOrTerm(Project& project, ResultList& list, ListingHost& host,
                                    const ListingRequest& request) {
  const ListingResult calls = ListProcedureCalls(project, list, host, {list.Subject()});
  if (!ListedNothing(calls, list)) return calls;
  return SearchTermsInstead(project, list, host, WithoutTrailingParentheses(request.Text));
}
