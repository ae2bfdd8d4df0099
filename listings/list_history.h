// The history of result lists: every list opened since the last take-up, the newest last,
// with one of them current. Its observer (the window) hears of every list it opens.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "listings/result_list.h"

/// Ordered result lists with a current position. Lists keep their address while they live.
class ListHistory {
 public:
  /// Told of each list that `OpenResultList` opens, once it is current.
  using ListOpened = std::function<void(ResultList& list)>;

  /// Makes `observer` the one that is told of new lists.
  void SetListOpened(ListOpened observer) { list_opened_ = std::move(observer); }
  /// Appends a new list of `kind` about `subject` after the last one, makes it current and
  /// tells the observer.
  ResultList& OpenResultList(ListKind kind, std::string_view subject);
  /// Removes the current list; the one before it becomes current (none when it was first).
  void CloseCurrentResultList();
  /// Makes the list at `index` current; ignored when out of range.
  void SetCurrent(int index);
  /// Makes the last list current (what rebuilding the selector leaves behind).
  void SetLastCurrent();

  /// Number of lists.
  int Count() const { return static_cast<int>(lists_.size()); }
  /// Position of the current list, -1 when none.
  int CurrentIndex() const { return current_; }
  /// The current list, nullptr when none.
  ResultList* Current();
  const ResultList* Current() const;
  /// The list at `index`; it must exist.
  ResultList& At(int index) { return *lists_[static_cast<size_t>(index)]; }
  const ResultList& At(int index) const { return *lists_[static_cast<size_t>(index)]; }
  /// Selector entry texts of all lists, in history order.
  std::vector<std::string> SelectorEntries() const;

 private:
  std::vector<std::unique_ptr<ResultList>> lists_;
  int current_ = -1;
  ListOpened list_opened_;
};
