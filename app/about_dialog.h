// The About dialog: the toolkit's standard dialog with the program's name, version,
// description, legal lines and the logo read from its file at each opening.
#pragma once

#include <gtk/gtk.h>

#include <string>
#include <string_view>

/// Logo file shown in the About dialog; loaded anew each time the dialog opens.
inline constexpr char AboutLogoPath[] =
    "/home/user-workbench/Programming/PBSource/ToolsDevelop/SourcetrekLogo.png";

/// The file URL of the README installed with the program whose executable lies in
/// `program_directory`; empty when there is no README there (a program run from its build
/// folder), so the dialog shows no link that leads nowhere.
std::string InstalledReadmeUrl(std::string_view program_directory);

/// Creates the About dialog over `parent` with every value set, `website` as its link
/// (none when empty), and the image of `logo_path` as its logo when it can be loaded (no
/// logo and no message otherwise). The caller owns the dialog and destroys it.
GtkWidget* CreateAboutDialog(GtkWindow* parent, const char* logo_path,
                             const std::string& website);

/// Shows the About dialog with the logo of `AboutLogoPath` and the installed README as its
/// link modally over `parent`, and `main_file` (which main file is in use and how it was
/// found, converted for display) below its texts when not empty; waits until the user
/// closes it and destroys it.
void ShowAbout(GtkWindow* parent, const std::string& main_file = "");
