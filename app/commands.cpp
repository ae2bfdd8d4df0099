#include "app/commands.h"

#include <string_view>

#include "app/about_dialog.h"
#include "app/dialogs.h"
#include "app/jump_to_line.h"
#include "app/main_file_choice.h"
#include "listings/all_procedure_calls.h"
#include "listings/callees.h"
#include "listings/declare_check.h"
#include "listings/list_text.h"
#include "listings/lookup.h"
#include "listings/procedure_calls.h"
#include "listings/take_up.h"
#include "listings/unused.h"
#include "source/path_parts.h"

namespace {

/// A listing of one procedure: fills the list opened for `procedure` (only the one without
/// module when `without_module`); returns its result.
using ProcedureListing = int32_t (*)(const Project& project, ResultList& list, ListingHost& host,
                                     std::string_view procedure, bool without_module);

// Opens a list of `kind` for the procedure that `name` gives (the selected row's for an
// empty name) and has `listing` fill it; 0 when no procedure can be taken from the text.
// The list is on screen and named in the selector before its rows come, so a term search
// that takes it over afterwards leaves the selector's entry as the lookup made it.
int32_t ListProcedureOf(CommandContext& context, std::string_view name, ListKind kind,
                        ProcedureListing listing) {
  ResultLists& lists = context.Lists();
  int32_t rows = 0;
  context.RunListing([&] {
    const std::optional<ProcedureChoice> procedure =
        ProcedureToList(context.TakenUp(), lists.History().Current(), name);
    if (!procedure) return;
    ResultList& list = lists.OpenResultList(kind, procedure->Name);
    lists.RefreshListSelector();
    rows = listing(context.TakenUp(), list, context.Host(), procedure->Name,
                   procedure->WithoutModule);
  });
  return rows;
}

int32_t ListProcedureCallsOf(CommandContext& context, std::string_view name) {
  return ListProcedureOf(context, name, ListKind::ProcedureCalls, ListProcedureCalls);
}

// The term search in the list that the procedure lookup has just opened.
void SearchTermInCurrentList(CommandContext& context, std::string_view term) {
  ResultList* list = context.Lists().History().Current();
  if (list == nullptr) return;
  context.RunListing([&] { SearchTermsInstead(context.TakenUp(), *list, context.Host(), term); });
}

}  // namespace

void RunSearch(CommandContext& context) {
  const std::string term = AskText(context.Window(), "Suche Term: ", context.SearchTerm());
  context.SetSearchTerm(term);
  if (term.empty()) return;
  if (ListProcedureCallsOf(context, term) != 0) return;
  // The next input is preset with what is searched as a term.
  context.SetSearchTerm(WithoutTrailingParentheses(term));
  SearchTermInCurrentList(context, context.SearchTerm());
}

void RunAllProcCalls(CommandContext& context) {
  ResultLists& lists = context.Lists();
  ResultList& list = lists.OpenResultList(ListKind::AllProcedureCalls, "All Procedure-Calls...");
  lists.RefreshListSelector();
  context.RunListing([&] { ListAllProcedureCalls(context.TakenUp(), list, context.Host()); });
}

void RunUnused(CommandContext& context) {
  ResultLists& lists = context.Lists();
  ResultList& list = lists.OpenResultList(ListKind::Unused, "Unused");
  lists.RefreshListSelector();
  context.RunListing([&] { ListUnused(context.TakenUp(), list, context.Host()); });
}

// The window shows the findings; the Declares to add are for the report tool's --fix.
void RunDeclareCheck(CommandContext& context) {
  ResultLists& lists = context.Lists();
  ResultList& list = lists.OpenResultList(ListKind::DeclareCheck, "Declare check");
  lists.RefreshListSelector();
  DeclareCandidates missing;
  context.RunListing([&] { ListDeclareCheck(context.TakenUp(), list, context.Host(), missing); });
}

void RunBack(CommandContext& context) {
  ResultLists& lists = context.Lists();
  if (lists.History().CurrentIndex() <= 0) return;
  lists.CloseCurrentResultList();
  lists.RefreshListSelector();
  lists.ShowCurrent();
  // The first list may have missed size changes while it was hidden.
  if (lists.History().CurrentIndex() == 0) context.PostSizeEvent();
}

void RunOpen(CommandContext& context) {
  const std::string main_file = MainFileToTakeUp(
      context.Window(), "", std::string(DirectoryPart(context.TakenUp().MainFile)));
  if (main_file.empty()) return;
  ResultLists& lists = context.Lists();
  lists.CloseAll();
  lists.OpenResultList(ListKind::Procedures, "Procedures");
  TakeUpMainFile(context, main_file);
}

void RunJumpToLine(CommandContext& context) {
  const ResultList* current = context.Lists().History().Current();
  if (current != nullptr) JumpToLine(*current, context.TakenUp().SourceFiles);
}

void RunAbout(CommandContext& context) { ShowAbout(context.Window()); }

void ShowSelectedList(CommandContext& context, int index) { context.Lists().ShowEntry(index); }

void ListCallsOfSelectedRow(CommandContext& context) { ListProcedureCallsOf(context, ""); }

void ListCalleesOfSelectedRow(CommandContext& context) {
  ListProcedureOf(context, "", ListKind::Callees, ListCallees);
}

std::optional<std::string> ProcedureOfSelectedRow(CommandContext& context) {
  const std::optional<ProcedureChoice> procedure =
      ProcedureToList(context.TakenUp(), context.Lists().History().Current(), "");
  if (!procedure) return std::nullopt;
  return procedure->Name;
}

void CopySelectedRow(CommandContext& context) {
  const ResultList* current = context.Lists().History().Current();
  if (current == nullptr || current->SelectedRow() < 0) return;
  context.Host().PutOnClipboard(RowClipboardText(*current, current->SelectedRow()));
}

void CopyCurrentList(CommandContext& context) {
  const ResultList* current = context.Lists().History().Current();
  if (current != nullptr) context.Host().PutOnClipboard(ListClipboardText(*current));
}

void TakeUpMainFile(CommandContext& context, const std::string& main_file) {
  ResultLists& lists = context.Lists();
  ResultList& procedures = *lists.History().Current();
  context.RunListing(
      [&] { TakeUpProject(context.TakenUp(), main_file, procedures, context.Host()); });
  lists.RefreshListSelector();
}

void RunStartUpLookup(CommandContext& context, const std::string& start_term) {
  if (start_term == "(") return;
  if (ListProcedureCallsOf(context, start_term) != 0) return;
  ShowMessage(context.Window(), "Procedure '" + start_term + "' not found!\nSearch for terms...");
  const std::string term = WithoutTrailingParentheses(start_term);
  if (!term.empty()) SearchTermInCurrentList(context, term);
}
