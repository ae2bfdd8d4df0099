#include "app/window_commands.h"

#include <gdk/gdkkeysyms.h>

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
    {Id::Unused, nullptr, "unused", Menu::Checks, "Unused...", false, nullptr, {}},
    {Id::DeclareCheck, nullptr, "declare-check", Menu::Checks, "Declare check...", false,
     nullptr, {}},
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

constexpr bool InIdOrder() {
  for (size_t row = 0; row < std::size(kCommands); ++row) {
    if (static_cast<size_t>(kCommands[row].Id) != row) return false;
  }
  return true;
}
static_assert(InIdOrder(), "the command table lists the commands in the order of their ids");

}  // namespace

void RunWindowCommand(const WindowCommand& command, CommandContext& context) {
  if (command.Run != nullptr) {
    command.Run(context);
  } else if (command.Listing != nullptr) {
    RunCatalogListing(context, command.Listing);
  }
}

const WindowCommand& CommandOf(WindowCommandId id) { return kCommands[static_cast<size_t>(id)]; }

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
