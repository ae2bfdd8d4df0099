// The row menu and the row keys in the real window, on a read-only project that nothing
// may change: a right-click opens the menu for the row under the pointer, its items list
// the callees and copy the list, Return and Ctrl+C act on the selected row, and a single
// click only selects.
#include "app/row_menu.h"

#include <gdk/gdkkeysyms.h>
#include <gtest/gtest.h>

#include <string>

#include "app/gtk_test_support.h"
#include "app/main_window.h"
#include "source/testing/folder_snapshot.h"
#include "source/testing/test_folder.h"

namespace {

using gtk_test::Pump;

class RowMenuTest : public gtk_test::WindowTest {
 protected:
  void SetUp() override {
    gtk_test::WindowTest::SetUp();
    if (IsSkipped()) return;
    project_.Write("inc.pbi", "Procedure Tool()\n  Helper(3)\nEndProcedure\n");
    main_ = project_.Write("main.pb",
                           "XIncludeFile \"inc.pbi\"\n"
                           "Procedure Main()\n"
                           "  Helper(1) : helper(2)\n"
                           "  Tool()\n"
                           "EndProcedure\n"
                           "Procedure Helper(v)\n"
                           "EndProcedure\n"
                           "Main()\n");
    RemoveWritePermissions(project_.Path());
    before_ = SnapshotOf(project_.Path());
    TakeUpMainFile(*window_, main_);
    Pump(20);
  }
  void TearDown() override {
    if (!IsSkipped()) {
      EXPECT_EQ(SnapshotOf(project_.Path()), before_);
    }
    gtk_test::WindowTest::TearDown();
  }

  ListHistory& History() { return window_->Lists().History(); }
  GtkTreeView* ListView() { return window_->Lists().CurrentView()->ListView(); }
  GtkWidget* Item(RowMenuItem item) { return window_->RowCommands().Item(item); }
  bool MenuShown() { return gtk_widget_get_visible(GTK_WIDGET(window_->RowCommands().Menu())); }

  /// Sends a button event of `type` for `button` over the "Calls" cell of `row`.
  void SendButton(GdkEventType type, guint button, int row) {
    GtkTreePath* path = gtk_tree_path_new_from_indices(row, -1);
    GdkEvent* event = gtk_test::NewButtonEventAt(
        ListView(), path, gtk_tree_view_get_column(ListView(), 1), type, button);
    gtk_tree_path_free(path);
    gtk_widget_event(GTK_WIDGET(ListView()), event);
    gdk_event_free(event);
    Pump();
  }
  /// Sends the press and release of `keyval` with `state` to the list on screen.
  void SendKey(guint keyval, guint state = 0) {
    gtk_test::SendKey(GTK_WIDGET(ListView()), keyval, state);
  }
  /// Chooses `item` of the open menu as a click on it does.
  void Choose(RowMenuItem item) {
    gtk_menu_shell_activate_item(GTK_MENU_SHELL(window_->RowCommands().Menu()), Item(item), TRUE);
    Pump();
  }
  std::string Clipboard() { return gtk_test::ClipboardText(); }
  std::string Label(RowMenuItem item) {
    return gtk_menu_item_get_label(GTK_MENU_ITEM(Item(item)));
  }

  TestFolder project_;
  std::string main_;
  Snapshot before_;
};

constexpr char kCallsInMain[] =
    "Calls in: Main()...\n"
    "Line\tCalls\tCount\t(in) Function\tin File\n"
    "3\tHelper(1) : helper(2)\t\t6 Procedure Helper(v)\tmain.pb\n"
    "4\tTool()\t\t1 Procedure Tool() -> inc.pbi\tmain.pb\n";

}  // namespace

TEST_F(RowMenuTest, ASinglePressOnlySelectsTheRow) {
  SendButton(GDK_BUTTON_PRESS, 1, 1);
  SendButton(GDK_BUTTON_RELEASE, 1, 1);
  EXPECT_EQ(History().Count(), 1);
  EXPECT_EQ(History().Current()->SelectedRow(), 1);
  EXPECT_FALSE(MenuShown());
}

TEST_F(RowMenuTest, RightClickOpensTheMenuWhoseItemsListCalleesAndCopyTheList) {
  SendButton(GDK_BUTTON_PRESS, 3, 0);
  ASSERT_TRUE(MenuShown());
  EXPECT_EQ(History().Current()->SelectedRow(), 0);  // the row under the pointer
  EXPECT_EQ(Label(RowMenuItem::Callers), "Callers of Main");
  EXPECT_EQ(Label(RowMenuItem::Callees), "Callees of Main");
  for (int item = 0; item < static_cast<int>(RowMenuItem::Count); ++item) {
    EXPECT_TRUE(gtk_widget_get_sensitive(Item(static_cast<RowMenuItem>(item)))) << item;
  }
  Choose(RowMenuItem::Callees);
  EXPECT_FALSE(MenuShown());
  ASSERT_EQ(History().Count(), 2);
  EXPECT_EQ(History().Current()->Kind(), ListKind::Callees);
  EXPECT_STREQ(gtk_label_get_text(window_->Lists().CurrentView()->Caption()), "Calls in: Main()...");
  EXPECT_EQ(History().SelectorEntries().back(), "Calls in: Main(");
  EXPECT_EQ(History().Current()->Row(0).Marks, RowMarks(RowMark::CalledAboveHead));
  SendButton(GDK_BUTTON_PRESS, 3, 1);
  ASSERT_TRUE(MenuShown());
  EXPECT_EQ(Label(RowMenuItem::Callers), "Callers of Tool");  // the callee, as a double-click
  Choose(RowMenuItem::CopyList);
  EXPECT_EQ(Clipboard(), kCallsInMain);
  EXPECT_EQ(History().Count(), 2);
}

TEST_F(RowMenuTest, ItemsThatDoNotApplyToTheRowAreGreyed) {
  gtk_button_clicked(GTK_BUTTON(window_->Controls().AllProcCalls));
  Pump();
  // Row 0 is Main's procedure row (no procedure in its "(in) Function" cell); row 2 a
  // closing row.
  SendButton(GDK_BUTTON_PRESS, 3, 2);
  ASSERT_TRUE(MenuShown());
  EXPECT_EQ(Label(RowMenuItem::Callees), "Callees of ...");
  EXPECT_FALSE(gtk_widget_get_sensitive(Item(RowMenuItem::Callers)));
  EXPECT_FALSE(gtk_widget_get_sensitive(Item(RowMenuItem::Callees)));
  EXPECT_FALSE(gtk_widget_get_sensitive(Item(RowMenuItem::JumpToLine)));
  EXPECT_TRUE(gtk_widget_get_sensitive(Item(RowMenuItem::CopyRow)));
  EXPECT_TRUE(gtk_widget_get_sensitive(Item(RowMenuItem::CopyList)));
  gtk_menu_popdown(window_->RowCommands().Menu());
}

TEST_F(RowMenuTest, ReturnListsTheCallersCtrlCCopiesTheRowAndTheMenuKeyOpensTheMenu) {
  SendButton(GDK_BUTTON_PRESS, 3, 0);
  Choose(RowMenuItem::Callees);
  History().Current()->SelectRow(0);
  window_->Lists().Sync();
  SendKey(GDK_c, GDK_CONTROL_MASK);
  EXPECT_EQ(Clipboard(), "3\tHelper(1) : helper(2)\t\t6 Procedure Helper(v)\tmain.pb");
  EXPECT_EQ(History().Count(), 2);
  SendKey(GDK_Menu);
  EXPECT_TRUE(MenuShown());
  gtk_menu_popdown(window_->RowCommands().Menu());
  SendKey(GDK_Return);
  ASSERT_EQ(History().Count(), 3);
  EXPECT_EQ(History().Current()->Kind(), ListKind::ProcedureCalls);
  EXPECT_EQ(History().Current()->Subject(), "Helper(v)");
  EXPECT_EQ(History().Current()->RowCount(), 4);  // calls in main.pb and in inc.pbi
}
