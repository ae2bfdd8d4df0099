#include "app/result_lists.h"

#include "frontend/display_text.h"

ResultLists::ResultLists(GtkFixed* area, GtkComboBox* selector,
                         const PangoFontDescription* font, WindowSize window_size,
                         ViewCreated view_created)
    : area_(area),
      selector_(selector),
      font_(font),
      window_size_(std::move(window_size)),
      view_created_(std::move(view_created)) {
  history_.SetListOpened([this](ResultList& list) { ListOpened(list); });
}

ResultListView* ResultLists::CurrentView() {
  const ResultList* current = history_.Current();
  return current == nullptr ? nullptr : ViewOf(*current);
}

ResultListView* ResultLists::ViewOf(const ResultList& list) {
  const auto found = views_.find(&list);
  return found == views_.end() ? nullptr : found->second.get();
}

// Every list gets its view as the history opens it, whoever asked for the list.
void ResultLists::ListOpened(ResultList& list) {
  int width = 0;
  int height = 0;
  window_size_(width, height);
  auto view = std::make_unique<ResultListView>(list, area_, width, height, font_);
  ResultListView& created = *view;
  created.SetCaptionTooltip(caption_tooltip_);
  views_[&list] = std::move(view);
  view_created_(created);
  ShowOnlyCurrent();
}

ResultList& ResultLists::OpenResultList(ListKind kind, std::string_view subject) {
  return history_.OpenResultList(kind, subject);
}

void ResultLists::RefreshListSelector() {
  changing_selector_ = true;
  gtk_list_store_clear(GTK_LIST_STORE(gtk_combo_box_get_model(selector_)));
  for (const std::string& entry : history_.SelectorEntries()) {
    gtk_combo_box_text_append_text(GTK_COMBO_BOX_TEXT(selector_), ToDisplayText(entry).c_str());
  }
  history_.SetLastCurrent();
  gtk_combo_box_set_active(selector_, history_.Count() - 1);
  changing_selector_ = false;
}

void ResultLists::CloseCurrentResultList() {
  const ResultList* current = history_.Current();
  if (current == nullptr) return;
  views_.erase(current);
  history_.CloseCurrentResultList();
}

void ResultLists::CloseAll() {
  while (history_.Count() > 0) {
    history_.SetCurrent(0);
    CloseCurrentResultList();
  }
}

void ResultLists::ShowEntry(int index) {
  if (index < 0 || index >= history_.Count()) return;
  if (ResultListView* current = CurrentView()) current->Hide();
  history_.SetCurrent(index);
  ShowCurrent();
}

void ResultLists::ShowCurrent() {
  if (ResultListView* current = CurrentView()) current->Show();
}

void ResultLists::SetCaptionTooltip(const std::string& text) {
  caption_tooltip_ = text;
  for (auto& [list, view] : views_) view->SetCaptionTooltip(text);
}

void ResultLists::FocusCurrent() {
  ResultListView* current = CurrentView();
  if (current == nullptr) return;
  current->ApplySelection();
  gtk_widget_grab_focus(GTK_WIDGET(current->ListView()));
}

void ResultLists::ResizeCurrent(int width, int height) {
  if (ResultListView* current = CurrentView()) current->Resize(width, height);
}

void ResultLists::SelectCurrentEntry() {
  changing_selector_ = true;
  gtk_combo_box_set_active(selector_, history_.CurrentIndex());
  changing_selector_ = false;
}

void ResultLists::ShowOnlyCurrent() {
  const ResultList* current = history_.Current();
  for (auto& [list, view] : views_) {
    const bool visible = gtk_widget_get_visible(view->Container());
    if (list == current && !visible) view->Show();
    if (list != current && visible) view->Hide();
  }
}

void ResultLists::Sync() {
  for (auto& entry : views_) entry.second->Sync();
}
