#include "app/commands.h"

#include <string_view>

#include "app/dialogs.h"
#include "app/jump_to_line.h"
#include "app/main_window.h"
#include "listings/all_procedure_calls.h"
#include "listings/lookup.h"
#include "listings/procedure_calls.h"
#include "listings/take_up.h"
#include "listings/term_search.h"

namespace {

// Lists the calls of procedure `name` in a new list. The list is on screen and named in the
// selector before anything else happens, so a term search that takes it over afterwards
// leaves the selector's entry as the lookup made it.
int32_t ListProcedureCallsOf(MainWindow& window, std::string_view name) {
  return window.RunListing([&] {
    return ShowProcedureCalls(window.TakenUp(), window.Lists().History(), window, name);
  });
}

// The term search in the list that the procedure lookup has just opened.
void SearchTermInCurrentList(MainWindow& window, std::string_view term) {
  ResultList* list = window.Lists().History().Current();
  if (list == nullptr) return;
  window.RunListing([&] { ListTermMatches(window.TakenUp(), *list, window, term); });
}

}  // namespace

void RunSearch(MainWindow& window) {
  std::string& term = window.SearchTerm();
  term = AskText(window.Window(), "Suche Term: ", term);
  if (term.empty()) return;
  if (ListProcedureCallsOf(window, term) != 0) return;
  // The next input is preset with what is searched as a term.
  term = WithoutTrailingParentheses(term);
  SearchTermInCurrentList(window, term);
}

void RunAllProcCalls(MainWindow& window) {
  ResultLists& lists = window.Lists();
  ResultList& list = lists.OpenResultList("", "All Procedure-Calls...");
  lists.RefreshListSelector();
  window.RunListing([&] { return ListAllProcedureCalls(window.TakenUp(), list, window); });
}

void RunBack(MainWindow& window) {
  ResultLists& lists = window.Lists();
  if (lists.History().CurrentIndex() <= 0) return;
  lists.CloseCurrentResultList();
  lists.RefreshListSelector();
  lists.ShowCurrent();
  // The first list may have missed size changes while it was hidden.
  if (lists.History().CurrentIndex() == 0) window.PostSizeEvent();
}

void RunOpen(MainWindow& window) {
  const std::string main_file = ChooseMainFile(window.Window());
  if (main_file.empty()) return;
  ResultLists& lists = window.Lists();
  lists.CloseAll();
  lists.OpenResultList("", "Procedures");
  TakeUpMainFile(window, main_file);
}

void RunJumpToLine(MainWindow& window) {
  const ResultList* current = window.Lists().History().Current();
  if (current != nullptr) JumpToLine(*current, window.TakenUp().SourceFiles);
}

void ShowSelectedList(MainWindow& window, int index) { window.Lists().ShowEntry(index); }

void ListCallsOfSelectedRow(MainWindow& window) {
  window.RunListing([&] {
    return ShowProcedureCalls(window.TakenUp(), window.Lists().History(), window, "");
  });
}

void TakeUpMainFile(MainWindow& window, const std::string& main_file) {
  ResultLists& lists = window.Lists();
  ResultList& procedures = *lists.History().Current();
  window.RunListing([&] { TakeUpProject(window.TakenUp(), main_file, procedures, window); });
  lists.RefreshListSelector();
}

void RunStartUpLookup(MainWindow& window, const std::string& start_term) {
  if (start_term == "(") return;
  if (ListProcedureCallsOf(window, start_term) != 0) return;
  ShowMessage(window.Window(), "Procedure '" + start_term + "' not found!\nSearch for terms...");
  const std::string term = WithoutTrailingParentheses(start_term);
  if (!term.empty()) SearchTermInCurrentList(window, term);
}
