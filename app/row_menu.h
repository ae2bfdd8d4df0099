// The menu of a result row: the callers and the callees of the procedure that the row
// names, the jump to its line, and copying the row or the whole list. A right-click on a
// row, the Menu key or Shift+F10 opens it; items that do not apply to the row are greyed.
#pragma once

#include <gtk/gtk.h>

#include <functional>

#include <vector>

#include "app/command_context.h"
#include "app/window_commands.h"

/// The items of the row menu, in menu order (that of the window's command table).
enum class RowMenuItem { Callers, Callees, JumpToLine, CopyRow, CopyList, Count };

/// One menu, brought up to the current list's selected row each time it opens.
class RowMenu {
 public:
  /// A menu whose items hand their command to `run`, which runs it in `context`.
  RowMenu(CommandContext& context, std::function<void(const WindowCommand&)> run);
  RowMenu(const RowMenu&) = delete;
  RowMenu& operator=(const RowMenu&) = delete;
  ~RowMenu();

  /// Labels and greys the items for the selected row of the current list and pops the
  /// menu up: at the pointer for the button press `event`, beside the row for none. For a
  /// press on no row (`on_row` false) only the items for the whole list apply.
  void Popup(const GdkEventButton* event, bool on_row = true);
  /// The menu widget.
  GtkMenu* Menu() const { return GTK_MENU(menu_); }
  /// The widget of `item`.
  GtkWidget* Item(RowMenuItem item) const { return items_[static_cast<int>(item)]; }

 private:
  void Update(bool on_row);
  void ScrollToSelectedRow();
  static void OnActivate(GtkMenuItem* item, gpointer self);
  static void PlaceBesideRow(GtkMenu* menu, gint* x, gint* y, gboolean* push_in, gpointer self);

  CommandContext& context_;
  std::function<void(const WindowCommand&)> run_;
  GtkWidget* menu_ = nullptr;
  std::vector<const WindowCommand*> commands_;  ///< the row menu's commands, item by item
  GtkWidget* items_[static_cast<int>(RowMenuItem::Count)] = {};
};
