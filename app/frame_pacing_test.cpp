// The window's drawing is held back between frames while a listing runs, and never stays
// held: behind "Abbruch!" and after a listing the window draws as usual.
#include "app/frame_pacing.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "app/commands.h"
#include "app/gtk_test_support.h"

namespace {

using gtk_test::DialogAnswerer;
using gtk_test::Pump;

gboolean CountExpose(GtkWidget*, GdkEventExpose*, gpointer count) {
  ++*static_cast<int*>(count);
  return FALSE;
}

/// Asks for `widget` to be drawn whole and lets GDK draw what it may; returns how many
/// times it was drawn.
int DrawnAfterInvalidating(GtkWidget* widget, int& exposes) {
  exposes = 0;
  gtk_widget_queue_draw(widget);
  Pump();
  gdk_window_process_all_updates();
  return exposes;
}

class FramePacingWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!gtk_test::DisplayOpens()) GTEST_SKIP() << "no display";
    window_ = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    area_ = gtk_drawing_area_new();
    gtk_widget_set_size_request(area_, 200, 100);
    gtk_container_add(GTK_CONTAINER(window_), area_);
    g_signal_connect(area_, "expose-event", G_CALLBACK(CountExpose), &exposes_);
    gtk_widget_show_all(window_);
    ASSERT_TRUE(gtk_test::PumpUntil([this] { return exposes_ > 0; }));
    Pump(100);  // whatever showing the window brings (configure, focus) is drawn before
  }
  void TearDown() override {
    if (window_ != nullptr) gtk_widget_destroy(window_);
    Pump();
  }

  GdkWindow* Toplevel() { return gtk_widget_get_window(window_); }

  GtkWidget* window_ = nullptr;
  GtkWidget* area_ = nullptr;
  int exposes_ = 0;
};

TEST_F(FramePacingWindow, DrawsOnlyDueFramesWhileHoldingAndEverythingAfterRelease) {
  FramePacing pacing;
  pacing.Hold(nullptr);  // no window: nothing to hold
  EXPECT_FALSE(pacing.Holding());
  pacing.Hold(Toplevel());
  EXPECT_TRUE(pacing.Holding());
  EXPECT_EQ(DrawnAfterInvalidating(area_, exposes_), 0);

  // A frame draws between `Open` and `Close`, and only then.
  pacing.Open();
  EXPECT_GT(DrawnAfterInvalidating(area_, exposes_), 0);
  pacing.Close();
  EXPECT_EQ(DrawnAfterInvalidating(area_, exposes_), 0);
  pacing.Open();
  EXPECT_GT(DrawnAfterInvalidating(area_, exposes_), 0);

  // Released while a frame is open, then again, and held and released once more: each
  // freeze is thawed once (a second thaw is a critical, fatal here), and the window draws.
  pacing.Release();
  pacing.Release();
  EXPECT_FALSE(pacing.Holding());
  EXPECT_GT(DrawnAfterInvalidating(area_, exposes_), 0);
  pacing.Hold(Toplevel());
  pacing.Close();  // no frame open: stays held, no second freeze
  EXPECT_EQ(DrawnAfterInvalidating(area_, exposes_), 0);
  pacing.Release();
  EXPECT_GT(DrawnAfterInvalidating(area_, exposes_), 0);
}

// 20 procedures of 10 000 lines: All Proc-Calls runs long enough for a Stop click in its
// first Stop poll.
constexpr int kProcedures = 20;
constexpr int kLines = 10000;

class FramePacingListing : public gtk_test::WindowTest {};

TEST_F(FramePacingListing, WindowDrawsBehindAbbruchAndAfterTheListing) {
  gtk_test::TempProject project;
  TakeUpMainFile(*window_, gtk_test::WriteLongProject(project, kProcedures, kLines));
  Pump();
  GtkWidget* toolbar_stop = window_->Controls().StopButton;
  int exposes = 0;
  GtkWidget* list = nullptr;
  int drawn_behind_message = -1;
  DialogAnswerer answerer;
  answerer.OnMessage([&] {
    list = GTK_WIDGET(window_->Lists().CurrentView()->ListView());
    g_signal_connect(list, "expose-event", G_CALLBACK(CountExpose), &exposes);
    drawn_behind_message = DrawnAfterInvalidating(list, exposes);
  });
  // Stop is clicked in the listing's first Stop poll, where its window works first.
  g_idle_add_full(G_PRIORITY_HIGH, +[](gpointer stop) {
    gtk_button_clicked(GTK_BUTTON(stop));
    return FALSE;
  }, toolbar_stop, nullptr);
  gtk_button_clicked(GTK_BUTTON(window_->Controls().AllProcCalls));
  Pump();
  ASSERT_EQ(answerer.Messages(), std::vector<std::string>{"PB Sourcetrek|Abbruch!"});
  ASSERT_NE(list, nullptr);
  EXPECT_GT(drawn_behind_message, 0);
  EXPECT_GT(DrawnAfterInvalidating(list, exposes), 0);

  // A listing that runs to its end leaves the window drawing too.
  gtk_button_clicked(GTK_BUTTON(window_->Controls().AllProcCalls));
  Pump();
  GtkWidget* finished = GTK_WIDGET(window_->Lists().CurrentView()->ListView());
  g_signal_connect(finished, "expose-event", G_CALLBACK(CountExpose), &exposes);
  EXPECT_GT(DrawnAfterInvalidating(finished, exposes), 0);
  EXPECT_EQ(answerer.Messages().size(), 1u);
}

/// Counts the widgets drawn while `window` runs a listing.
gboolean CountExposeDuringListing(GSignalInvocationHint*, guint, const GValue*, gpointer data) {
  auto& [window, exposes] = *static_cast<std::pair<MainWindow*, int>*>(data);
  if (window->ListingRuns()) ++exposes;
  return TRUE;
}

TEST_F(FramePacingListing, WindowIsDrawnWhileAListingRuns) {
  gtk_test::TempProject project;
  TakeUpMainFile(*window_, gtk_test::WriteLongProject(project, kProcedures, kLines));
  Pump();
  std::pair<MainWindow*, int> drawn{window_.get(), 0};
  const guint signal = g_signal_lookup("expose-event", GTK_TYPE_WIDGET);
  const gulong hook =
      g_signal_add_emission_hook(signal, 0, &CountExposeDuringListing, &drawn, nullptr);
  // Something to draw in every turn of the window, as a list that grows on screen has.
  const guint damage = g_timeout_add(2, +[](gpointer window) -> gboolean {
    gtk_widget_queue_draw(GTK_WIDGET(window));
    return TRUE;
  }, window_->Window());
  gtk_button_clicked(GTK_BUTTON(window_->Controls().AllProcCalls));
  g_source_remove(damage);
  g_signal_remove_emission_hook(signal, hook);
  Pump();
  EXPECT_GT(drawn.second, 0);
  EXPECT_EQ(window_->Lists().History().Count(), 2);
}

}  // namespace
