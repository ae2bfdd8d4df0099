#include "app/about_dialog.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "app/gtk_test_support.h"

namespace fs = std::filesystem;

namespace {

int OpenAboutDialogs() {
  int count = 0;
  GList* windows = gtk_window_list_toplevels();
  for (GList* item = windows; item != nullptr; item = item->next) {
    count += GTK_IS_ABOUT_DIALOG(item->data) ? 1 : 0;
  }
  g_list_free(windows);
  return count;
}

class AboutDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!gtk_test::DisplayOpens()) {
      GTEST_SKIP() << "no display";
    }
    folder_ = fs::temp_directory_path() / ("about_dialog_test_" + std::to_string(getpid()));
    fs::create_directories(folder_);
    WriteLogo();
    parent_ = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  }

  void TearDown() override {
    if (parent_ != nullptr) {
      gtk_widget_destroy(parent_);
    }
    fs::remove_all(folder_);
  }

  void WriteLogo() const {
    GdkPixbuf* image = gdk_pixbuf_new(GDK_COLORSPACE_RGB, TRUE, 8, 48, 40);
    gdk_pixbuf_fill(image, 0x2050a0ff);
    ASSERT_TRUE(gdk_pixbuf_save(image, logo().c_str(), "png", nullptr, nullptr));
    g_object_unref(image);
  }

  std::string logo() const { return (folder_ / "logo.png").string(); }
  std::string missing() const { return (folder_ / "missing.png").string(); }
  GtkWindow* parent() const { return GTK_WINDOW(parent_); }

  // Closes the About dialog as its Close button does, once it is on screen.
  static gboolean CloseShownAbout(gpointer closed) {
    GList* windows = gtk_window_list_toplevels();
    for (GList* item = windows; item != nullptr; item = item->next) {
      if (GTK_IS_ABOUT_DIALOG(item->data) && gtk_widget_get_mapped(GTK_WIDGET(item->data))) {
        gtk_dialog_response(GTK_DIALOG(item->data), GTK_RESPONSE_CANCEL);
        ++*static_cast<int*>(closed);
        g_list_free(windows);
        return FALSE;
      }
    }
    g_list_free(windows);
    return TRUE;
  }

  fs::path folder_;
  GtkWidget* parent_ = nullptr;
};

TEST_F(AboutDialogTest, ShowsTheProgramsTextsConvertedToUtf8) {
  GtkWidget* dialog = CreateAboutDialog(parent(), missing().c_str(),
                                        "file:///usr/share/doc/pb-sourcetrek/README.md");
  GtkAboutDialog* about = GTK_ABOUT_DIALOG(dialog);
  EXPECT_STREQ(gtk_about_dialog_get_program_name(about), "PB Sourcetrek");
  EXPECT_STREQ(gtk_about_dialog_get_version(about), "0.20\xC3\x9F");
  EXPECT_STREQ(gtk_about_dialog_get_comments(about),
               "Lists PB-Terms recursive & more\nA PureBasic-Linux-Tool");
  EXPECT_STREQ(gtk_about_dialog_get_copyright(about),
               "Copyright (c) 2026 The PB Sourcetrek developers");
  EXPECT_STREQ(gtk_about_dialog_get_license(about), "Licensed under the MIT License");
  EXPECT_STREQ(gtk_about_dialog_get_website(about), "file:///usr/share/doc/pb-sourcetrek/README.md");
  EXPECT_TRUE(gtk_window_get_modal(GTK_WINDOW(dialog)));
  EXPECT_EQ(gtk_window_get_transient_for(GTK_WINDOW(dialog)), parent());
  gtk_widget_destroy(dialog);
}

TEST_F(AboutDialogTest, LinksTheReadmeInstalledBesideTheProgramOrNothing) {
  // An installed copy as `cmake --install` lays it out, in a prefix with a blank.
  const fs::path prefix = folder_ / "my prefix";
  fs::create_directories(prefix / "bin");
  EXPECT_EQ(InstalledReadmeUrl((prefix / "bin").string()), "");
  fs::create_directories(prefix / "share/doc/pb-sourcetrek");
  std::ofstream(prefix / "share/doc/pb-sourcetrek/README.md") << "# PB Sourcetrek\n";
  const std::string url = InstalledReadmeUrl((prefix / "bin").string());
  EXPECT_EQ(url, "file://" + folder_.string() + "/my%20prefix/share/doc/pb-sourcetrek/README.md");

  GtkWidget* linked = CreateAboutDialog(parent(), missing().c_str(), url);
  EXPECT_EQ(gtk_about_dialog_get_website(GTK_ABOUT_DIALOG(linked)), url);
  gtk_widget_destroy(linked);
  GtkWidget* unlinked = CreateAboutDialog(parent(), missing().c_str(), "");
  EXPECT_EQ(gtk_about_dialog_get_website(GTK_ABOUT_DIALOG(unlinked)), nullptr);
  gtk_widget_destroy(unlinked);
}

TEST_F(AboutDialogTest, LogoIsTheImageOfTheFileOrNoneWhenUnreadable) {
  GtkWidget* with_logo = CreateAboutDialog(parent(), logo().c_str(), "");
  GdkPixbuf* shown = gtk_about_dialog_get_logo(GTK_ABOUT_DIALOG(with_logo));
  ASSERT_NE(shown, nullptr);
  EXPECT_EQ(gdk_pixbuf_get_width(shown), 48);
  EXPECT_EQ(gdk_pixbuf_get_height(shown), 40);
  gtk_widget_destroy(with_logo);

  GtkWidget* without = CreateAboutDialog(parent(), missing().c_str(), "");
  EXPECT_EQ(gtk_about_dialog_get_logo(GTK_ABOUT_DIALOG(without)), nullptr);
  gtk_widget_destroy(without);

  std::ofstream(folder_ / "broken.png") << "not an image";
  GtkWidget* broken = CreateAboutDialog(parent(), (folder_ / "broken.png").c_str(), "");
  EXPECT_EQ(gtk_about_dialog_get_logo(GTK_ABOUT_DIALOG(broken)), nullptr);
  gtk_widget_destroy(broken);
}

TEST_F(AboutDialogTest, OpensAndClosesRepeatedlyLeavingNoDialogOrImage) {
  for (int round = 0; round < 4; ++round) {
    const std::string path = round % 2 == 0 ? logo() : missing();
    GtkWidget* dialog = CreateAboutDialog(parent(), path.c_str(), "");
    GdkPixbuf* shown = gtk_about_dialog_get_logo(GTK_ABOUT_DIALOG(dialog));
    EXPECT_EQ(shown != nullptr, round % 2 == 0);
    if (shown != nullptr) {
      g_object_add_weak_pointer(G_OBJECT(shown), reinterpret_cast<gpointer*>(&shown));
    }
    int closed = 0;
    g_timeout_add(20, CloseShownAbout, &closed);
    gtk_dialog_run(GTK_DIALOG(dialog));
    gtk_widget_destroy(dialog);
    gtk_test::Pump();
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(shown, nullptr) << "logo image still alive in round " << round;
    EXPECT_EQ(OpenAboutDialogs(), 0);
  }
}

TEST_F(AboutDialogTest, ShowAboutReturnsOnceClosedAndDestroysTheDialog) {
  for (int round = 0; round < 3; ++round) {
    int closed = 0;
    g_timeout_add(20, CloseShownAbout, &closed);
    ShowAbout(parent());
    gtk_test::Pump();
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(OpenAboutDialogs(), 0);
  }
}

using AboutInWindow = gtk_test::WindowTest;

TEST_F(AboutInWindow, LogoButtonOpensTheModalAboutDialogUntilItIsClosed) {
  ASSERT_NE(window_->Controls().LogoButton, nullptr);
  for (int round = 0; round < 2; ++round) {
    gtk_test::DialogAnswerer answerer;
    answerer.Then(gtk_test::CloseDialog());
    gtk_button_clicked(GTK_BUTTON(window_->Controls().LogoButton));
    EXPECT_EQ(answerer.Pending(), 0u);
    EXPECT_EQ(answerer.Dialogs(), std::vector<std::string>{"About PB Sourcetrek"});
    gtk_test::Pump();
    EXPECT_EQ(OpenAboutDialogs(), 0);
  }
}

}  // namespace
