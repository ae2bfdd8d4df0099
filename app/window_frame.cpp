#include "app/window_frame.h"

#include <algorithm>

#include "app/toolbar.h"

namespace {

constexpr int kInnerWidth = 1000;
constexpr int kInnerHeight = 610;
constexpr int kMinWidth = 800;
constexpr int kMinHeight = 300;

}  // namespace

// At least as wide as the toolbar row, so that every control can be reached.
GtkWidget* NewMainFrame() {
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_title(GTK_WINDOW(window), "PB Sourcetrek");
  gtk_window_set_default_size(GTK_WINDOW(window), kInnerWidth, kInnerHeight);
  gtk_window_set_position(GTK_WINDOW(window), GTK_WIN_POS_CENTER);
  GdkGeometry hints{};
  hints.min_width = std::max(kMinWidth, ToolbarWidth());
  hints.min_height = kMinHeight;
  gtk_window_set_geometry_hints(GTK_WINDOW(window), nullptr, &hints, GDK_HINT_MIN_SIZE);
  return window;
}

GtkWidget* NewArea(GtkWidget* window) {
  GtkWidget* area = gtk_fixed_new();
  gtk_container_add(GTK_CONTAINER(window), area);
  return area;
}

void ApplyWindowFunctions(GtkWidget* window) {
  gdk_window_set_decorations(
      window->window,
      GdkWMDecoration(GDK_DECOR_BORDER | GDK_DECOR_RESIZEH | GDK_DECOR_TITLE | GDK_DECOR_MENU));
  gdk_window_set_functions(window->window,
                           GdkWMFunction(GDK_FUNC_RESIZE | GDK_FUNC_MOVE | GDK_FUNC_CLOSE));
}

void AppendToFocusChain(GtkContainer* container, GtkWidget* widget) {
  GList* chain = nullptr;
  gtk_container_get_focus_chain(container, &chain);
  chain = g_list_append(chain, widget);
  gtk_container_set_focus_chain(container, chain);
  g_list_free(chain);
}
