#include "app/main_window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/gtk_test_support.h"
#include "app/result_list_view.h"

namespace {

using gtk_test::Allocation;
using gtk_test::Pump;
using gtk_test::PumpUntil;
using gtk_test::WindowTest;
using DetachedView = gtk_test::DetachedViewTest;

void ExpectBox(GtkWidget* widget, int x, int y, int width, int height) {
  const GtkAllocation box = Allocation(widget);
  EXPECT_EQ(box.x, x);
  EXPECT_EQ(box.y, y);
  EXPECT_EQ(box.width, width);
  EXPECT_EQ(box.height, height);
}

void ExpectSize(GtkWidget* widget, int width, int height) {
  const GtkAllocation box = Allocation(widget);
  EXPECT_EQ(box.width, width);
  EXPECT_EQ(box.height, height);
}

std::string Tooltip(GtkWidget* widget) {
  gchar* text = gtk_widget_get_tooltip_text(widget);
  std::string result = text != nullptr ? text : "";
  g_free(text);
  return result;
}

std::string StockIdOf(GtkWidget* button) {
  GtkWidget* image = gtk_button_get_image(GTK_BUTTON(button));
  if (image == nullptr || gtk_image_get_storage_type(GTK_IMAGE(image)) != GTK_IMAGE_STOCK) {
    return "";
  }
  gchar* stock_id = nullptr;
  GtkIconSize size = GTK_ICON_SIZE_INVALID;
  gtk_image_get_stock(GTK_IMAGE(image), &stock_id, &size);
  return size == GTK_ICON_SIZE_MENU ? stock_id : "wrong size";
}

void ResizeWindow(MainWindow& window, int width, int height) {
  gtk_window_resize(window.Window(), width, height);
  ASSERT_TRUE(PumpUntil([&] {
    const GtkAllocation box = Allocation(GTK_WIDGET(window.Window()));
    return box.width == width && box.height == height;
  }));
  Pump(20);
}

using MainWindowLayout = WindowTest;

TEST_F(MainWindowLayout, WindowOpensCentredAt1000By610WithTitleAndMinimumSize) {
  GtkWindow* window = window_->Window();
  EXPECT_STREQ(gtk_window_get_title(window), "PB Sourcetrek");
  ExpectSize(GTK_WIDGET(window), 1000, 610);
  gint x = 0;
  gint y = 0;
  gdk_window_get_origin(GTK_WIDGET(window)->window, &x, &y);
  EXPECT_EQ(x, (gdk_screen_width() - 1000) / 2);
  EXPECT_EQ(y, (gdk_screen_height() - 610) / 2);
  // Shrinking below the minimum is refused: 300 px high, and wide enough for the toolbar
  // row (its Checks button ends at 886, the row keeps 5 px on either side).
  gtk_window_resize(window, 500, 200);
  Pump(100);
  const GtkAllocation box = Allocation(GTK_WIDGET(window));
  EXPECT_EQ(box.width, 891);
  EXPECT_EQ(box.height, 300);
}

TEST_F(MainWindowLayout, DecorationsHaveNoMinimiseOrMaximise) {
  GdkWMDecoration decorations = GdkWMDecoration(0);
  ASSERT_TRUE(gdk_window_get_decorations(GTK_WIDGET(window_->Window())->window, &decorations));
  EXPECT_TRUE(decorations & GDK_DECOR_TITLE);
  EXPECT_TRUE(decorations & GDK_DECOR_BORDER);
  EXPECT_TRUE(decorations & GDK_DECOR_RESIZEH);
  EXPECT_FALSE(decorations & GDK_DECOR_MINIMIZE);
  EXPECT_FALSE(decorations & GDK_DECOR_MAXIMIZE);
  EXPECT_FALSE(decorations & GDK_DECOR_ALL);
}

TEST_F(MainWindowLayout, ButtonsStandAtTheirPlacesWithLabelsAndMenuSizeIcons) {
  const Toolbar& bar = window_->Controls();
  struct Expected {
    GtkWidget* button;
    const char* label;
    const char* stock_id;
    int x;
    int width;
  };
  const Expected buttons[] = {{bar.Open, "Open", "gtk-open", 5, 80},
                              {bar.Back, "Back", "gtk-go-back", 90, 80},
                              {bar.JumpToLine, "Jump to Line", "gtk-jump-to", 175, 110},
                              {bar.AllProcCalls, "All Proc-Calls", "gtk-index", 290, 110},
                              {bar.Search, "Search...", "gtk-find", 405, 80},
                              {bar.StopButton, "Stop", "gtk-stop", 490, 80}};
  for (const Expected& expected : buttons) {
    SCOPED_TRACE(expected.label);
    EXPECT_STREQ(gtk_button_get_label(GTK_BUTTON(expected.button)), expected.label);
    EXPECT_EQ(StockIdOf(expected.button), expected.stock_id);
    EXPECT_EQ(gtk_button_get_image_position(GTK_BUTTON(expected.button)), GTK_POS_LEFT);
    ExpectBox(expected.button, expected.x, 2, expected.width, 28);
  }
}

TEST_F(MainWindowLayout, TooltipsAreTheGermanTextsAndStopHasNone) {
  const Toolbar& bar = window_->Controls();
  EXPECT_EQ(Tooltip(bar.Open), "L\xC3\xB6scht vorherige Liste und \xC3\xB6" "ffnet neue Hauptdatei...");
  EXPECT_EQ(Tooltip(bar.Back), "Zeigt vorherige und schlie\xC3\x9Ft aktuelle Liste");
  EXPECT_EQ(Tooltip(bar.JumpToLine),
            "\xC3\x96" "ffnet bei Bedarf den PureBasic-Editor und setzt Cursor auf Zeile der "
            "akt. Selektion...");
  EXPECT_EQ(Tooltip(bar.AllProcCalls),
            "Listet aus aktueller Hauptdatei und Includes alle Proceduren und deren Aufrufe");
  EXPECT_EQ(Tooltip(bar.Search),
            "Sucht und listet aus aktueller Datei alle Proceduren bzw. Variablen");
  EXPECT_EQ(Tooltip(bar.StopButton), "");
  EXPECT_EQ(Tooltip(bar.ListSelector), "");
}

TEST_F(MainWindowLayout, ListLabelSelectorAndLogoButton) {
  const Toolbar& bar = window_->Controls();
  EXPECT_STREQ(gtk_label_get_text(GTK_LABEL(bar.ListLabel)), "List:");
  gfloat x_align = 0;
  gtk_misc_get_alignment(GTK_MISC(bar.ListLabel), &x_align, nullptr);
  EXPECT_EQ(x_align, 1.0f);
  ExpectBox(bar.ListLabel, 572, 8, 30, 24);
  ExpectBox(bar.ListSelector, 605, 2, 150, 28);
  EXPECT_FALSE(GTK_IS_COMBO_BOX_ENTRY(bar.ListSelector));
  ASSERT_NE(bar.LogoButton, nullptr);
  ExpectBox(bar.LogoButton, 765, 2, 26, 26);
  GtkWidget* image = gtk_bin_get_child(GTK_BIN(bar.LogoButton));
  ASSERT_TRUE(GTK_IS_IMAGE(image));
  GdkPixbuf* logo = gtk_image_get_pixbuf(GTK_IMAGE(image));
  ASSERT_NE(logo, nullptr);
  EXPECT_EQ(gdk_pixbuf_get_width(logo), 16);
  EXPECT_EQ(gdk_pixbuf_get_height(logo), 16);
  EXPECT_TRUE(gdk_pixbuf_get_has_alpha(logo));
  EXPECT_EQ(Tooltip(bar.LogoButton), "");
}

TEST_F(MainWindowLayout, ChecksButtonStandsAfterTheLogoWithItsMenu) {
  const Toolbar& bar = window_->Controls();
  ExpectBox(bar.ChecksButton, 796, 2, 90, 28);
  EXPECT_STREQ(gtk_button_get_label(GTK_BUTTON(bar.ChecksButton)), "Checks");
  EXPECT_EQ(StockIdOf(bar.ChecksButton), "gtk-go-down");
  EXPECT_EQ(gtk_button_get_image_position(GTK_BUTTON(bar.ChecksButton)), GTK_POS_RIGHT);
  EXPECT_EQ(Tooltip(bar.ChecksButton), "Listet unbenutzte Proceduren und pr\xC3\xBC" "ft die Declares");
  std::vector<std::string> labels;
  GList* items = gtk_container_get_children(GTK_CONTAINER(bar.ChecksMenu));
  for (GList* item = items; item != nullptr; item = item->next) {
    labels.emplace_back(gtk_menu_item_get_label(GTK_MENU_ITEM(item->data)));
  }
  g_list_free(items);
  EXPECT_EQ(labels, (std::vector<std::string>{"Unused...", "Declare check..."}));
  EXPECT_EQ(gtk_menu_get_attach_widget(GTK_MENU(bar.ChecksMenu)), bar.ChecksButton);
}

TEST_F(MainWindowLayout, StopIsGreyedAtStartAndBackOnceAnEventWasTaken) {
  const Toolbar& bar = window_->Controls();
  EXPECT_FALSE(gtk_widget_get_sensitive(bar.StopButton));
  EXPECT_TRUE(gtk_widget_get_sensitive(bar.Open));
  // The window's own map and expose events have passed through the loop by now.
  EXPECT_FALSE(gtk_widget_get_sensitive(bar.Back));
}

TEST_F(MainWindowLayout, FirstListFillsTheAreaBelowTheToolbar) {
  ResultListView* view = window_->Lists().CurrentView();
  ASSERT_NE(view, nullptr);
  ExpectBox(view->Container(), 0, 34, 1000, 574);
  ExpectSize(view->ScrolledArea(), 996, 552);
  EXPECT_STREQ(gtk_label_get_text(view->Caption()), "Procedures...");
  const GtkAllocation caption = Allocation(GTK_WIDGET(view->Caption()));
  const GtkAllocation panel = Allocation(view->Container());
  EXPECT_EQ(caption.x - panel.x, 5);
  EXPECT_EQ(caption.y - panel.y, 0);
  EXPECT_EQ(caption.width, 800);
  EXPECT_EQ(caption.height, 20);
  EXPECT_FALSE(pango_layout_is_ellipsized(gtk_label_get_layout(view->Caption())));
  EXPECT_EQ(Tooltip(GTK_WIDGET(view->Caption())), "Procedures...");
}

TEST_F(MainWindowLayout, LongCaptionAndSelectorEntryStayOneLineEndingInAnEllipsis) {
  std::string subject = "Foo";
  for (int word = 0; word < 60; ++word) subject += " bar";
  ResultLists& lists = window_->Lists();
  lists.OpenResultList(ListKind::Terms, subject);
  lists.RefreshListSelector();
  Pump(20);
  GtkLabel* caption = lists.CurrentView()->Caption();
  ExpectSize(GTK_WIDGET(caption), 800, 20);
  PangoLayout* layout = gtk_label_get_layout(caption);
  EXPECT_EQ(pango_layout_get_line_count(layout), 1);
  EXPECT_TRUE(pango_layout_is_ellipsized(layout));
  EXPECT_EQ(Tooltip(GTK_WIDGET(caption)), "Terms: " + subject + "...");
  // The selector draws its entries through one text cell, which cuts with an ellipsis.
  GList* cells = gtk_cell_layout_get_cells(GTK_CELL_LAYOUT(window_->Controls().ListSelector));
  ASSERT_EQ(g_list_length(cells), 1u);
  PangoEllipsizeMode mode = PANGO_ELLIPSIZE_NONE;
  g_object_get(cells->data, "ellipsize", &mode, nullptr);
  EXPECT_EQ(mode, PANGO_ELLIPSIZE_END);
  g_list_free(cells);
}

TEST_F(MainWindowLayout, ResizingFitsTheCurrentListOnly) {
  ResultLists& lists = window_->Lists();
  ResultListView* first = lists.CurrentView();
  lists.OpenResultList(ListKind::AllProcedureCalls, "All Procedure-Calls...");
  lists.RefreshListSelector();
  ResultListView* second = lists.CurrentView();
  Pump();
  ResizeWindow(*window_, 1200, 700);
  ExpectSize(second->Container(), 1200, 664);
  ExpectSize(second->ScrolledArea(), 1196, 642);
  // The hidden first list keeps its size when it is shown again through the selector.
  gtk_combo_box_set_active(GTK_COMBO_BOX(window_->Controls().ListSelector), 0);
  Pump(20);
  EXPECT_EQ(lists.CurrentView(), first);
  EXPECT_TRUE(gtk_widget_get_visible(first->Container()));
  EXPECT_FALSE(gtk_widget_get_visible(second->Container()));
  ExpectSize(first->Container(), 1000, 574);
  ExpectSize(first->ScrolledArea(), 996, 552);
}

TEST_F(DetachedView, ColumnsHaveTheirHeadersWidthsAndAlignment) {
  ResultList list(ListKind::Procedures, "Procedures");
  ResultListView view(list, Area(), 1000, 610, font_);
  const char* headers[] = {"Line", "Calls", "Count", "(in) Function", "in File"};
  const int widths[] = {56, 380, 55, 300, 200};
  for (int column = 0; column < 5; ++column) {
    GtkTreeViewColumn* view_column = gtk_tree_view_get_column(view.ListView(), column);
    ASSERT_NE(view_column, nullptr);
    EXPECT_STREQ(gtk_tree_view_column_get_title(view_column), headers[column]);
    EXPECT_EQ(gtk_tree_view_column_get_fixed_width(view_column), widths[column]);
    EXPECT_TRUE(gtk_tree_view_column_get_resizable(view_column));
    EXPECT_FALSE(gtk_tree_view_column_get_clickable(view_column));
    EXPECT_EQ(gtk_tree_view_column_get_alignment(view_column), column == 0 ? 1.0f : 0.0f);
  }
  EXPECT_EQ(gtk_tree_view_get_column(view.ListView(), 5), nullptr);
  SetColumnAlignment(view.ListView(), 7, 0.5f);  // no such column: nothing happens
  EXPECT_EQ(gtk_tree_selection_get_mode(gtk_tree_view_get_selection(view.ListView())),
            GTK_SELECTION_SINGLE);
}

TEST_F(DetachedView, MirrorsRowsColoursAndTheSelectionAtEachSync) {
  ResultList list(ListKind::Procedures, "Procedures");
  ResultListView view(list, Area(), 1000, 610, font_);
  GtkTreeModel* model = gtk_tree_view_get_model(view.ListView());
  list.AddResultRow("12\nFoo()");
  list.AddResultRow("", RowMark::Separator);
  list.AddMarks(0, RowMark::OtherCase | RowMark::FileBand);
  EXPECT_EQ(gtk_tree_model_iter_n_children(model, nullptr), 0);  // not before the sync
  view.Sync();
  ASSERT_EQ(gtk_tree_model_iter_n_children(model, nullptr), 2);
  // Row 0's colours must not stay on the renderer for row 1, which has none.
  for (const int row : {0, 1, 0}) {
    const gtk_test::ShownCell line = gtk_test::CellShown(view.ListView(), row, ColumnLine);
    const gtk_test::ShownCell calls = gtk_test::CellShown(view.ListView(), row, ColumnCalls);
    EXPECT_EQ(line.Text, row == 0 ? "12" : "");
    EXPECT_EQ(line.Foreground, "(none)");
    EXPECT_EQ(line.Background, row == 0 ? "#ffffe6" : "(none)");
    EXPECT_EQ(calls.Text, row == 0 ? "Foo()" : "");
    EXPECT_EQ(calls.Foreground, row == 0 ? "#dc0000" : "(none)");
    EXPECT_EQ(gtk_test::CellShown(view.ListView(), row, ColumnCount).Text, "");
  }
  // The newest row is selected in the view; a later change to a mirrored row arrives.
  GtkTreeIter selected;
  ASSERT_TRUE(gtk_tree_selection_get_selected(gtk_tree_view_get_selection(view.ListView()),
                                              nullptr, &selected));
  GtkTreePath* path = gtk_tree_model_get_path(model, &selected);
  EXPECT_EQ(gtk_tree_path_get_indices(path)[0], 1);
  gtk_tree_path_free(path);
  list.SetCellText(0, 3, "   14 Procedure Foo()");
  view.Sync();
  EXPECT_EQ(gtk_test::CellShown(view.ListView(), 0, ColumnFunction).Text,
            "   14 Procedure Foo()");
}

TEST_F(DetachedView, UserSelectionReachesTheModel) {
  ResultList list(ListKind::Procedures, "Procedures");
  ResultListView view(list, Area(), 1000, 610, font_);
  list.AddResultRow("1\na");
  list.AddResultRow("2\nb");
  view.Sync();
  GtkTreePath* first = gtk_tree_path_new_from_indices(0, -1);
  gtk_tree_selection_select_path(gtk_tree_view_get_selection(view.ListView()), first);
  gtk_tree_path_free(first);
  view.TakeSelection();
  EXPECT_EQ(list.SelectedRow(), 0);
}

}  // namespace
