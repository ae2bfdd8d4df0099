// The report tool's command line. Options are picked out wherever they stand; what is
// left is LISTING, MAINFILE and TEXT, which the catalog's entry of LISTING checks.
#include "report/report_arguments.h"

#include "listings/listing_catalog.h"
#include "report/report_help.h"

namespace {

/// The words of a command line: the options read into the request, the rest in order.
struct SortedArguments {
  ReportRequest Request;
  std::vector<std::string> Operands;
  std::vector<std::string> Given;  ///< the options given, in order, for the fit checks
};

std::optional<ReportFormat> FormatOption(std::string_view argument) {
  if (argument == "--json") return ReportFormat::Json;
  if (argument == "--grep") return ReportFormat::Grep;
  if (argument == "--dot") return ReportFormat::Dot;
  return std::nullopt;
}

/// True for a word that is an option, not an operand ("-" alone is an operand).
bool IsOption(std::string_view word) { return word.size() > 1 && word.front() == '-'; }

/// A depth from 1 to `MaxTreeDepth`; 0 for anything else.
int DepthValue(const std::string& value) {
  if (value.empty() || value.size() > 2 || value.find_first_not_of("0123456789") != std::string::npos) {
    return 0;
  }
  const int depth = std::stoi(value);
  return depth <= MaxTreeDepth ? depth : 0;
}

/// Reads the option `words[next]` (and its value) into `sorted`; false with `error` for
/// an unknown option, a second format or a bad depth.
bool ReadOption(const std::vector<std::string>& words, size_t& next, SortedArguments& sorted,
                std::string& error) {
  const std::string& word = words[next];
  ReportRequest& request = sorted.Request;
  sorted.Given.push_back(word);
  if (const std::optional<ReportFormat> format = FormatOption(word)) {
    if (request.Format != ReportFormat::Table && request.Format != *format) {
      error = "one format at most: --json, --grep or --dot";
      return false;
    }
    request.Format = *format;
  } else if (word == "--find-main") {
    request.FindMain = true;
  } else if (word == "--fix") {
    request.Fix = true;
  } else if (word == "--callers") {
    request.Callers = true;
  } else if (word == "--depth") {
    request.Depth = next + 1 < words.size() ? DepthValue(words[++next]) : 0;
    if (request.Depth == 0) {
      error = "--depth takes a number from 1 to " + std::to_string(MaxTreeDepth);
      return false;
    }
  } else {
    error = "unknown option " + word;
    return false;
  }
  return true;
}

/// Splits `words` into options and operands; help or the version ends the read.
bool SortArguments(const std::vector<std::string>& words, SortedArguments& sorted,
                   std::string& error) {
  bool options_end = false;
  for (size_t next = 0; next < words.size(); ++next) {
    const std::string& word = words[next];
    if (options_end || !IsOption(word)) {
      sorted.Operands.push_back(word);
    } else if (word == "--") {
      options_end = true;
    } else if ((sorted.Request.Information = RequestedInformation(word)) !=
               InformationRequest::None) {
      return true;
    } else if (!ReadOption(words, next, sorted, error)) {
      return false;
    }
  }
  return true;
}

/// True when `option` goes with `listing`: a listing's own option ("--fix", "--depth")
/// stands in its usage in the catalog; a Graphviz digraph is only for a tree, and editor
/// lines only for the listings that print rows.
bool OptionFits(std::string_view option, const ListingEntry& listing) {
  const bool tree = listing.Product == ListingProduct::Tree;
  if (option == "--dot") return tree;
  if (option == "--grep") return !tree;
  const bool own = option == "--fix" || option == "--callers" || option == "--depth";
  return !own || listing.Usage.find(option) != std::string_view::npos;
}

/// False with `error` when an option given does not go with `listing`.
bool OptionsFit(const SortedArguments& sorted, const ListingEntry& listing, std::string& error) {
  for (const std::string& option : sorted.Given) {
    if (!OptionFits(option, listing)) {
      error = option + " does not go with " + std::string(listing.Name);
      return false;
    }
  }
  return true;
}

/// False with `error` when the operands are not MAINFILE and, for a listing that takes
/// one, its TEXT (not empty for a NAME).
bool OperandsFit(const std::vector<std::string>& operands, const ListingEntry& listing,
                 std::string& error) {
  const bool text = listing.Argument != ListingArgument::None;
  const size_t wanted = text ? 3 : 2;
  const std::string name(listing.Name);
  if (operands.size() < wanted) {
    // The usage's first word names the TEXT: "NAME", "TERM" or "TEXT".
    const std::string_view argument = listing.Usage.substr(0, listing.Usage.find(' '));
    error = name + " needs MAINFILE" + (text ? " and " + std::string(argument) : "");
  } else if (operands.size() > wanted) {
    error = name + " takes no further argument, not " + operands[wanted];
  } else if (listing.Argument == ListingArgument::Procedure && operands[2].empty()) {
    error = name + " needs a name that is not empty";
  }
  return error.empty();
}

/// Checks the listing against the operands and options and completes the request.
bool CompleteRequest(SortedArguments& sorted, std::string& error) {
  const std::vector<std::string>& operands = sorted.Operands;
  const ListingEntry* listing = operands.empty() ? nullptr : FindListing(operands[0]);
  if (listing == nullptr) {
    error = operands.empty() ? "no listing given" : "unknown listing " + operands[0];
    return false;
  }
  if (!OptionsFit(sorted, *listing, error) || !OperandsFit(operands, *listing, error)) return false;
  ReportRequest& request = sorted.Request;
  request.Listing = operands[0];
  request.MainFile = operands[1];
  if (operands.size() > 2) request.Text = operands[2];
  return true;
}

}  // namespace

std::optional<ReportRequest> ParseReportArguments(const std::vector<std::string>& arguments,
                                                  std::string& error) {
  SortedArguments sorted;
  error.clear();
  if (!SortArguments(arguments, sorted, error)) {
    error += "; " + ReportUsage();
    return std::nullopt;
  }
  if (sorted.Request.Information != InformationRequest::None) return sorted.Request;
  if (!CompleteRequest(sorted, error)) {
    error += "; " + ReportUsage();
    return std::nullopt;
  }
  return sorted.Request;
}
