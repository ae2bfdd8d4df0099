// The model is a GObject that implements GtkTreeModel for a flat list: an iterator holds
// the row's index in `user_data`, so iterators stay valid as rows are appended.
#include "app/row_index_model.h"

namespace {

struct RowIndexModel {
  GObject parent;
  gint stamp;
  int32_t rows;
};

struct RowIndexModelClass {
  GObjectClass parent_class;
};

void InitTreeModel(GtkTreeModelIface* iface);

G_DEFINE_TYPE_WITH_CODE(RowIndexModel, row_index_model, G_TYPE_OBJECT,
                        G_IMPLEMENT_INTERFACE(GTK_TYPE_TREE_MODEL, InitTreeModel))

RowIndexModel* Self(GtkTreeModel* model) {
  return G_TYPE_CHECK_INSTANCE_CAST(model, row_index_model_get_type(), RowIndexModel);
}

int32_t RowOf(const GtkTreeIter* iter) { return GPOINTER_TO_INT(iter->user_data); }

/// Points `iter` at `row`; false (and `iter` invalid) when the row does not exist.
gboolean SetIter(RowIndexModel* self, GtkTreeIter* iter, int32_t row) {
  iter->stamp = self->stamp;
  iter->user_data = GINT_TO_POINTER(row);
  iter->user_data2 = nullptr;
  iter->user_data3 = nullptr;
  if (row >= 0 && row < self->rows) return TRUE;
  iter->stamp = 0;
  return FALSE;
}

GtkTreeModelFlags GetFlags(GtkTreeModel*) {
  return static_cast<GtkTreeModelFlags>(GTK_TREE_MODEL_ITERS_PERSIST | GTK_TREE_MODEL_LIST_ONLY);
}

gint GetNColumns(GtkTreeModel*) { return 1; }

GType GetColumnType(GtkTreeModel*, gint) { return G_TYPE_INT; }

gboolean GetIter(GtkTreeModel* model, GtkTreeIter* iter, GtkTreePath* path) {
  if (gtk_tree_path_get_depth(path) != 1) return FALSE;
  return SetIter(Self(model), iter, gtk_tree_path_get_indices(path)[0]);
}

GtkTreePath* GetPath(GtkTreeModel*, GtkTreeIter* iter) {
  return gtk_tree_path_new_from_indices(RowOf(iter), -1);
}

void GetValue(GtkTreeModel*, GtkTreeIter* iter, gint, GValue* value) {
  g_value_init(value, G_TYPE_INT);
  g_value_set_int(value, RowOf(iter));
}

gboolean IterNext(GtkTreeModel* model, GtkTreeIter* iter) {
  return SetIter(Self(model), iter, RowOf(iter) + 1);
}

gboolean IterChildren(GtkTreeModel* model, GtkTreeIter* iter, GtkTreeIter* parent) {
  return parent == nullptr && SetIter(Self(model), iter, 0);
}

gboolean IterHasChild(GtkTreeModel*, GtkTreeIter*) { return FALSE; }

gint IterNChildren(GtkTreeModel* model, GtkTreeIter* iter) {
  return iter == nullptr ? Self(model)->rows : 0;
}

gboolean IterNthChild(GtkTreeModel* model, GtkTreeIter* iter, GtkTreeIter* parent, gint n) {
  return parent == nullptr && SetIter(Self(model), iter, n);
}

gboolean IterParent(GtkTreeModel*, GtkTreeIter* iter, GtkTreeIter*) {
  iter->stamp = 0;
  return FALSE;
}

void InitTreeModel(GtkTreeModelIface* iface) {
  iface->get_flags = GetFlags;
  iface->get_n_columns = GetNColumns;
  iface->get_column_type = GetColumnType;
  iface->get_iter = GetIter;
  iface->get_path = GetPath;
  iface->get_value = GetValue;
  iface->iter_next = IterNext;
  iface->iter_children = IterChildren;
  iface->iter_has_child = IterHasChild;
  iface->iter_n_children = IterNChildren;
  iface->iter_nth_child = IterNthChild;
  iface->iter_parent = IterParent;
}

void row_index_model_class_init(RowIndexModelClass*) {}

void row_index_model_init(RowIndexModel* self) {
  self->stamp = g_random_int_range(1, G_MAXINT32);
  self->rows = 0;
}

}  // namespace

GtkTreeModel* NewRowIndexModel() {
  return GTK_TREE_MODEL(g_object_new(row_index_model_get_type(), nullptr));
}

int32_t AnnouncedRows(GtkTreeModel* model) { return Self(model)->rows; }

void SetAnnouncedRows(GtkTreeModel* model, int32_t count) {
  RowIndexModel* self = Self(model);
  GtkTreePath* path = gtk_tree_path_new_from_indices(self->rows, -1);
  for (; self->rows < count; gtk_tree_path_next(path)) {
    GtkTreeIter iter;
    ++self->rows;  // the row exists before the views hear of it
    SetIter(self, &iter, self->rows - 1);
    gtk_tree_model_row_inserted(model, path, &iter);
  }
  while (self->rows > count && gtk_tree_path_prev(path)) {
    --self->rows;  // the row is gone before the views hear of it
    gtk_tree_model_row_deleted(model, path);
  }
  gtk_tree_path_free(path);
}

void AnnounceRowChanged(GtkTreeModel* model, int32_t row) {
  RowIndexModel* self = Self(model);
  GtkTreeIter iter;
  if (!SetIter(self, &iter, row)) return;
  GtkTreePath* path = gtk_tree_path_new_from_indices(row, -1);
  gtk_tree_model_row_changed(model, path, &iter);
  gtk_tree_path_free(path);
}
