// The toolbar row of the main window, made from one table: each control's label, icon,
// position, tooltip and the command of the window's command table that it runs.
#pragma once

#include <gtk/gtk.h>

#include <functional>
#include <vector>

#include "app/window_commands.h"

/// The controls of the toolbar row.
struct Toolbar {
  GtkWidget* Open = nullptr;
  GtkWidget* Back = nullptr;
  GtkWidget* JumpToLine = nullptr;
  GtkWidget* AllProcCalls = nullptr;
  GtkWidget* Search = nullptr;
  GtkWidget* StopButton = nullptr;
  GtkWidget* ListLabel = nullptr;
  GtkWidget* ListSelector = nullptr;
  GtkWidget* LogoButton = nullptr;  ///< nullptr when the logo could not be decoded
  GtkWidget* ChecksButton = nullptr;  ///< opens `ChecksMenu`
  GtkWidget* ChecksMenu = nullptr;    ///< the commands of the Checks menu
};

/// Sets `button`'s image, its label and the side of the label where the image stands.
void SetButtonIcon(GtkButton* button, GtkWidget* image, const char* label,
                   GtkPositionType position);

/// A toolbar of which only the "List:" selector exists yet: the lists need it first.
Toolbar ToolbarWithSelector();

/// Puts the toolbar's buttons, the "List:" label with `selector` and the Checks menu into
/// `area`; Stop starts disabled. The Checks menu's items are not connected yet.
Toolbar BuildToolbar(GtkFixed* area, GtkWidget* selector);

/// The command that the toolbar control `control` runs; nullptr for none.
const WindowCommand* ControlCommand(const Toolbar& toolbar, const GtkWidget* control);

/// Opens the Checks menu below its button.
void PopUpChecksMenu(const Toolbar& toolbar);

/// The command of an item of the Checks menu; nullptr for none.
const WindowCommand* MenuItemCommand(GtkMenuItem* item);

/// The width that the toolbar row needs: its right-most control's right edge and the
/// margin that the left-most one keeps at the left.
int ToolbarWidth();

/// The controls that can take the keyboard focus, from left to right: the Tab order.
std::vector<GtkWidget*> ControlsLeftToRight(const Toolbar& toolbar);

/// Calls `connect` for each button of the toolbar's table that exists.
void ForEachButton(const Toolbar& toolbar, const std::function<void(GtkWidget*)>& connect);
