// The Search command's lookup. A stopped procedure lookup also returns 0, so the term
// search then runs in the same list after the rows that the lookup had added.
#include "listings/lookup.h"

#include "listings/procedure_calls.h"
#include "listings/term_search.h"

std::string WithoutTrailingParentheses(std::string_view text) {
  const size_t last = text.find_last_not_of('(');
  return std::string(text.substr(0, last == std::string_view::npos ? 0 : last + 1));
}

int32_t LookUpProcedureOrTerm(const Project& project, ListHistory& history, ListingHost& host,
                              std::string_view text) {
  if (text.empty()) return 0;
  const int32_t calls = ShowProcedureCalls(project, history, host, text);
  if (calls != 0) return calls;
  if (ResultList* list = history.Current()) {
    ListTermMatches(project, *list, host, WithoutTrailingParentheses(text));
  }
  return 0;
}
