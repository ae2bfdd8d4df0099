#include "app/about_dialog.h"

#include <string>

#include "app/dialogs.h"
#include "app/program_directory_posix.h"
#include "frontend/display_text.h"
#include "frontend/program_info.h"

namespace {

// The program's own texts, held as ISO-8859-15 bytes like every literal of the program.
constexpr char kProgramName[] = "PB Sourcetrek";
constexpr char kRights[] = "Copyright (c) 2026 The PB Sourcetrek developers";
constexpr char kComments[] = "Lists PB-Terms recursive & more\nA PureBasic-Linux-Tool";
constexpr char kLicence[] = "Licensed under the MIT License";

// The image of `path`, or nullptr when it is missing or unreadable (silently: a machine
// without the logo file still shows the dialog).
GdkPixbuf* LoadLogo(const char* path) {
  return gdk_pixbuf_new_from_file(path, nullptr);
}

std::string Display(const char* text) { return ToDisplayText(text); }

void SetTexts(GtkAboutDialog* about, const std::string& website) {
  gtk_about_dialog_set_program_name(about, Display(kProgramName).c_str());
  gtk_about_dialog_set_version(about, Display(ProgramVersion).c_str());
  gtk_about_dialog_set_copyright(about, Display(kRights).c_str());
  gtk_about_dialog_set_comments(about, Display(kComments).c_str());
  gtk_about_dialog_set_license(about, Display(kLicence).c_str());
  // A file path is bytes, and the URL escapes every byte outside ASCII: no conversion.
  if (!website.empty()) gtk_about_dialog_set_website(about, website.c_str());
}

}  // namespace

std::string InstalledReadmeUrl(std::string_view program_directory) {
  // The README's place relative to the installed programs comes from the install layout,
  // so any prefix (the package's /usr, a user's ~/.local) finds its own copy.
  const std::string relative = std::string(program_directory) + "/" + PBST_README_FROM_BINDIR;
  gchar* path = g_canonicalize_filename(relative.c_str(), "/");
  gchar* url = g_file_test(path, G_FILE_TEST_IS_REGULAR)
                   ? g_filename_to_uri(path, nullptr, nullptr)
                   : nullptr;
  std::string result = url != nullptr ? url : "";
  g_free(url);
  g_free(path);
  return result;
}

GtkWidget* CreateAboutDialog(GtkWindow* parent, const char* logo_path,
                             const std::string& website) {
  GdkPixbuf* logo = LoadLogo(logo_path);
  GtkWidget* dialog = gtk_about_dialog_new();
  gtk_window_set_transient_for(GTK_WINDOW(dialog), parent);
  gtk_window_set_modal(GTK_WINDOW(dialog), TRUE);
  SetTexts(GTK_ABOUT_DIALOG(dialog), website);
  if (logo != nullptr) {
    gtk_about_dialog_set_logo(GTK_ABOUT_DIALOG(dialog), logo);
    g_object_unref(logo);  // the dialog holds its own reference
  }
  return dialog;
}

void ShowAbout(GtkWindow* parent, const std::string& main_file) {
  GtkWidget* dialog =
      CreateAboutDialog(parent, AboutLogoPath, InstalledReadmeUrl(ProgramDirectory()));
  if (!main_file.empty()) {
    GtkWidget* label = gtk_label_new(ToDisplayText(main_file).c_str());
    gtk_label_set_selectable(GTK_LABEL(label), TRUE);
    gtk_box_pack_start(GTK_BOX(GTK_DIALOG(dialog)->vbox), label, FALSE, FALSE, 4);
    gtk_widget_show(label);
  }
  RunDialog(GTK_DIALOG(dialog));
  gtk_widget_destroy(dialog);
}
