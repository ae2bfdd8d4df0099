// The history of result lists. Lists live behind unique pointers so that a view or a
// listing may hold a reference to one while others are opened.
#include "listings/list_history.h"

ResultList& ListHistory::OpenResultList(ListKind kind, std::string_view subject) {
  ResultList& list = *lists_.emplace_back(std::make_unique<ResultList>(kind, subject));
  current_ = Count() - 1;
  if (list_opened_) list_opened_(list);
  return list;
}

void ListHistory::CloseCurrentResultList() {
  if (current_ < 0) return;
  lists_.erase(lists_.begin() + current_);
  current_ -= 1;  // the first list leaves none current
}

void ListHistory::SetCurrent(int index) {
  if (index >= 0 && index < Count()) current_ = index;
}

void ListHistory::SetLastCurrent() { current_ = Count() - 1; }

ResultList* ListHistory::Current() { return current_ < 0 ? nullptr : lists_[static_cast<size_t>(current_)].get(); }

const ResultList* ListHistory::Current() const {
  return current_ < 0 ? nullptr : lists_[static_cast<size_t>(current_)].get();
}

std::vector<std::string> ListHistory::SelectorEntries() const {
  std::vector<std::string> entries;
  for (const auto& list : lists_) entries.push_back(SelectorEntryText(*list));
  return entries;
}
