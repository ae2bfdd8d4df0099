#include "app/commands.h"

#include <string_view>

#include "app/about_dialog.h"
#include "app/clipboard.h"
#include "app/dialogs.h"
#include "app/jump_to_line.h"
#include "app/main_file_choice.h"
#include "frontend/list_text.h"
#include "listings/listing_catalog.h"
#include "listings/lookup.h"
#include "listings/procedure_calls.h"
#include "listings/take_up.h"
#include "source/path_parts.h"

namespace {

/// The start of a listing of `procedure`; nullopt for none.
std::optional<ListingStart> StartFor(const std::optional<ProcedureChoice>& procedure) {
  if (!procedure) return std::nullopt;
  return ListingStart{procedure->Name, {procedure->Name, procedure->WithoutModule}};
}

/// Runs `listing` as `start` (worked out once the listing runs) says; as
/// `RunCatalogListing` for the rest.
template <typename Start>
bool RunListingAsStarted(CommandContext& context, const ListingEntry& listing, Start start_of,
                         DeclareText declares) {
  ResultLists& lists = context.Lists();
  bool listed = false;
  context.RunListing([&] {
    const std::optional<ListingStart> start = start_of();
    if (!start) return;
    ResultList& list = lists.OpenResultList(listing.Kind, start->Subject);
    lists.RefreshListSelector();
    const ListingResult result = listing.Run(context.TakenUp(), list, context.Host(), start->Request);
    if (declares == DeclareText::ToClipboard && !result.DeclareText.empty()) {
      PutOnClipboard(result.DeclareText);
    }
    listed = !ListedNothing(result, list);
  });
  return listed;
}

/// The procedure of the selected row for "Callers of" and "Callees of" (see `RowProcedure`).
std::optional<ProcedureChoice> SelectedRowProcedure(CommandContext& context) {
  const ResultList* current = context.Lists().History().Current();
  if (current == nullptr) return std::nullopt;
  return RowProcedure(context.TakenUp(), *current);
}

/// Runs the catalog's `listing_name` for the procedure of the selected row.
void RunForRowProcedure(CommandContext& context, std::string_view listing_name) {
  RunListingAsStarted(context, CatalogListing(listing_name),
                      [&] { return StartFor(SelectedRowProcedure(context)); }, DeclareText::Drop);
}

}  // namespace

// The list is on screen and named in the selector before its rows come, so a term search
// that takes it over afterwards leaves the selector's entry as the lookup made it.
bool RunCatalogListing(CommandContext& context, std::string_view listing_name,
                       std::string_view text, DeclareText declares) {
  const ListingEntry& listing = CatalogListing(listing_name);
  return RunListingAsStarted(context, listing, [&] {
    return StartOf(listing, context.TakenUp(), context.Lists().History().Current(), text);
  }, declares);
}

namespace {

bool ListProcedureCallsOf(CommandContext& context, std::string_view name) {
  return RunCatalogListing(context, "calls", name);
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
  if (ListProcedureCallsOf(context, term)) return;
  // The next input is preset with what is searched as a term.
  context.SetSearchTerm(WithoutTrailingParentheses(term));
  SearchTermInCurrentList(context, context.SearchTerm());
}

void RunAllProcCalls(CommandContext& context) {
  RunCatalogListing(context, "all-calls", "", DeclareText::ToClipboard);
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
  const RecordedMain main_file = MainFileToTakeUp(
      context.Window(), {}, std::string(DirectoryPart(context.TakenUp().MainFile)));
  if (main_file.Path.empty()) return;
  ResultLists& lists = context.Lists();
  lists.CloseAll();
  const ListingEntry& procedures = CatalogListing("procedures");
  lists.OpenResultList(procedures.Kind, procedures.Title);
  TakeUpMainFile(context, main_file);
}

void RunJumpToLine(CommandContext& context) {
  const ResultList* current = context.Lists().History().Current();
  if (current != nullptr) JumpToLine(*current, context.TakenUp().SourceFiles);
}

void RunAbout(CommandContext& context) {
  const Project& project = context.TakenUp();
  ShowAbout(context.Window(),
            project.MainFile.empty() ? "" : MainFileSummary({project.MainFile, project.Origin}));
}

void ShowSelectedList(CommandContext& context, int index) { context.Lists().ShowEntry(index); }

// A check's finding names its procedure in its "Calls" cell; on the other lists a
// double-click takes the procedure as it always has.
void ListCallsOfSelectedRow(CommandContext& context) {
  const ResultList* current = context.Lists().History().Current();
  if (current != nullptr && KindEntry(current->Kind()).Findings != FindingStyle::None) {
    RunForRowProcedure(context, "calls");
  } else {
    ListProcedureCallsOf(context, "");
  }
}

void ListCallersOfSelectedRow(CommandContext& context) { RunForRowProcedure(context, "calls"); }

void ListCalleesOfSelectedRow(CommandContext& context) { RunForRowProcedure(context, "callees"); }

std::optional<std::string> ProcedureOfSelectedRow(CommandContext& context) {
  const std::optional<ProcedureChoice> procedure = SelectedRowProcedure(context);
  if (!procedure) return std::nullopt;
  return procedure->Name;
}

void CopySelectedRow(CommandContext& context) {
  const ResultList* current = context.Lists().History().Current();
  if (current == nullptr || current->SelectedRow() < 0) return;
  const std::string text = RowClipboardText(*current, current->SelectedRow());
  if (!text.empty()) PutOnClipboard(text);
}

void CopyCurrentList(CommandContext& context) {
  const ResultList* current = context.Lists().History().Current();
  if (current != nullptr) PutOnClipboard(ListClipboardText(*current));
}

void TakeUpMainFile(CommandContext& context, const RecordedMain& main_file) {
  ResultLists& lists = context.Lists();
  ResultList& procedures = *lists.History().Current();
  context.RunListing(
      [&] { TakeUpProject(context.TakenUp(), main_file.Path, procedures, context.Host()); });
  context.TakenUp().Origin = main_file.Origin;
  lists.SetCaptionTooltip(MainFileSummary(main_file));
  lists.RefreshListSelector();
  lists.FocusCurrent();
}

void TakeUpMainFile(CommandContext& context, const std::string& main_file) {
  TakeUpMainFile(context, RecordedMain{main_file, MainFileOrigin::Given});
}

void RunStartUpLookup(CommandContext& context, const std::string& start_term) {
  if (start_term == "(") return;
  if (ListProcedureCallsOf(context, start_term)) return;
  ShowMessage(context.Window(), "Procedure '" + start_term + "' not found!\nSearch for terms...");
  const std::string term = WithoutTrailingParentheses(start_term);
  if (!term.empty()) SearchTermInCurrentList(context, term);
}
