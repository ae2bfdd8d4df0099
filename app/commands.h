// The commands of the main window: what each toolbar control, the selector, a
// double-click on a row and the row menu do, and the take-up and lookup of start-up.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "app/command_context.h"
#include "source/recorded_main_file.h"

/// A command of a toolbar control.
using Command = void (*)(CommandContext& context);

/// What the window does with a listing's Declare text: only those of All Proc-Calls go
/// to the clipboard; the Declare check's are for the report tool's --fix.
enum class DeclareText { Drop, ToClipboard };

/// Opens the list of the catalog's listing `listing_name` about what `text` gives (the
/// selected row's procedure for an empty text) and runs the listing in it. False when no
/// list was opened (no procedure could be taken from the text) or it listed nothing.
bool RunCatalogListing(CommandContext& context, std::string_view listing_name,
                       std::string_view text = "", DeclareText declares = DeclareText::Drop);

/// Search: asks for a term (preset with the last one); tries it as a procedure name, else
/// searches it as a term. An empty input does nothing.
void RunSearch(CommandContext& context);
/// All Proc-Calls: opens "All Procedure-Calls..." and lists every procedure with its calls.
void RunAllProcCalls(CommandContext& context);
/// Back: closes the list on screen and shows the newest remaining one; does nothing on the
/// first list. When only the first is left, it is fitted to the window once the loop idles.
void RunBack(CommandContext& context);
/// Open: chooses a new main file; on cancel nothing changes, else every list is closed and
/// the new project is taken up into a new "Procedures" list.
void RunOpen(CommandContext& context);
/// Jump to Line: starts the IDE on the file and line of the current list's selected row.
void RunJumpToLine(CommandContext& context);
/// The logo: shows the About dialog until it is closed.
void RunAbout(CommandContext& context);
/// Shows the list at selector position `index`; the current list stays for -1.
void ShowSelectedList(CommandContext& context, int index);
/// Double-click on a row: lists the calls of the procedure that the selected row names
/// (on a check's list, the procedure of its finding).
void ListCallsOfSelectedRow(CommandContext& context);
/// "Callers of": lists the calls of the procedure that the selected row names, its head or
/// Declare on a row that holds one (`RowProcedure`).
void ListCallersOfSelectedRow(CommandContext& context);
/// "Callees of": lists the calls inside that procedure.
void ListCalleesOfSelectedRow(CommandContext& context);
/// The procedure that "Callers of" and "Callees of" act on; nullopt for none.
std::optional<std::string> ProcedureOfSelectedRow(CommandContext& context);
/// Copy row: puts the selected row's cells, tab-separated, on the clipboard; nothing
/// without a selected row or for a row without text (a separator).
void CopySelectedRow(CommandContext& context);
/// Copy list: puts the current list's caption, column headers and rows on the clipboard.
void CopyCurrentList(CommandContext& context);
/// Takes up `main_file` into the current ("Procedures") list, then rebuilds the selector;
/// every list's caption tells in its tooltip which main file is in use and how it was found.
void TakeUpMainFile(CommandContext& context, const RecordedMain& main_file);
/// `TakeUpMainFile` of a main file that was given as it is.
void TakeUpMainFile(CommandContext& context, const std::string& main_file);
/// The lookup of start-up for `start_term` (ending with "("; a lone "(" looks up nothing):
/// the procedure's calls, else the not-found message and the term search.
void RunStartUpLookup(CommandContext& context, const std::string& start_term);
