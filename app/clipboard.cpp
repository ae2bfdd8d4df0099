#include "app/clipboard.h"

#include <gtk/gtk.h>

#include <string>

#include "frontend/display_text.h"

void PutOnClipboard(std::string_view text) {
  GtkClipboard* clipboard = gtk_clipboard_get(GDK_SELECTION_CLIPBOARD);
  const std::string display_text = ToDisplayText(text);
  gtk_clipboard_set_text(clipboard, display_text.c_str(), static_cast<gint>(display_text.size()));
  gtk_clipboard_store(clipboard);
}
