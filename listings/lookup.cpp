// The Search command's lookup. A stopped procedure lookup also returns 0, so the term
// search then runs in the same list after the rows that the lookup had added.
#include "listings/lookup.h"

#include "listings/procedure_calls.h"
#include "listings/term_search.h"

std::string WithoutTrailingParentheses(std::string_view text) {
  const size_t last = text.find_last_not_of('(');
  return std::string(text.substr(0, last == std::string_view::npos ? 0 : last + 1));
}

void SearchTermsInstead(const Project& project, ResultList& list, ListingHost& host,
                        std::string_view term) {
  list.TakeOver(ListKind::Terms, term);
  ListTermMatches(project, list, host, term);
}

int32_t LookUpProcedureOrTerm(const Project& project, ResultList& list, ListingHost& host,
                              std::string_view text) {
  const int32_t calls = ListProcedureCalls(project, list, host, list.Subject());
  if (calls == 0) SearchTermsInstead(project, list, host, WithoutTrailingParentheses(text));
  return calls;
}
