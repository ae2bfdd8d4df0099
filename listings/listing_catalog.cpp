// The catalog's table of listings, in the order of the report tool's help.
#include "listings/listing_catalog.h"

#include <cstdlib>
#include <iterator>

#include "listings/all_procedure_calls.h"
#include "listings/call_tree.h"
#include "listings/callees.h"
#include "listings/declare_check.h"
#include "listings/lookup.h"
#include "listings/procedure_calls.h"
#include "listings/term_search.h"
#include "listings/unused.h"

namespace {

using Argument = ListingArgument;
using Product = ListingProduct;

constexpr ListingEntry kListings[] = {
    {"files", ListKind::Procedures, "Procedures", Argument::None, "",
     "the project's files and where they are included", Product::Files, nullptr},
    {"procedures", ListKind::Procedures, "Procedures", Argument::None, "",
     "every procedure head", Product::List, nullptr},
    {"calls", ListKind::ProcedureCalls, "", Argument::Procedure, "NAME",
     "every line that calls the procedure NAME", Product::List, ListProcedureCalls},
    {"all-calls", ListKind::AllProcedureCalls, "All Procedure-Calls...", Argument::None, "",
     "every procedure with its calls and call count", Product::List, ListAllProcedureCalls},
    {"declares", ListKind::AllProcedureCalls, "All Procedure-Calls...", Argument::None, "",
     "Declare lines for the procedures called above their head", Product::DeclareText,
     ListAllProcedureCalls},
    {"terms", ListKind::Terms, "", Argument::Term, "TERM",
     "every line in which TERM stands as a whole word", Product::List, ListTermMatches},
    {"lookup", ListKind::ProcedureCalls, "", Argument::ProcedureOrTerm, "TEXT",
     "the calls of the procedure TEXT, else the lines of the term", Product::List,
     LookUpProcedureOrTerm},
    {"unused", ListKind::Unused, "Unused", Argument::None, "",
     "the procedures that no live code reaches", Product::List, ListUnused},
    {"declare-check", ListKind::DeclareCheck, "Declare check", Argument::None, "[--fix]",
     "missing and wrong Declares; --fix: the ones to add", Product::List, ListDeclareCheck},
    {"callees", ListKind::Callees, "", Argument::Procedure, "NAME",
     "the procedures that NAME calls", Product::List, ListCallees},
    {"tree", ListKind::CallTree, "", Argument::Procedure, "NAME [--callers] [--depth N]",
     "the call tree of NAME, or of its callers", Product::Tree, ListCallTree},
};

}  // namespace

ListingCatalogView ListingCatalog() { return {std::begin(kListings), std::end(kListings)}; }

const ListingEntry* FindListing(std::string_view name) {
  for (const ListingEntry& listing : kListings) {
    if (listing.Name == name) return &listing;
  }
  return nullptr;
}

const ListingEntry& CatalogListing(std::string_view name) {
  const ListingEntry* listing = FindListing(name);
  if (listing == nullptr) std::abort();  // a front end names a listing the catalog lacks
  return *listing;
}

std::optional<ListingStart> StartOf(const ListingEntry& listing, const Project& project,
                                    const ResultList* current, std::string_view text) {
  switch (listing.Argument) {
    case Argument::None: return ListingStart{std::string(listing.Title), {}};
    case Argument::Term: return ListingStart{std::string(text), {std::string(text)}};
    case Argument::Procedure:
    case Argument::ProcedureOrTerm: break;
  }
  const std::optional<ProcedureChoice> procedure = ProcedureToList(project, current, text);
  if (!procedure) return std::nullopt;
  if (listing.Argument == Argument::ProcedureOrTerm) {
    return ListingStart{procedure->Name, {std::string(text)}};
  }
  return ListingStart{procedure->Name, {procedure->Name, procedure->WithoutModule}};
}
