// The window's commands in one table: what each does and where the user reaches it, on
// the toolbar (whose table names the command), in the Checks menu or the row menu, or
// with a key on the list.
#pragma once

#include <gtk/gtk.h>

#include <cstdint>
#include <vector>

#include "app/commands.h"

/// Every command of the window.
enum class WindowCommandId : uint8_t {
  Open,
  Back,
  JumpToLine,
  AllProcCalls,
  Search,
  Stop,
  About,
  Checks,
  Listing,  ///< a menu item that runs its catalog listing (`WindowCommand::Listing`)
  CallersOfRow,
  CalleesOfRow,
  JumpToRowLine,
  CopyRow,
  CopyList,
  CallsOfRow,
  Count,  ///< the number of ids, no command
};

/// Which menu offers a command.
enum class CommandMenu : uint8_t { None, Checks, Row };

/// A key pressed on the list that runs a command.
struct CommandKey {
  guint KeyVal = 0;  ///< 0 for none
  bool Control = false;  ///< only with Ctrl held (a key without it runs with Ctrl too)
};

/// One command of the window.
struct WindowCommand {
  WindowCommandId Id;
  Command Run;        ///< nullptr for a catalog listing, and for Stop and Checks, which
                      ///< the window routes itself
  const char* Listing;  ///< the catalog's listing that it runs when `Run` is nullptr
  CommandMenu Menu;
  const char* MenuLabel;  ///< its item's label in `Menu`; nullptr outside menus
  bool NamesProcedure;    ///< the label is followed by the row's procedure
  bool (*Applies)(CommandContext& context);  ///< when its menu item is not greyed
  CommandKey Keys[3];     ///< keys on the list that run it
  bool ActsOnRow = true;  ///< a row menu item that acts on the selected row, not the list
};

/// The command `id` (the first, for `Listing`).
const WindowCommand& CommandOf(WindowCommandId id);

/// The commands that `menu` offers, in menu order.
std::vector<const WindowCommand*> MenuCommands(CommandMenu menu);

/// The command of a key pressed on the list with modifiers `state`; nullptr for none.
const WindowCommand* KeyCommand(guint keyval, guint state);

/// Runs `command` in `context`: its own function, or its catalog listing.
void RunWindowCommand(const WindowCommand& command, CommandContext& context);

/// The command of a double-click on a row: the calls of the row's procedure.
inline const WindowCommand& DoubleClickCommand() { return CommandOf(WindowCommandId::CallsOfRow); }
