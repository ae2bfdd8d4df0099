// Fuzz target: NormalizeCallLine and FindCall on arbitrary lines and keys. The input's
// first line is the procedure name, the rest is the source line. Both operations are
// compared with their plain restatements, and the simple facts are checked on their own.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_project.h"
#include "fuzz/reference_matching.h"
#include "listings/call_matching.h"

namespace {

std::string WithoutBlanksAndTabs(std::string_view text) {
  std::string kept;
  for (const char c : text) {
    if (c != ' ' && c != '\t') kept += c;
  }
  return kept;
}

void CheckNormalize(std::string_view line, std::string_view key) {
  const std::string prepared = NormalizeCallLine(line, key);
  Require(prepared.size() <= line.size(), "the prepared line is never longer");
  Require(prepared.empty() || prepared[0] != ' ', "the prepared line starts with no blank");
  const std::string kept = WithoutBlanksAndTabs(prepared);
  Require(WithoutBlanksAndTabs(line).compare(0, kept.size(), kept) == 0,
          "preparing removes only blanks, tabs and the comment");
  Require(prepared == reference::NormalizeCallLine(line, key),
          "NormalizeCallLine agrees with its restatement");
}

void CheckFindCall(std::string_view line, std::string_view key) {
  const int found = FindCall(line, key);
  Require(found == -1 || found == 0 || found == 1, "FindCall answers -1, 0 or +1");
  Require(found == 0 || reference::FindFolded(line, key, 0) != std::string_view::npos,
          "a call needs the key in the line, letters folded");
  Require(found != 1 || line.find(key) != std::string_view::npos,
          "+1 needs the key in its exact case");
  Require(found == reference::FindCall(line, key), "FindCall agrees with its restatement");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const size_t newline = input.find('\n');
  const std::string_view name = input.substr(0, newline);
  const std::string_view line =
      newline == std::string_view::npos ? std::string_view() : input.substr(newline + 1);
  const std::string key = CallKeyFromName(name);
  Require(!key.empty() && key.back() == '(' && key.find(' ') == std::string::npos,
          "a call key ends in ( and holds no blank");
  for (const std::string_view tried : {std::string_view(key), name}) {
    CheckNormalize(line, tried);
    CheckFindCall(NormalizeCallLine(line, tried), tried);
    CheckFindCall(line, tried);
  }
  return 0;
}
