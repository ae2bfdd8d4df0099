// The window survives a hasty user: a burst of clicks on every control during a long
// listing, Stop pressed again and again, Back and the selector pressed until one list is
// left, Open cancelled many times; afterwards the lists are intact and the window works.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/commands.h"
#include "app/gtk_test_support.h"
#include "app/main_window.h"

namespace {

using gtk_test::CancelFileDialog;
using gtk_test::DialogAnswerer;
using gtk_test::EnterText;
using gtk_test::Pump;
using gtk_test::PumpUntil;

// 20 procedures of 10 000 lines each, each calling the next once: All Proc-Calls has work
// for many Stop poll intervals even in a fast build, while stopping it in the first one
// stays quick.
constexpr int kProcedures = 20;

class WindowBurst : public gtk_test::WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    if (IsSkipped()) return;
    main_ = gtk_test::WriteLongProject(project_, kProcedures, 10000);
    TakeUpMainFile(*window_, main_);
  }

  ListHistory& History() { return window_->Lists().History(); }
  const Toolbar& Bar() { return window_->Controls(); }

  /// Clicks All Proc-Calls and runs `during` once, at the first time the window works
  /// during the listing. The listing runs the loop only from its Stop poll and at its end,
  /// so a callback queued right before the click can fire nowhere else; it goes ahead of
  /// the redraws the pump has to do, so it fires in the very first pump. True when
  /// `during` ran in a Stop poll: the listing running and Stop still on, which it no longer
  /// is in the pass at the listing's end.
  bool DuringAllProcCalls(std::function<void()> during) {
    during_ = std::move(during);
    during_ran_in_listing_ = false;
    g_idle_add_full(G_PRIORITY_HIGH, &WindowBurst::RunDuring, this, nullptr);
    gtk_button_clicked(GTK_BUTTON(Bar().AllProcCalls));
    Pump();
    return during_ran_in_listing_;
  }

  // Notes whether the listing runs with Stop enabled, then runs `during_`; fires once.
  static gboolean RunDuring(gpointer self) {
    auto& test = *static_cast<WindowBurst*>(self);
    test.during_ran_in_listing_ =
        test.window_->ListingRuns() && gtk_widget_get_sensitive(test.Bar().StopButton);
    test.during_();
    return FALSE;
  }

  /// Clicks every control but Stop once, and moves the selector to its first entry.
  void ClickEverythingButStop() {
    for (GtkWidget* button : {Bar().Open, Bar().Back, Bar().JumpToLine, Bar().AllProcCalls,
                              Bar().Search, Bar().LogoButton}) {
      if (button != nullptr) gtk_button_clicked(GTK_BUTTON(button));
    }
    gtk_combo_box_set_active(GTK_COMBO_BOX(Bar().ListSelector), 0);
  }

  /// Rows of the tree view on screen.
  int ShownRows() {
    GtkTreeModel* rows = gtk_tree_view_get_model(window_->Lists().CurrentView()->ListView());
    return gtk_tree_model_iter_n_children(rows, nullptr);
  }

  gtk_test::TempProject project_;
  std::string main_;
  std::function<void()> during_;
  bool during_ran_in_listing_ = false;
};

TEST_F(WindowBurst, BurstsStopsBacksAndCancelledOpensLeaveTheListsIntact) {
  // One answerer for every dialog of the test, message boxes and file dialogs alike.
  DialogAnswerer answerer;
  ASSERT_EQ(History().At(0).RowCount(), kProcedures);

  // A burst of every control, then Stop five times, and five more while "Abbruch!" is on
  // screen: one "Abbruch!", nothing else opened.
  answerer.OnMessage([&] {
    for (int stop = 0; stop < 5; ++stop) gtk_button_clicked(GTK_BUTTON(Bar().StopButton));
  });
  EXPECT_TRUE(DuringAllProcCalls([&] {
    for (int round = 0; round < 20; ++round) ClickEverythingButStop();
    for (int stop = 0; stop < 5; ++stop) gtk_button_clicked(GTK_BUTTON(Bar().StopButton));
  }));
  answerer.OnMessage({});
  EXPECT_EQ(answerer.Messages(), std::vector<std::string>{"PB Sourcetrek|Abbruch!"});
  EXPECT_TRUE(answerer.Dialogs().empty());
  ASSERT_EQ(History().Count(), 2);
  EXPECT_EQ(History().CurrentIndex(), 1);
  EXPECT_GT(History().At(1).RowCount(), 0);
  EXPECT_EQ(ShownRows(), History().At(1).RowCount());
  EXPECT_FALSE(gtk_widget_get_sensitive(Bar().StopButton));

  // Stop clicked with no listing running does nothing.
  for (int stop = 0; stop < 5; ++stop) gtk_button_clicked(GTK_BUTTON(Bar().StopButton));
  Pump();
  EXPECT_EQ(answerer.Messages().size(), 1u);

  // Three more stopped listings, then the selector and Back in turns until one list is left.
  for (int more = 0; more < 3; ++more) {
    EXPECT_TRUE(DuringAllProcCalls([&] { gtk_button_clicked(GTK_BUTTON(Bar().StopButton)); }));
  }
  ASSERT_EQ(History().Count(), 5);
  EXPECT_EQ(answerer.Messages().size(), 4u);
  for (int press = 0; press < 12; ++press) {
    gtk_combo_box_set_active(GTK_COMBO_BOX(Bar().ListSelector), press % History().Count());
    Pump();
    gtk_button_clicked(GTK_BUTTON(Bar().Back));
    Pump();
  }
  ASSERT_EQ(History().Count(), 1);
  EXPECT_EQ(History().CurrentIndex(), 0);
  EXPECT_EQ(History().At(0).Subject(), "Procedures");
  EXPECT_EQ(History().At(0).RowCount(), kProcedures);
  EXPECT_EQ(ShownRows(), kProcedures);
  EXPECT_EQ(gtk_combo_box_get_active(GTK_COMBO_BOX(Bar().ListSelector)), 0);
  EXPECT_FALSE(gtk_widget_get_sensitive(Bar().Back));

  // Open cancelled ten times keeps the main file and the list; each new file dialog is
  // answered, also when it takes the place in memory of the one before.
  for (int open = 0; open < 10; ++open) {
    answerer.Then(CancelFileDialog());
    gtk_button_clicked(GTK_BUTTON(Bar().Open));
    Pump();
    ASSERT_EQ(answerer.Pending(), 0u);
  }
  EXPECT_EQ(answerer.Dialogs().size(), 10u);
  EXPECT_EQ(window_->TakenUp().MainFile, main_);
  EXPECT_EQ(History().Count(), 1);
  EXPECT_EQ(ShownRows(), kProcedures);

  // Still usable: a Search for P7 lists its one call, in P6.
  answerer.Then(EnterText("P7"));
  gtk_button_clicked(GTK_BUTTON(Bar().Search));
  ASSERT_TRUE(PumpUntil([&] { return History().Count() == 2 && !window_->ListingRuns(); }, 20000));
  const ResultList& calls = *History().Current();
  EXPECT_EQ(calls.Kind(), ListKind::ProcedureCalls);
  ASSERT_EQ(calls.RowCount(), 2);
  EXPECT_NE(calls.CellText(1, 3).find("Procedure P6()"), std::string::npos);
  EXPECT_EQ(ShownRows(), 2);
  EXPECT_EQ(answerer.Pending(), 0u);
  EXPECT_EQ(answerer.Messages().size(), 4u);  // one "Abbruch!" per stopped listing
}

}  // namespace
