// The kinds of result list, each with what its caption says and how its rows show the
// file they come from: the catalog's table of kinds (the listings fill lists of these).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

/// Which kind of list a listing fills.
enum class ListKind : uint8_t {
  Procedures,         ///< "Procedures": every procedure head
  AllProcedureCalls,  ///< "All Procedure-Calls...": every procedure with its calls
  ProcedureCalls,     ///< "Proc: ": the calls of one procedure
  Terms,              ///< "Terms: ": the lines that hold a term
  Unused,             ///< "Unused": the procedures that no live code reaches
  DeclareCheck,       ///< "Declare check": missing, differing and orphan Declares
  Callees,            ///< "Calls in: ": the calls in the body of one procedure
  CallTree,           ///< "Tree: ": a call tree, which is given back as a value, not as rows
};

/// How the rows of a kind of list show the file they come from.
enum class FileBandStyle : uint8_t {
  None,   ///< no file bands
  Plain,  ///< the procedures list's two band colours
  Terms,  ///< the term search's: paler, and darker for declaration lines
};

/// How the rows of a check's findings stand out.
enum class FindingStyle : uint8_t {
  None,         ///< the kind has no findings
  NeverCalled,  ///< as a procedure that nothing calls
  Declare,      ///< as a procedure row with its line cell red, as a call above the head
};

/// What a list's entry in the "List:" selector says.
enum class SelectorStyle : uint8_t {
  Name,          ///< the subject's name: the part before its first "(", then "("
  Whole,         ///< the whole subject
  PrefixedName,  ///< the caption prefix, then the subject's name and "(": "Calls in: Foo("
};

/// One kind of list of the catalog.
struct ListKindEntry {
  ListKind Kind;
  std::string_view CaptionPrefix;  ///< what the caption says before the subject
  FileBandStyle Bands;
  FindingStyle Findings;           ///< also: the Count column holds a check's reasons
  SelectorStyle Selector;
};

/// The entry of `kind` in the catalog's table of kinds.
const ListKindEntry& KindEntry(ListKind kind);

/// The caption prefix of a kind: "" for the lists the shell opens, "Proc: ", "Terms: ",
/// "Calls in: " or "Tree: ".
inline std::string_view KindText(ListKind kind) { return KindEntry(kind).CaptionPrefix; }
