// The table of kinds of list. The order of its rows is the order of `ListKind`, which a
// static_assert keeps.
#include "listings/list_kind.h"

#include <iterator>

namespace {

constexpr ListKindEntry kKinds[] = {
    {ListKind::Procedures, "", FileBandStyle::Plain, FindingStyle::None,
     SelectorStyle::Name},
    {ListKind::AllProcedureCalls, "", FileBandStyle::None, FindingStyle::None,
     SelectorStyle::Name},
    {ListKind::ProcedureCalls, "Proc: ", FileBandStyle::Plain, FindingStyle::None,
     SelectorStyle::Name},
    {ListKind::Terms, "Terms: ", FileBandStyle::Terms, FindingStyle::None,
     SelectorStyle::Whole},
    {ListKind::Unused, "", FileBandStyle::None, FindingStyle::NeverCalled,
     SelectorStyle::Whole},
    {ListKind::DeclareCheck, "", FileBandStyle::None, FindingStyle::Declare,
     SelectorStyle::Whole},
    {ListKind::Callees, "Calls in: ", FileBandStyle::None, FindingStyle::None,
     SelectorStyle::PrefixedName},
    {ListKind::CallTree, "Tree: ", FileBandStyle::None, FindingStyle::None,
     SelectorStyle::PrefixedName},
};

constexpr bool InKindOrder() {
  for (size_t row = 0; row < std::size(kKinds); ++row) {
    if (static_cast<size_t>(kKinds[row].Kind) != row) return false;
  }
  return true;
}
static_assert(InKindOrder(), "the table of kinds lists them in the order of ListKind");

}  // namespace

const ListKindEntry& KindEntry(ListKind kind) { return kKinds[static_cast<size_t>(kind)]; }
