// The catalog of listings: every listing that the front ends offer, with its kind of list,
// name, title, argument, one-line summary and run function. The window, the report tool
// and their help and completion read it; none of them restates a title or a summary.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "listings/list_kind.h"
#include "listings/listing.h"

/// What a listing leaves for its front end besides its list's rows.
enum class ListingProduct : uint8_t {
  Files,        ///< the project's files (the take-up made them)
  List,         ///< the rows of its list
  DeclareText,  ///< the Declare text of `ListingResult` (its list is not shown)
  Tree,         ///< the trees of `ListingResult`
};

/// What a listing takes after MAINFILE, and what its list is then about.
enum class ListingArgument : uint8_t {
  None,             ///< nothing; the list is about its title
  Procedure,        ///< a procedure's name, not empty; the list is about the procedure
  Term,             ///< any text, also empty; the list is about the text
  ProcedureOrTerm,  ///< any text; the list is about the procedure that the text names
};

/// One listing of the catalog.
struct ListingEntry {
  std::string_view Name;      ///< the report tool's subcommand, "all-calls"
  ListKind Kind;              ///< the kind of list it fills
  std::string_view Title;     ///< subject of its list; "" where the argument is the subject
  ListingArgument Argument;
  std::string_view Usage;     ///< what follows MAINFILE in the help: "NAME [--callers]"
  std::string_view Summary;   ///< one line for the help
  ListingProduct Product;
  ListingRun Run;             ///< nullptr where the take-up makes what it shows
};

/// A view of the catalog's entries, in help order.
struct ListingCatalogView {
  const ListingEntry* First = nullptr;
  const ListingEntry* Last = nullptr;
  const ListingEntry* begin() const { return First; }
  const ListingEntry* end() const { return Last; }
};

/// Every listing, in the order of the report tool's help.
ListingCatalogView ListingCatalog();

/// The listing named `name`; nullptr for none.
const ListingEntry* FindListing(std::string_view name);

/// The listing named `name`, which must be in the catalog.
const ListingEntry& CatalogListing(std::string_view name);

/// What a front end opens a listing's list about, and what it asks of the listing.
struct ListingStart {
  std::string Subject;
  ListingRequest Request;
};

/// The start of `listing` on `text` (for a procedure: the selected row's procedure of
/// `current` when `text` is empty; `current` may be nullptr). nullopt when the listing
/// wants a procedure and none can be taken.
std::optional<ListingStart> StartOf(const ListingEntry& listing, const Project& project,
                                    const ResultList* current, std::string_view text);
