#include "app/row_menu.h"

#include <optional>
#include <string>

#include "frontend/display_text.h"

namespace {

/// The name of `procedure` without its parameter list; "..." for none.
std::string ShownName(const std::optional<std::string>& procedure) {
  return procedure ? procedure->substr(0, procedure->find('(')) : "...";
}

}  // namespace

RowMenu::RowMenu(CommandContext& context, std::function<void(const WindowCommand&)> run)
    : context_(context), run_(std::move(run)), menu_(gtk_menu_new()),
      commands_(MenuCommands(CommandMenu::Row)) {
  g_object_ref_sink(menu_);
  g_assert(commands_.size() == static_cast<size_t>(RowMenuItem::Count));
  for (int item = 0; item < static_cast<int>(RowMenuItem::Count); ++item) {
    items_[item] = gtk_menu_item_new_with_label(commands_[item]->MenuLabel);
    g_object_set_data(G_OBJECT(items_[item]), "pbst-row-menu-item", GINT_TO_POINTER(item));
    g_signal_connect(items_[item], "activate", G_CALLBACK(&RowMenu::OnActivate), this);
    gtk_menu_shell_append(GTK_MENU_SHELL(menu_), items_[item]);
    gtk_widget_show(items_[item]);
  }
}

RowMenu::~RowMenu() {
  gtk_widget_destroy(menu_);
  g_object_unref(menu_);
}

void RowMenu::Popup(const GdkEventButton* event, bool on_row) {
  Update(on_row);
  if (event != nullptr) {
    gtk_menu_popup(Menu(), nullptr, nullptr, nullptr, nullptr, event->button, event->time);
  } else {
    ScrollToSelectedRow();
    gtk_menu_popup(Menu(), nullptr, nullptr, &RowMenu::PlaceBesideRow, this, 0,
                   gtk_get_current_event_time());
  }
}

// The menu opened from the keyboard stands at the selected row, which must be in view.
void RowMenu::ScrollToSelectedRow() {
  ResultListView* view = context_.Lists().CurrentView();
  const int32_t row = view != nullptr ? view->Model().SelectedRow() : -1;
  if (row >= 0) view->ScrollToRow(row);
}

void RowMenu::Update(bool on_row) {
  const std::string name = ToDisplayText(ShownName(ProcedureOfSelectedRow(context_)));
  for (int item = 0; item < static_cast<int>(RowMenuItem::Count); ++item) {
    const WindowCommand& command = *commands_[item];
    const std::string label = std::string(command.MenuLabel) + (command.NamesProcedure ? name : "");
    gtk_menu_item_set_label(GTK_MENU_ITEM(items_[item]), label.c_str());
    gtk_widget_set_sensitive(items_[item],
                             (on_row || !command.ActsOnRow) && command.Applies(context_));
  }
}

void RowMenu::OnActivate(GtkMenuItem* item, gpointer self) {
  auto& menu = *static_cast<RowMenu*>(self);
  const int index = GPOINTER_TO_INT(g_object_get_data(G_OBJECT(item), "pbst-row-menu-item"));
  menu.run_(*menu.commands_[index]);
}

// Below the selected row's "Calls" cell, or the list's top corner when no row is selected.
void RowMenu::PlaceBesideRow(GtkMenu*, gint* x, gint* y, gboolean* push_in, gpointer self) {
  auto& menu = *static_cast<RowMenu*>(self);
  *push_in = TRUE;
  *x = 0;
  *y = 0;
  ResultListView* view = menu.context_.Lists().CurrentView();
  if (view == nullptr) return;
  GdkWindow* bin = gtk_tree_view_get_bin_window(view->ListView());
  if (bin != nullptr) gdk_window_get_origin(bin, x, y);
  GtkTreePath* path = view->NewPathOf(view->Model().SelectedRow());
  if (path == nullptr) return;
  GdkRectangle cell;
  GtkTreeViewColumn* calls = gtk_tree_view_get_column(view->ListView(), ColumnCalls);
  gtk_tree_view_get_cell_area(view->ListView(), path, calls, &cell);
  gtk_tree_path_free(path);
  *x += cell.x;
  *y += cell.y + cell.height;
}
