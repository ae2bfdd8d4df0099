// The frame of the main window: the toplevel with its title, size, place, minimum size and
// window-manager functions, the fixed area that holds the toolbar and the lists, and the
// Tab order through them.
#pragma once

#include <gtk/gtk.h>

/// The toplevel window, 1000 x 610 and centred, at least as wide as the toolbar row and
/// 300 high; not yet shown.
GtkWidget* NewMainFrame();

/// The fixed area inside `window` that the controls and lists are placed in.
GtkWidget* NewArea(GtkWidget* window);

/// Lets the realized `window` be resized, moved and closed, with title, menu and border:
/// no minimise or maximise.
void ApplyWindowFunctions(GtkWidget* window);

/// Puts `widget` last in the Tab order of `container`; GTK drops destroyed widgets from it.
void AppendToFocusChain(GtkContainer* container, GtkWidget* widget);
