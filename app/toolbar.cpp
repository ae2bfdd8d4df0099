#include "app/toolbar.h"

#include <algorithm>
#include <utility>

#include "app/logo_data.h"
#include "frontend/display_text.h"

namespace {

constexpr int kButtonY = 2;
constexpr int kButtonHeight = 28;

// Tooltips, held as ISO-8859-15 bytes like every literal of the program.
constexpr char kOpenTip[] = "L\xF6scht vorherige Liste und \xF6" "ffnet neue Hauptdatei...";
constexpr char kBackTip[] = "Zeigt vorherige und schlie\xDFt aktuelle Liste";
constexpr char kJumpTip[] =
    "\xD6" "ffnet bei Bedarf den PureBasic-Editor und setzt Cursor auf Zeile der akt. "
    "Selektion...";
constexpr char kAllCallsTip[] =
    "Listet aus aktueller Hauptdatei und Includes alle Proceduren und deren Aufrufe";
constexpr char kSearchTip[] = "Sucht und listet aus aktueller Datei alle Proceduren bzw. Variablen";
constexpr char kChecksTip[] = "Listet unbenutzte Proceduren und pr\xFC" "ft die Declares";

/// One control of the toolbar row: how it looks, where it stands and what it does.
struct ToolbarButton {
  const char* Label;
  const char* StockId;          ///< nullptr for the logo, which shows the program's picture
  GtkPositionType IconSide;
  int X;
  int Width;
  const char* Tooltip;          ///< nullptr for none
  GtkWidget* Toolbar::*Widget;  ///< where the window keeps the control
  WindowCommandId Command;
};

// The checks menu's button stands at the free right end of the row, after the logo.
const ToolbarButton kToolbarButtons[] = {
    {"Open", GTK_STOCK_OPEN, GTK_POS_LEFT, 5, 80, kOpenTip, &Toolbar::Open, WindowCommandId::Open},
    {"Back", GTK_STOCK_GO_BACK, GTK_POS_LEFT, 90, 80, kBackTip, &Toolbar::Back,
     WindowCommandId::Back},
    {"Jump to Line", GTK_STOCK_JUMP_TO, GTK_POS_LEFT, 175, 110, kJumpTip, &Toolbar::JumpToLine,
     WindowCommandId::JumpToLine},
    {"All Proc-Calls", GTK_STOCK_INDEX, GTK_POS_LEFT, 290, 110, kAllCallsTip,
     &Toolbar::AllProcCalls, WindowCommandId::AllProcCalls},
    {"Search...", GTK_STOCK_FIND, GTK_POS_LEFT, 405, 80, kSearchTip, &Toolbar::Search,
     WindowCommandId::Search},
    {"Stop", GTK_STOCK_STOP, GTK_POS_LEFT, 490, 80, nullptr, &Toolbar::StopButton,
     WindowCommandId::Stop},
    {"", nullptr, GTK_POS_LEFT, 765, 26, nullptr, &Toolbar::LogoButton, WindowCommandId::About},
    {"Checks", GTK_STOCK_GO_DOWN, GTK_POS_RIGHT, 796, 90, kChecksTip, &Toolbar::ChecksButton,
     WindowCommandId::Checks},
};

constexpr char kItemCommandKey[] = "pbst-window-command";

// The toolbar's labels are set a size smaller than the theme's, so that each label fits
// beside its icon within the fixed button widths.
constexpr char kToolbarStyle[] =
    "style \"pbst-toolbar\" { font_name = \"Sans 9\" }\n"
    "widget \"*.pbst-toolbar-button*\" style \"pbst-toolbar\"\n";

// Puts the menu under the button that opened it.
void BelowButton(GtkMenu*, gint* x, gint* y, gboolean* push_in, gpointer button) {
  GtkWidget* widget = GTK_WIDGET(button);
  gdk_window_get_origin(widget->window, x, y);
  *x += widget->allocation.x;
  *y += widget->allocation.y + widget->allocation.height;
  *push_in = TRUE;
}

// The rest of the toolbar row, between the buttons and the logo.
constexpr int kListLabelX = 572;
constexpr int kListSelectorX = 605;

GdkPixbuf* DecodeLogo() {
  GdkPixbufLoader* loader = gdk_pixbuf_loader_new_with_type("png", nullptr);
  if (loader == nullptr) return nullptr;
  const bool written = gdk_pixbuf_loader_write(loader, LogoPng, LogoPngSize, nullptr);
  const bool closed = gdk_pixbuf_loader_close(loader, nullptr);
  GdkPixbuf* logo = written && closed ? gdk_pixbuf_loader_get_pixbuf(loader) : nullptr;
  if (logo != nullptr) g_object_ref(logo);
  g_object_unref(loader);
  return logo;
}

// The logo button shows the program's picture alone; nullptr when it cannot be decoded.
GtkWidget* NewLogoButton() {
  GdkPixbuf* logo = DecodeLogo();
  if (logo == nullptr) return nullptr;
  GtkWidget* button = gtk_button_new();
  gtk_container_add(GTK_CONTAINER(button), gtk_image_new_from_pixbuf(logo));
  g_object_unref(logo);
  return button;
}

GtkWidget* NewLabelledButton(const ToolbarButton& entry) {
  GtkWidget* button = gtk_button_new_with_label(entry.Label);
  gtk_widget_set_name(button, "pbst-toolbar-button");
  SetButtonIcon(GTK_BUTTON(button), gtk_image_new_from_stock(entry.StockId, GTK_ICON_SIZE_MENU),
                entry.Label, entry.IconSide);
  if (entry.Tooltip != nullptr) {
    gtk_widget_set_tooltip_text(button, ToDisplayText(entry.Tooltip).c_str());
  }
  return button;
}

GtkWidget* AddButton(GtkFixed* area, const ToolbarButton& entry) {
  GtkWidget* button = entry.StockId != nullptr ? NewLabelledButton(entry) : NewLogoButton();
  if (button == nullptr) return nullptr;
  const int height = entry.StockId != nullptr ? kButtonHeight : entry.Width;
  gtk_widget_set_size_request(button, entry.Width, height);
  gtk_fixed_put(area, button, entry.X, kButtonY);
  // A labelled button shows its icon as the theme's settings say; the logo always shows.
  if (entry.StockId != nullptr) {
    gtk_widget_show(button);
  } else {
    gtk_widget_show_all(button);
  }
  return button;
}

// Entries wider than the selector end in an ellipsis instead of being cut off mid-word.
void EllipsizeEntries(GtkCellLayout* selector) {
  GList* cells = gtk_cell_layout_get_cells(selector);
  for (GList* cell = cells; cell != nullptr; cell = cell->next) {
    g_object_set(cell->data, "ellipsize", PANGO_ELLIPSIZE_END, nullptr);
  }
  g_list_free(cells);
}

void AddListSelector(GtkFixed* area, Toolbar& toolbar) {
  toolbar.ListLabel = gtk_label_new("List:");
  gtk_misc_set_alignment(GTK_MISC(toolbar.ListLabel), 1.0f, 0.0f);
  gtk_widget_set_size_request(toolbar.ListLabel, 30, 24);
  gtk_fixed_put(area, toolbar.ListLabel, kListLabelX, 8);
  gtk_widget_set_size_request(toolbar.ListSelector, 150, 28);
  EllipsizeEntries(GTK_CELL_LAYOUT(toolbar.ListSelector));
  gtk_fixed_put(area, toolbar.ListSelector, kListSelectorX, kButtonY);
  gtk_widget_show(toolbar.ListLabel);
  gtk_widget_show(toolbar.ListSelector);
}

GtkWidget* NewChecksMenu(GtkWidget* checks_button) {
  GtkWidget* menu = gtk_menu_new();
  for (const WindowCommand* command : MenuCommands(CommandMenu::Checks)) {
    GtkWidget* item = gtk_menu_item_new_with_label(command->MenuLabel);
    g_object_set_data(G_OBJECT(item), kItemCommandKey, const_cast<WindowCommand*>(command));
    gtk_menu_shell_append(GTK_MENU_SHELL(menu), item);
  }
  gtk_widget_show_all(menu);
  gtk_menu_attach_to_widget(GTK_MENU(menu), checks_button, nullptr);
  return menu;
}

}  // namespace

void SetButtonIcon(GtkButton* button, GtkWidget* image, const char* label,
                   GtkPositionType position) {
  gtk_button_set_image(button, image);
  gtk_button_set_label(button, label);
  gtk_button_set_image_position(button, position);
}

Toolbar ToolbarWithSelector() {
  Toolbar toolbar;
  toolbar.ListSelector = gtk_combo_box_text_new();
  return toolbar;
}

Toolbar BuildToolbar(GtkFixed* area, GtkWidget* selector) {
  gtk_rc_parse_string(kToolbarStyle);
  Toolbar toolbar;
  toolbar.ListSelector = selector;
  for (const ToolbarButton& entry : kToolbarButtons) toolbar.*entry.Widget = AddButton(area, entry);
  AddListSelector(area, toolbar);
  toolbar.ChecksMenu = NewChecksMenu(toolbar.ChecksButton);
  gtk_widget_set_sensitive(toolbar.StopButton, FALSE);
  return toolbar;
}

const WindowCommand* ControlCommand(const Toolbar& toolbar, const GtkWidget* control) {
  for (const ToolbarButton& entry : kToolbarButtons) {
    if (toolbar.*entry.Widget == control) return &CommandOf(entry.Command);
  }
  return nullptr;
}

void PopUpChecksMenu(const Toolbar& toolbar) {
  gtk_menu_popup(GTK_MENU(toolbar.ChecksMenu), nullptr, nullptr, &BelowButton,
                 toolbar.ChecksButton, 0, gtk_get_current_event_time());
}

const WindowCommand* MenuItemCommand(GtkMenuItem* item) {
  return static_cast<const WindowCommand*>(g_object_get_data(G_OBJECT(item), kItemCommandKey));
}

int ToolbarWidth() {
  int left = kToolbarButtons[0].X;
  int right = 0;
  for (const ToolbarButton& entry : kToolbarButtons) {
    left = std::min(left, entry.X);
    right = std::max(right, entry.X + entry.Width);
  }
  return right + left;
}

std::vector<GtkWidget*> ControlsLeftToRight(const Toolbar& toolbar) {
  std::vector<std::pair<int, GtkWidget*>> placed{{kListSelectorX, toolbar.ListSelector}};
  for (const ToolbarButton& entry : kToolbarButtons) {
    if (toolbar.*entry.Widget != nullptr) placed.emplace_back(entry.X, toolbar.*entry.Widget);
  }
  std::sort(placed.begin(), placed.end());
  std::vector<GtkWidget*> controls;
  for (const auto& [x, control] : placed) controls.push_back(control);
  return controls;
}

void ForEachButton(const Toolbar& toolbar, const std::function<void(GtkWidget*)>& connect) {
  for (const ToolbarButton& entry : kToolbarButtons) {
    if (toolbar.*entry.Widget != nullptr) connect(toolbar.*entry.Widget);
  }
}
