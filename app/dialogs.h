// The modal dialogs of the program: message boxes, the text input of "Search..." and the
// file dialog that chooses a main file. Every modal run goes through `RunDialog`.
#pragma once

#include <gtk/gtk.h>

#include <string>
#include <string_view>

/// Title of every message box and of the text input.
inline constexpr char DialogTitle[] = "PB Sourcetrek";

/// Runs `dialog` modally and returns its response; the caller destroys it.
gint RunDialog(GtkDialog* dialog);

/// Shows a modal message box titled "PB Sourcetrek" with `text` (source bytes) and an OK
/// button over `parent`, and waits until it is closed.
void ShowMessage(GtkWindow* parent, std::string_view text);

/// Asks for a text with `prompt` and `preset`; the entered text when OK was pressed (or
/// Enter in the entry), empty when the dialog was closed in any other way.
std::string AskText(GtkWindow* parent, std::string_view prompt, std::string_view preset);

/// Lets the user choose a PureBasic main file or IDE project file, starting in the working
/// directory with the filter "PureBasic " (*.pb) chosen, then "PureBasic sources and
/// projects" and "All files", and `project_folder` (when not empty) as a shortcut in the
/// side pane; the chosen path, or empty when cancelled.
std::string ChooseMainFile(GtkWindow* parent, const std::string& project_folder);
