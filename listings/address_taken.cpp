#include "listings/address_taken.h"

#include "listings/call_candidates.h"
#include "listings/call_matching.h"
#include "listings/folded_search.h"
#include "source/text_parts.h"

namespace {

bool IsNameChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
         c == ':';
}

/// The name of "@Name(" whose "@" stands at `at`; empty when no "(" follows the name.
std::string_view AddressedName(std::string_view line, size_t at) {
  size_t end = at + 1;
  while (end < line.size() && IsNameChar(line[end])) ++end;
  std::string_view name = line.substr(at + 1, end - at - 1);
  while (end < line.size() && line[end] == ' ') ++end;
  if (end == line.size() || line[end] != '(') return {};
  const size_t module_end = name.rfind(':');
  return module_end == std::string_view::npos ? name : name.substr(module_end + 1);
}

}  // namespace

void CollectAddressTaken(std::string_view line, FoldedNames& names) {
  if (line.find('@') == std::string_view::npos) return;  // most lines: one memchr
  bool in_string = false;
  for (size_t at = 0; at < line.size(); ++at) {
    const char c = line[at];
    if (c == '"') in_string = !in_string;
    if (in_string) continue;
    if (c == ';') return;
    if (c != '@') continue;
    const std::string_view name = AddressedName(line, at);
    if (!name.empty()) names.insert(FoldedName(name));
  }
}

std::string FoldedProcedureName(std::string_view head_text) {
  return FoldedName(CallKeyName(CallKeyFromHead(head_text)));
}
