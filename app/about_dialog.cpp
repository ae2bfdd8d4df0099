#include "app/about_dialog.h"

#include <string>

#include "app/dialogs.h"
#include "listings/display_text.h"

namespace {

// The program's own texts, held as ISO-8859-15 bytes like every literal of the program
// ("\xDF" is the "ß" of the version).
constexpr char kProgramName[] = "PB Sourcetrek";
constexpr char kVersion[] = "0.20\xDF";
constexpr char kRights[] = "Copyright (c) 2026 The PB Sourcetrek developers";
constexpr char kComments[] = "Lists PB-Terms recursive & more\nA PureBasic-Linux-Tool";
constexpr char kLicence[] = "Licensed under the MIT License";
constexpr char kWebsite[] = "https://pb-sourcetrek.example.org/";

// The image of `path`, or nullptr when it is missing or unreadable (silently: a machine
// without the logo file still shows the dialog).
GdkPixbuf* LoadLogo(const char* path) {
  return gdk_pixbuf_new_from_file(path, nullptr);
}

std::string Display(const char* text) { return ToDisplayText(text); }

void SetTexts(GtkAboutDialog* about) {
  gtk_about_dialog_set_program_name(about, Display(kProgramName).c_str());
  gtk_about_dialog_set_version(about, Display(kVersion).c_str());
  gtk_about_dialog_set_copyright(about, Display(kRights).c_str());
  gtk_about_dialog_set_comments(about, Display(kComments).c_str());
  gtk_about_dialog_set_license(about, Display(kLicence).c_str());
  gtk_about_dialog_set_website(about, Display(kWebsite).c_str());
}

}  // namespace

GtkWidget* CreateAboutDialog(GtkWindow* parent, const char* logo_path) {
  GdkPixbuf* logo = LoadLogo(logo_path);
  GtkWidget* dialog = gtk_about_dialog_new();
  gtk_window_set_transient_for(GTK_WINDOW(dialog), parent);
  gtk_window_set_modal(GTK_WINDOW(dialog), TRUE);
  SetTexts(GTK_ABOUT_DIALOG(dialog));
  if (logo != nullptr) {
    gtk_about_dialog_set_logo(GTK_ABOUT_DIALOG(dialog), logo);
    g_object_unref(logo);  // the dialog holds its own reference
  }
  return dialog;
}

void ShowAbout(GtkWindow* parent) {
  GtkWidget* dialog = CreateAboutDialog(parent, AboutLogoPath);
  RunDialog(GTK_DIALOG(dialog));
  gtk_widget_destroy(dialog);
}
