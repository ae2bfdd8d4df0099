#include "app/window_commands.h"

#include <gdk/gdkkeysyms.h>

#include <algorithm>
#include <iterator>

#include "app/jump_to_line.h"
#include "listings/row_location.h"

namespace {

const ResultList* CurrentList(CommandContext& context) {
  return context.Lists().History().Current();
}

bool HasProcedure(CommandContext& context) { return ProcedureOfSelectedRow(context).has_value(); }

bool HasSelectedRow(CommandContext& context) {
  const ResultList* list = CurrentList(context);
  return list != nullptr && list->SelectedRow() >= 0;
}

bool HasJumpFile(CommandContext& context) {
  const ResultList* list = CurrentList(context);
  return list != nullptr &&
         LocateRow(*list, list->SelectedRow(), context.TakenUp().SourceFiles).File != nullptr;
}

bool HasList(CommandContext& context) { return CurrentList(context) != nullptr; }

using Id = WindowCommandId;
using Menu = CommandMenu;

// Return does what a double-click does; Ctrl+C copies the selected row. "Callers of" is a
// double-click too, but also on a row that names a procedure in its "Calls" cell.
constexpr WindowCommand kCommands[] = {
    {Id::Open, RunOpen, nullptr, Menu::None, nullptr, false, nullptr, {}},
    {Id::Back, RunBack, nullptr, Menu::None, nullptr, false, nullptr, {}},
    {Id::JumpToLine, RunJumpToLine, nullptr, Menu::None, nullptr, false, nullptr, {}},
    {Id::AllProcCalls, RunAllProcCalls, nullptr, Menu::None, nullptr, false, nullptr, {}},
    {Id::Search, RunSearch, nullptr, Menu::None, nullptr, false, nullptr, {}},
    {Id::Stop, nullptr, nullptr, Menu::None, nullptr, false, nullptr, {}},
    {Id::About, RunAbout, nullptr, Menu::None, nullptr, false, nullptr, {}},
    {Id::Checks, nullptr, nullptr, Menu::None, nullptr, false, nullptr, {}},
    {Id::Listing, nullptr, "unused", Menu::Checks, "Unused...", false, nullptr, {}},
    {Id::Listing, nullptr, "declare-check", Menu::Checks, "Declare check...", false, nullptr,
     {}},
    {Id::CallersOfRow, ListCallersOfSelectedRow, nullptr, Menu::Row, "Callers of ", true,
     HasProcedure, {}},
    {Id::CalleesOfRow, ListCalleesOfSelectedRow, nullptr, Menu::Row, "Callees of ", true,
     HasProcedure, {}},
    {Id::JumpToRowLine, RunJumpToLine, nullptr, Menu::Row, "Jump to Line", false, HasJumpFile, {}},
    {Id::CopyRow, CopySelectedRow, nullptr, Menu::Row, "Copy row", false, HasSelectedRow,
     {{GDK_c, true}, {GDK_C, true}}},
    {Id::CopyList, CopyCurrentList, nullptr, Menu::Row, "Copy list", false, HasList, {}, false},
    {Id::CallsOfRow, ListCallsOfSelectedRow, nullptr, Menu::None, nullptr, false, nullptr,
     {{GDK_Return, false}, {GDK_KP_Enter, false}, {GDK_ISO_Enter, false}}},
};

constexpr bool EveryIdHasARow() {
  for (int id = 0; id < static_cast<int>(Id::Count); ++id) {
    bool found = false;
    for (const WindowCommand& command : kCommands) found = found || static_cast<int>(command.Id) == id;
    if (!found) return false;
  }
  return true;
}
static_assert(EveryIdHasARow(), "the command table has a row for every command id");

}  // namespace

void RunWindowCommand(const WindowCommand& command, CommandContext& context) {
  if (command.Run != nullptr) {
    command.Run(context);
  } else if (command.Listing != nullptr) {
    RunCatalogListing(context, command.Listing);
  }
}

const WindowCommand& CommandOf(WindowCommandId id) {
  return *std::find_if(std::begin(kCommands), std::end(kCommands),
                       [id](const WindowCommand& command) { return command.Id == id; });
}

std::vector<const WindowCommand*> MenuCommands(CommandMenu menu) {
  std::vector<const WindowCommand*> commands;
  for (const WindowCommand& command : kCommands) {
    if (command.Menu == menu) commands.push_back(&command);
  }
  return commands;
}

const WindowCommand* KeyCommand(guint keyval, guint state) {
  const bool control = (state & GDK_CONTROL_MASK) != 0;
  for (const WindowCommand& command : kCommands) {
    for (const CommandKey& key : command.Keys) {
      if (key.KeyVal != 0 && key.KeyVal == keyval && (control || !key.Control)) return &command;
    }
  }
  return nullptr;
}
