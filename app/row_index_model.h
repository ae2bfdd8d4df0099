// A tree model of rows that hold nothing but their own index: the view of a result list
// reads texts and marks from the list itself when it draws, so the toolkit keeps no
// storage per row and appending a million rows costs it nothing until they are shown.
#pragma once

#include <gtk/gtk.h>

#include <cstdint>

/// A new model with no rows (one reference, owned by the caller). Its one column, of
/// type G_TYPE_INT, gives each row's index.
GtkTreeModel* NewRowIndexModel();

/// Rows the model has announced to its views.
int32_t AnnouncedRows(GtkTreeModel* model);

/// Announces the rows from `AnnouncedRows` up to `count` to the attached views, one
/// "row-inserted" each; a smaller `count` changes nothing.
void AnnounceRows(GtkTreeModel* model, int32_t count);

/// Sets the rows to `count` without telling any view: for a model that no view shows,
/// which is then attached filled in one step.
void SetRowsQuietly(GtkTreeModel* model, int32_t count);

/// Tells the views that the texts or marks of announced row `row` changed; ignored for
/// any other row.
void AnnounceRowChanged(GtkTreeModel* model, int32_t row);
