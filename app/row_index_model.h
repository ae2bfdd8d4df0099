// A tree model of rows that hold nothing but their own index: the view of a result list
// holds the rows in sight in it and reads texts and marks from the list itself when it
// draws, so the toolkit keeps no storage per row of the list.
#pragma once

#include <gtk/gtk.h>

#include <cstdint>

/// A new model with no rows (one reference, owned by the caller). Its one column, of
/// type G_TYPE_INT, gives each row's index.
GtkTreeModel* NewRowIndexModel();

/// Rows the model has announced to its views.
int32_t AnnouncedRows(GtkTreeModel* model);

/// Makes the model hold `count` rows, telling the attached views of each row added at the
/// end ("row-inserted") or taken from it ("row-deleted").
void SetAnnouncedRows(GtkTreeModel* model, int32_t count);

/// Tells the views that the texts or marks of announced row `row` changed; ignored for
/// any other row.
void AnnounceRowChanged(GtkTreeModel* model, int32_t row);
