// The window as a person uses it with keyboard and mouse: where the keyboard focus is after
// each way of showing a list, the Tab order, every control reachable at the smallest
// window, and the row menu opened from the keyboard on a row scrolled out of view.
#include <gdk/gdkkeysyms.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/gtk_test_support.h"
#include "app/main_window.h"
#include "source/testing/test_folder.h"

namespace {

using gtk_test::Allocation;
using gtk_test::Pump;
using gtk_test::PumpUntil;
using gtk_test::SelectorEntries;

class WindowUseTest : public gtk_test::WindowTest {
 protected:
  void SetUp() override {
    gtk_test::WindowTest::SetUp();
    if (IsSkipped()) return;
    main_ = project_.Write("main.pb", MainText());
    TakeUpMainFile(*window_, main_);
    Pump(20);
  }

  /// The project's only file: Main calls Helper, which the main code calls 200 times.
  virtual std::string MainText() {
    std::string text = "Procedure Main()\n  Helper(1)\nEndProcedure\n"
                       "Procedure Helper(v)\nEndProcedure\n";
    for (int call = 0; call < 200; ++call) text += "Helper(" + std::to_string(call) + ")\n";
    return text + "Main()\n";
  }

  /// Runs the Checks menu's item `index` (0: Unused, 1: Declare check) as a click does.
  void ChooseCheck(int index) {
    GList* items = gtk_container_get_children(GTK_CONTAINER(window_->Controls().ChecksMenu));
    gtk_menu_item_activate(GTK_MENU_ITEM(g_list_nth_data(items, static_cast<guint>(index))));
    g_list_free(items);
    Pump();
  }

  ListHistory& History() { return window_->Lists().History(); }
  GtkTreeView* ListView() { return window_->Lists().CurrentView()->ListView(); }
  GtkWidget* Focus() { return gtk_window_get_focus(window_->Window()); }

  /// Sends the press and release of `keyval` to the toplevel window, which hands it to
  /// the widget that has the keyboard focus, as a key typed by the user.
  void SendKey(guint keyval, guint state = 0) {
    gtk_test::SendKey(GTK_WIDGET(window_->Window()), keyval, state);
  }

  /// Sends a press of mouse button `button` at `y` pixels down the list's rows.
  void SendPress(guint button, int y) {
    GdkEvent* event = gdk_event_new(GDK_BUTTON_PRESS);
    event->button.window = GDK_WINDOW(g_object_ref(gtk_tree_view_get_bin_window(ListView())));
    event->button.button = button;
    event->button.x = 40;
    event->button.y = y;
    event->button.time = GDK_CURRENT_TIME;
    gtk_main_do_event(event);
    gdk_event_free(event);
    Pump();
  }

  std::string Clipboard() { return gtk_test::ClipboardText(); }

  /// The list's row of the tree view's cursor; -1 for none.
  int CursorRow() {
    GtkTreePath* path = nullptr;
    gtk_tree_view_get_cursor(ListView(), &path, nullptr);
    const int row = path != nullptr ? window_->Lists().CurrentView()->ListRow(path) : -1;
    if (path != nullptr) gtk_tree_path_free(path);
    return row;
  }

  /// The list on screen has the keyboard focus, and its cursor is on its selected row.
  void ExpectListHasFocus(const std::string& after) {
    SCOPED_TRACE("after " + after);
    EXPECT_EQ(Focus(), GTK_WIDGET(ListView()));
    EXPECT_EQ(CursorRow(), History().Current()->SelectedRow());
  }

  TestFolder project_;
  std::string main_;
};

// A dialog that Return or Space would open from a focused toolbar button (About) is closed
// and counted, so that the test ends instead of waiting for it.
void CloseAnyDialog(gtk_test::DialogAnswerer& answerer) {
  for (int dialog = 0; dialog < 4; ++dialog) answerer.Then(gtk_test::CloseDialog());
}

}  // namespace

TEST_F(WindowUseTest, TheListOnScreenHasTheFocusAfterEveryWayOfShowingOne) {
  gtk_test::DialogAnswerer answerer;
  CloseAnyDialog(answerer);
  ExpectListHasFocus("start-up");
  SendKey(GDK_Down);
  SendKey(GDK_Return);  // the callers of the procedure of the selected row
  ASSERT_EQ(History().Count(), 2);
  ExpectListHasFocus("Return on a row");
  gtk_button_clicked(GTK_BUTTON(window_->Controls().AllProcCalls));
  ExpectListHasFocus("All Proc-Calls");
  GList* checks = gtk_container_get_children(GTK_CONTAINER(window_->Controls().ChecksMenu));
  gtk_menu_item_activate(GTK_MENU_ITEM(checks->data));  // Unused...
  g_list_free(checks);
  Pump();
  ASSERT_EQ(History().Count(), 4);
  ExpectListHasFocus("Unused");
  gtk_combo_box_set_active(GTK_COMBO_BOX(window_->Controls().ListSelector), 1);
  Pump();
  ExpectListHasFocus("choosing a list in the selector");
  gtk_button_clicked(GTK_BUTTON(window_->Controls().Back));
  ExpectListHasFocus("Back");
  SendKey(GDK_Down);
  SendKey(GDK_Return);
  EXPECT_EQ(answerer.Dialogs(), std::vector<std::string>());
}

TEST_F(WindowUseTest, TabFollowsTheToolbarFromLeftToRightThenTheList) {
  const Toolbar& bar = window_->Controls();
  const std::pair<GtkWidget*, const char*> names[] = {
      {bar.Open, "Open"},         {bar.Back, "Back"},         {bar.JumpToLine, "Jump"},
      {bar.AllProcCalls, "All"},  {bar.Search, "Search"},     {bar.StopButton, "Stop"},
      {bar.ListSelector, "List"}, {bar.LogoButton, "Logo"},   {bar.ChecksButton, "Checks"},
      {GTK_WIDGET(ListView()), "rows"}};
  // The control that has the focus, or holds the widget that has it (the selector's button).
  const auto focused = [&] {
    for (const auto& [control, name] : names) {
      if (Focus() == control || gtk_widget_is_ancestor(Focus(), control)) return std::string(name);
    }
    return std::string("?");
  };
  gtk_widget_grab_focus(bar.Open);
  std::vector<std::string> order{focused()};
  for (int step = 0; step < 8; ++step) {
    SendKey(GDK_Tab);
    order.push_back(focused());
  }
  // Back (one list only) and Stop (no listing) are greyed and skipped.
  EXPECT_EQ(order, (std::vector<std::string>{"Open", "Jump", "All", "Search", "List", "Logo",
                                             "Checks", "rows", "Open"}));
}

TEST_F(WindowUseTest, EveryControlIsInsideTheWindowAtItsSmallestSize) {
  GtkWidget* toplevel = GTK_WIDGET(window_->Window());
  gtk_window_resize(window_->Window(), 1, 1);  // the minimum size hints hold it back
  ASSERT_TRUE(PumpUntil([&] { return Allocation(toplevel).width < 1000; }));
  Pump(20);
  const int width = Allocation(toplevel).width;
  const GtkAllocation checks = Allocation(window_->Controls().ChecksButton);
  EXPECT_LE(checks.x + checks.width, width) << "window " << width << " px wide";
}

TEST_F(WindowUseTest, TheMenuKeyScrollsTheSelectedRowIntoViewAndOpensTheMenuAtIt) {
  SendKey(GDK_End);
  SendKey(GDK_Return);  // the callers of Helper: 201 rows
  ASSERT_EQ(History().Current()->RowCount(), 202);
  SendKey(GDK_Home);
  ASSERT_EQ(History().Current()->SelectedRow(), 0);
  GtkAdjustment* scroll = gtk_range_get_adjustment(window_->Lists().CurrentView()->Scrollbar());
  ASSERT_TRUE(PumpUntil([&] { return gtk_adjustment_get_upper(scroll) > 200; }));
  gtk_adjustment_set_value(scroll, gtk_adjustment_get_upper(scroll));
  Pump(20);
  ASSERT_GT(gtk_adjustment_get_value(scroll), 0);
  SendKey(GDK_Menu);
  GtkWidget* menu = GTK_WIDGET(window_->RowCommands().Menu());
  ASSERT_TRUE(PumpUntil([&] { return gtk_widget_get_visible(menu); }));
  Pump(20);
  GtkTreePath* start = nullptr;
  GtkTreePath* end = nullptr;
  ASSERT_TRUE(gtk_tree_view_get_visible_range(ListView(), &start, &end));
  EXPECT_EQ(window_->Lists().CurrentView()->ListRow(start), 0);
  gtk_tree_path_free(start);
  gtk_tree_path_free(end);
  // The menu stands below the row, inside the list's part of the screen.
  gint menu_x = 0;
  gint menu_y = 0;
  gdk_window_get_origin(gtk_widget_get_toplevel(menu)->window, &menu_x, &menu_y);
  gint list_x = 0;
  gint list_y = 0;
  gdk_window_get_origin(gtk_tree_view_get_bin_window(ListView()), &list_x, &list_y);
  EXPECT_GE(menu_y, list_y);
  EXPECT_LE(menu_y, list_y + 2 * 20 + 10);
  EXPECT_GE(menu_x, list_x);
  EXPECT_GT(Allocation(menu).height, 5 * 15);  // every item, no empty box with arrows
  gtk_menu_popdown(window_->RowCommands().Menu());
}

// The lists beyond the first four say what they are in the selector; the four keep theirs.
TEST_F(WindowUseTest, SelectorEntriesTellTheListsApart) {
  SendKey(GDK_Home);  // Procedure Main()
  SendKey(GDK_Menu);
  gtk_menu_shell_activate_item(GTK_MENU_SHELL(window_->RowCommands().Menu()),
                               window_->RowCommands().Item(RowMenuItem::Callees), TRUE);
  Pump();
  SendKey(GDK_Return);  // the callers of Helper, which Main calls
  GList* checks = gtk_container_get_children(GTK_CONTAINER(window_->Controls().ChecksMenu));
  for (GList* item = checks; item != nullptr; item = item->next) {
    gtk_menu_item_activate(GTK_MENU_ITEM(item->data));
    Pump();
  }
  g_list_free(checks);
  EXPECT_EQ(SelectorEntries(window_->Controls().ListSelector),
            (std::vector<std::string>{"Procedures(", "Calls in: Main(", "Helper(", "Unused",
                                      "Declare check"}));
}

// Copies hold the cells' texts, not the blanks that align them in the view; a separator is
// an empty line; and a right-click below the rows opens the menu for the whole list.
TEST_F(WindowUseTest, CopiesAreTrimmedAndCopyListIsReachableBelowTheRows) {
  SendPress(3, 300);  // the procedures list has two rows
  const RowMenu& menu = window_->RowCommands();
  ASSERT_TRUE(gtk_widget_get_visible(GTK_WIDGET(menu.Menu())));
  EXPECT_FALSE(gtk_widget_get_sensitive(menu.Item(RowMenuItem::CopyRow)));
  EXPECT_FALSE(gtk_widget_get_sensitive(menu.Item(RowMenuItem::Callers)));
  ASSERT_TRUE(gtk_widget_get_sensitive(menu.Item(RowMenuItem::CopyList)));
  gtk_menu_shell_activate_item(GTK_MENU_SHELL(menu.Menu()), menu.Item(RowMenuItem::CopyList), TRUE);
  Pump();
  EXPECT_EQ(Clipboard(),
            "Procedures...\n"
            "Line\tCalls\tCount\t(in) Function\tin File\n"
            "1\t\t\tProcedure Main()\tmain.pb\n"
            "4\t\t\tProcedure Helper(v)\tmain.pb\n");
  SendKey(GDK_End);
  SendKey(GDK_Return);  // the callers of Helper, after the file's separator row
  SendKey(GDK_Home);
  SendKey(GDK_Down);
  SendKey(GDK_c, GDK_CONTROL_MASK);
  EXPECT_EQ(Clipboard(), "2\tHelper(1)\t\t1 Procedure Main()\tmain.pb");
  SendKey(GDK_Home);  // the separator row: nothing to copy, the clipboard keeps its text
  SendKey(GDK_c, GDK_CONTROL_MASK);
  EXPECT_EQ(Clipboard(), "2\tHelper(1)\t\t1 Procedure Main()\tmain.pb");
  SendPress(3, 5);
  gtk_menu_shell_activate_item(GTK_MENU_SHELL(menu.Menu()), menu.Item(RowMenuItem::CopyList), TRUE);
  Pump();
  EXPECT_EQ(Clipboard().rfind("Proc: Helper(v)...\n"
                              "Line\tCalls\tCount\t(in) Function\tin File\n"
                              "\n"
                              "2\tHelper(1)\t\t1 Procedure Main()\tmain.pb\n",
                              0),
            0u);
}

namespace {

// A project with a Declare that differs, a procedure never called and one that only it calls.
class CheckListsTest : public WindowUseTest {
 protected:
  std::string MainText() override {
    return "Declare Helper(v, w)\n"
           "Procedure Main()\n  Helper(1)\nEndProcedure\n"
           "Procedure Helper(v)\nEndProcedure\n"
           "Procedure Spare()\n  Lonely()\nEndProcedure\n"
           "Procedure Lonely()\nEndProcedure\n"
           "Main()\n";
  }
  const RowMenu& Menu() { return window_->RowCommands(); }
  /// Opens the row menu with the Menu key and chooses `item`; false when it is greyed.
  bool ChooseFromMenu(RowMenuItem item) {
    SendKey(GDK_Menu);
    const bool applies = gtk_widget_get_sensitive(Menu().Item(item));
    if (applies) gtk_menu_shell_activate_item(GTK_MENU_SHELL(Menu().Menu()), Menu().Item(item), TRUE);
    gtk_menu_popdown(Menu().Menu());
    Pump();
    return applies;
  }
};

}  // namespace

// A procedure row names its procedure, and a Declare row the procedure it declares.
TEST_F(CheckListsTest, CallersAndCalleesActOnTheProcedureThatARowNames) {
  gtk_button_clicked(GTK_BUTTON(window_->Controls().AllProcCalls));
  SendKey(GDK_Home);  // Procedure Main()
  ASSERT_TRUE(ChooseFromMenu(RowMenuItem::Callers));
  EXPECT_EQ(History().Current()->Caption(), "Proc: Main()...");
  ChooseCheck(1);
  SendKey(GDK_Home);  // Declare Helper(v, w), which differs
  EXPECT_EQ(History().Current()->CellText(0, ColumnCalls), "Declare Helper(v, w)");
  SendKey(GDK_Menu);
  EXPECT_STREQ(gtk_menu_item_get_label(GTK_MENU_ITEM(Menu().Item(RowMenuItem::Callees))),
               "Callees of Helper");
  gtk_menu_popdown(Menu().Menu());
  ASSERT_TRUE(ChooseFromMenu(RowMenuItem::Callees));
  EXPECT_EQ(History().Current()->Kind(), ListKind::Callees);
}

// At the window's default size every column of a check is in view, each finding shows its
// head once, and the two reasons of Unused have colours of their own.
TEST_F(CheckListsTest, CheckListsFitShowTheHeadOnceAndTellTheirReasonsApart) {
  ChooseCheck(0);
  const ResultList& unused = *History().Current();
  ASSERT_EQ(unused.CellText(0, ColumnCount), "never called");
  ASSERT_EQ(unused.CellText(1, ColumnCount), "only called by unused");
  EXPECT_EQ(unused.CellText(0, ColumnFunction), "");
  const gtk_test::ShownCell never = gtk_test::CellShown(ListView(), 0, ColumnCount);
  const gtk_test::ShownCell only = gtk_test::CellShown(ListView(), 1, ColumnCount);
  EXPECT_NE(never.Background, only.Background);
  EXPECT_NE(only.Background, "(none)");
  for (const int check : {0, 1}) {
    ChooseCheck(check);
    Pump(50);
    GtkAdjustment* across = gtk_tree_view_get_hadjustment(ListView());
    EXPECT_LE(gtk_adjustment_get_upper(across), gtk_adjustment_get_page_size(across))
        << History().Current()->Caption();
  }
}

namespace {

// Main calls Helper, whose head stands in an include file.
class CalleeRowsTest : public WindowUseTest {
 protected:
  std::string MainText() override {
    project_.Write("lib.pbi", "; tools\nProcedure Helper(v)\nEndProcedure\n");
    return "XIncludeFile \"lib.pbi\"\nProcedure Main()\n  Helper(1)\nEndProcedure\nMain()\n";
  }
};

}  // namespace

// A callee's row says where the callee is; its Line and "in File" stay those of the call,
// and a double-click still lists the callee's callers.
TEST_F(CalleeRowsTest, ACalleeRowNamesTheCalleesFileAfterItsHead) {
  SendKey(GDK_Home);  // Procedure Main(): main.pb comes first
  SendKey(GDK_Menu);
  gtk_menu_shell_activate_item(GTK_MENU_SHELL(window_->RowCommands().Menu()),
                               window_->RowCommands().Item(RowMenuItem::Callees), TRUE);
  Pump();
  const ResultList& callees = *History().Current();
  ASSERT_EQ(callees.Kind(), ListKind::Callees);
  ASSERT_EQ(callees.RowCount(), 1);
  EXPECT_EQ(callees.CellText(0, ColumnLine), "3");
  EXPECT_EQ(callees.CellText(0, ColumnFunction), "     2 Procedure Helper(v) -> lib.pbi");
  EXPECT_EQ(callees.CellText(0, ColumnFile), "main.pb");
  SendKey(GDK_Return);
  EXPECT_EQ(History().Current()->Caption(), "Proc: Helper(v)...");
  EXPECT_EQ(History().Current()->RowCount(), 2);  // the separator and the call, of main.pb
}

// Every list's caption tells in its tooltip which main file is in use and how it was
// found, as the About dialog does; the captions keep their texts.
TEST_F(WindowUseTest, CaptionTooltipsAndAboutNameTheMainFileAndHowItWasFound) {
  const std::string main_file = "Main file: " + main_ + "\n(given)";
  const auto tooltip = [this] {
    gchar* text = gtk_widget_get_tooltip_text(GTK_WIDGET(window_->Lists().CurrentView()->Caption()));
    std::string shown = text != nullptr ? text : "";
    g_free(text);
    return shown;
  };
  EXPECT_EQ(tooltip(), "Procedures...\n" + main_file);
  SendKey(GDK_Return);
  EXPECT_EQ(tooltip(), "Proc: Helper(v)...\n" + main_file);
  EXPECT_STREQ(gtk_label_get_text(window_->Lists().CurrentView()->Caption()), "Proc: Helper(v)...");
  gtk_test::DialogAnswerer answerer;
  bool named = false;
  answerer.Then([&](GtkDialog* about) {
    GList* children = gtk_container_get_children(GTK_CONTAINER(about->vbox));
    for (GList* child = children; child != nullptr; child = child->next) {
      named = named || (GTK_IS_LABEL(child->data) &&
                        gtk_label_get_text(GTK_LABEL(child->data)) == main_file);
    }
    g_list_free(children);
    gtk_dialog_response(about, GTK_RESPONSE_CANCEL);
    return true;
  });
  gtk_button_clicked(GTK_BUTTON(window_->Controls().LogoButton));
  EXPECT_TRUE(named);
}

namespace {

// 3000 procedures, P0 to P2999, each called once from the main code: the Procedures list
// is longer than a hundred pages.
class LongListTest : public WindowUseTest {
 protected:
  std::string MainText() override {
    std::string text;
    for (int procedure = 0; procedure < kProcedures; ++procedure) {
      text += "Procedure P" + std::to_string(procedure) + "()\nEndProcedure\n";
    }
    for (int procedure = 0; procedure < kProcedures; ++procedure) {
      text += "P" + std::to_string(procedure) + "()\n";
    }
    return text;
  }
  /// Sends button events of `types` for `button` over the list's row `row`, which must be
  /// in sight.
  void SendButtons(std::initializer_list<GdkEventType> types, guint button, int32_t row) {
    ResultListView& view = *window_->Lists().CurrentView();
    GtkTreePath* path = view.NewPathOf(row);
    ASSERT_NE(path, nullptr);
    for (const GdkEventType type : types) {
      GdkEvent* event = gtk_test::NewButtonEventAt(ListView(), path, nullptr, type, button);
      gtk_main_do_event(event);
      gdk_event_free(event);
    }
    gtk_tree_path_free(path);
    Pump();
  }
  /// The procedure whose head is in the current list's row `row`: "P" and its number.
  std::string ProcedureAt(int32_t row) {
    const std::string head(History().Current()->CellText(row, ColumnFunction));
    const size_t start = head.find("Procedure P") + 10;
    return head.substr(start, head.find('(') - start);
  }

  static constexpr int kProcedures = 3000;
};

}  // namespace

// Far down the list, the row under the pointer is the one that a right-click selects and
// opens the menu for, and the one whose calls a double-click lists.
TEST_F(LongListTest, ClicksOnARowFarDownActOnThatRow) {
  ResultListView& view = *window_->Lists().CurrentView();
  ASSERT_GT(History().Current()->RowCount(), kProcedures - 1);
  gtk_range_set_value(view.Scrollbar(), 2500);
  Pump();
  const int32_t row = view.Window().First() + 7;
  ASSERT_GE(row, 2500);
  SendButtons({GDK_BUTTON_PRESS}, 3, row);
  EXPECT_EQ(History().Current()->SelectedRow(), row);
  EXPECT_EQ(gtk_menu_item_get_label(
                GTK_MENU_ITEM(window_->RowCommands().Item(RowMenuItem::Callers))),
            "Callers of " + ProcedureAt(row));
  gtk_menu_popdown(window_->RowCommands().Menu());
  Pump();
  const std::string procedure = ProcedureAt(row + 3);
  SendButtons({GDK_BUTTON_PRESS, GDK_BUTTON_RELEASE, GDK_BUTTON_PRESS, GDK_2BUTTON_PRESS,
               GDK_BUTTON_RELEASE},
              1, row + 3);
  ASSERT_EQ(History().Count(), 2);
  EXPECT_EQ(History().Current()->Caption(), "Proc: " + procedure + "()...");
}
