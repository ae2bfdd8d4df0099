// The About dialog: the toolkit's standard dialog with the program's name, version,
// description, legal lines and the logo read from its file at each opening.
#pragma once

#include <gtk/gtk.h>

/// Logo file shown in the About dialog; loaded anew each time the dialog opens.
inline constexpr char AboutLogoPath[] =
    "/home/user-workbench/Programming/PBSource/ToolsDevelop/SourcetrekLogo.png";

/// Creates the About dialog over `parent` with every value set, and the image of
/// `logo_path` as its logo when it can be loaded (no logo and no message otherwise).
/// The caller owns the dialog and destroys it.
GtkWidget* CreateAboutDialog(GtkWindow* parent, const char* logo_path);

/// Shows the About dialog with the logo of `AboutLogoPath` modally over `parent`, waits
/// until the user closes it and destroys it.
void ShowAbout(GtkWindow* parent);
