// What the window's commands may use of the window: its lists, the project, the host of
// a listing, the Search preset and the parent for dialogs. The window implements it, so
// the commands need not know the window.
#pragma once

#include <gtk/gtk.h>

#include <functional>
#include <string>

#include "app/result_lists.h"
#include "listings/listing_host.h"
#include "listings/project.h"

/// The part of the main window that commands act on.
class CommandContext {
 public:
  virtual ~CommandContext() = default;
  /// The toplevel window, the parent of the commands' dialogs.
  virtual GtkWindow* Window() const = 0;
  /// The result lists with their history.
  virtual ResultLists& Lists() = 0;
  /// The project taken up.
  virtual Project& TakenUp() = 0;
  /// The host of the listings that commands run.
  virtual ListingHost& Host() = 0;
  /// Runs `listing` as a listing: events other than a Stop click have no effect while it
  /// runs; the lists are mirrored completely before it returns.
  virtual void RunListing(const std::function<void()>& listing) = 0;
  /// Text of the last Search input, the preset of the next one.
  virtual const std::string& SearchTerm() const = 0;
  /// Makes `term` the preset of the next Search input.
  virtual void SetSearchTerm(const std::string& term) = 0;
  /// Asks for the current list to be fitted to the window once the loop is idle again.
  virtual void PostSizeEvent() = 0;
};
