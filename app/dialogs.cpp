#include "app/dialogs.h"

#include <initializer_list>

#include "frontend/display_text.h"

namespace {

// Held as ISO-8859-15 bytes like every literal of the program; converted on the way out.
constexpr char kChooseFileTitle[] = "Datei w\xE4hlen";

GtkWidget* NewTitledDialog(GtkWindow* parent) {
  GtkWidget* dialog = gtk_dialog_new_with_buttons(
      DialogTitle, parent, GtkDialogFlags(GTK_DIALOG_MODAL | GTK_DIALOG_NO_SEPARATOR),
      GTK_STOCK_OK, GTK_RESPONSE_OK, nullptr);
  gtk_dialog_set_default_response(GTK_DIALOG(dialog), GTK_RESPONSE_OK);
  gtk_window_set_position(GTK_WINDOW(dialog), GTK_WIN_POS_CENTER_ON_PARENT);
  return dialog;
}

GtkWidget* NewPromptRow(std::string_view prompt, GtkWidget* entry) {
  GtkWidget* row = gtk_hbox_new(FALSE, 6);
  gtk_container_set_border_width(GTK_CONTAINER(row), 8);
  GtkWidget* label = gtk_label_new(ToDisplayText(prompt).c_str());
  gtk_box_pack_start(GTK_BOX(row), label, FALSE, FALSE, 0);
  gtk_box_pack_start(GTK_BOX(row), entry, TRUE, TRUE, 0);
  return row;
}

GtkFileFilter* NewFilter(const char* name, std::initializer_list<const char*> patterns) {
  GtkFileFilter* filter = gtk_file_filter_new();
  gtk_file_filter_set_name(filter, name);
  for (const char* pattern : patterns) gtk_file_filter_add_pattern(filter, pattern);
  return filter;
}

}  // namespace

gint RunDialog(GtkDialog* dialog) {
  return gtk_dialog_run(dialog);
}

void ShowMessage(GtkWindow* parent, std::string_view text) {
  GtkWidget* dialog =
      gtk_message_dialog_new(parent, GTK_DIALOG_MODAL, GTK_MESSAGE_INFO, GTK_BUTTONS_OK, "%s",
                             ToDisplayText(text).c_str());
  gtk_window_set_title(GTK_WINDOW(dialog), DialogTitle);
  RunDialog(GTK_DIALOG(dialog));
  gtk_widget_destroy(dialog);
}

std::string AskText(GtkWindow* parent, std::string_view prompt, std::string_view preset) {
  GtkWidget* dialog = NewTitledDialog(parent);
  GtkWidget* entry = gtk_entry_new();
  gtk_entry_set_text(GTK_ENTRY(entry), ToDisplayText(preset).c_str());
  gtk_entry_set_activates_default(GTK_ENTRY(entry), TRUE);
  GtkWidget* row = NewPromptRow(prompt, entry);
  gtk_box_pack_start(GTK_BOX(GTK_DIALOG(dialog)->vbox), row, TRUE, TRUE, 0);
  gtk_widget_show_all(row);
  std::string text;
  if (RunDialog(GTK_DIALOG(dialog)) == GTK_RESPONSE_OK) text = gtk_entry_get_text(GTK_ENTRY(entry));
  gtk_widget_destroy(dialog);
  return text;
}

std::string ChooseMainFile(GtkWindow* parent, const std::string& project_folder) {
  GtkWidget* dialog = gtk_file_chooser_dialog_new(
      ToDisplayText(kChooseFileTitle).c_str(), parent, GTK_FILE_CHOOSER_ACTION_OPEN,
      GTK_STOCK_CANCEL, GTK_RESPONSE_CANCEL, GTK_STOCK_OPEN, GTK_RESPONSE_ACCEPT, nullptr);
  GtkFileFilter* sources = NewFilter("PureBasic ", {"*.pb"});
  gtk_file_chooser_add_filter(GTK_FILE_CHOOSER(dialog), sources);
  gtk_file_chooser_add_filter(GTK_FILE_CHOOSER(dialog),
                              NewFilter("PureBasic sources and projects", {"*.pb", "*.pbi", "*.pbp"}));
  gtk_file_chooser_add_filter(GTK_FILE_CHOOSER(dialog), NewFilter("All files", {"*"}));
  gtk_file_chooser_set_filter(GTK_FILE_CHOOSER(dialog), sources);
  gchar* directory = g_get_current_dir();
  gtk_file_chooser_set_current_folder(GTK_FILE_CHOOSER(dialog), directory);
  g_free(directory);
  // The dialog starts in the working directory, the program's own; the project one click
  // away saves the walk there from an installed copy's bin folder.
  if (!project_folder.empty()) {
    gtk_file_chooser_add_shortcut_folder(GTK_FILE_CHOOSER(dialog), project_folder.c_str(),
                                         nullptr);
  }
  std::string path;
  if (RunDialog(GTK_DIALOG(dialog)) == GTK_RESPONSE_ACCEPT) {
    gchar* chosen = gtk_file_chooser_get_filename(GTK_FILE_CHOOSER(dialog));
    if (chosen != nullptr) path = chosen;
    g_free(chosen);
  }
  gtk_widget_destroy(dialog);
  return path;
}
