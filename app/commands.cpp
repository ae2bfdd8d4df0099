#include "app/commands.h"

#include "app/dialogs.h"
#include "app/jump_to_line.h"
#include "app/main_window.h"
#include "listings/all_procedure_calls.h"
#include "listings/lookup.h"
#include "listings/procedure_calls.h"
#include "listings/take_up.h"
#include "listings/term_search.h"

void RunSearch(MainWindow& window) {
  std::string& term = window.SearchTerm();
  term = AskText(window.Window(), "Suche Term: ", term);
  if (term.empty()) return;
  ListHistory& history = window.Lists().History();
  const int32_t listed = window.RunListing(
      [&] { return LookUpProcedureOrTerm(window.TakenUp(), history, window, term); });
  // The next input is preset with what was searched as a term.
  if (listed == 0) term = WithoutTrailingParentheses(term);
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
  ListHistory& history = window.Lists().History();
  const int32_t listed = window.RunListing(
      [&] { return ShowProcedureCalls(window.TakenUp(), history, window, start_term); });
  if (listed != 0) return;
  window.Lists().Sync();
  ShowMessage(window.Window(), "Procedure '" + start_term + "' not found!\nSearch for terms...");
  const std::string term = WithoutTrailingParentheses(start_term);
  if (term.empty() || history.Current() == nullptr) return;
  window.RunListing([&] { ListTermMatches(window.TakenUp(), *history.Current(), window, term); });
}
