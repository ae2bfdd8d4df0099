// The main file that the window takes up, at start-up and with "Open": a PureBasic source
// as given or chosen, or the main file that a chosen IDE project file (.pbp) names.
#pragma once

#include <gtk/gtk.h>

#include <string>

#include "source/recorded_main_file.h"

/// The main file for `given`: `given` itself, or the main file of the project file it
/// names. When `given` is empty, or a project file names no main file (a message box says
/// why), asks with the Open dialog (`project_folder` as its shortcut) until a file is chosen
/// that gives one; an empty path when the dialog is cancelled. The origin is `given`'s, a
/// project file's, or `Given` for a file chosen in the dialog.
RecordedMain MainFileToTakeUp(GtkWindow* parent, RecordedMain given,
                              const std::string& project_folder);
