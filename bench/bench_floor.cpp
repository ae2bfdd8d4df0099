// The floor of the procedure-call listing: one tokenizing pass over the project's files
// that reads every byte and looks up each identifier followed by optional blanks and "("
// in a hash set of the folded procedure names. No listing can find the calls with less.
// Beside it, on the same taken-up project, the calls of one procedure, the term search,
// the unused and declare-check checks and the callees of one procedure as the window runs
// them: each run reads the files afresh. The checks are timed three times: as a first run,
// with none of the call graph's pieces of the files kept (as after a take-up); as a
// repeated run, which compares the files read afresh with the bytes of the kept pieces and
// sweeps none whose bytes are the same; and as a repeated run in the window, which reads
// again only the files whose time or size changed (none here) before it compares.
//
//   pbst-bench-floor MAINFILE REPETITIONS [NAME TERM]
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <unordered_set>
#include <vector>

#include "bench/bench_timing.h"
#include "frontend/huge_page_heap.h"
#include "listings/call_candidates.h"
#include "listings/call_matching.h"
#include "listings/folded_search.h"
#include "listings/listing_catalog.h"
#include "listings/procedure_calls.h"
#include "listings/result_list.h"
#include "listings/take_up.h"
#include "listings/term_search.h"
#include "report/report_host.h"

namespace {

using NameSet = std::unordered_set<std::string>;

bool IsWordChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

std::string Folded(std::string_view text) {
  std::string folded;
  for (const char c : text) folded += FoldAsciiLetter(c);
  return folded;
}

NameSet FoldedNames(const ProcedureIndex& procedures) {
  NameSet names;
  for (const ProcedureEntry& entry : procedures) {
    names.insert(Folded(CallKeyName(CallKeyFromHead(entry.HeadText))));
  }
  return names;
}

/// Counts the words of `text` followed by blanks and "(" whose folded form is in `names`.
size_t CountCalledWords(const std::string& text, const NameSet& names, std::string& word) {
  size_t found = 0;
  for (size_t at = 0; at < text.size();) {
    if (!IsWordChar(text[at])) {
      ++at;
      continue;
    }
    word.clear();
    for (; at < text.size() && IsWordChar(text[at]); ++at) word += FoldAsciiLetter(text[at]);
    size_t next = at;
    while (next < text.size() && text[next] == ' ') ++next;
    if (next < text.size() && text[next] == '(' && names.count(word) != 0) ++found;
  }
  return found;
}

std::string ReadWhole(const std::string& path) {
  std::string bytes;
  if (FILE* file = std::fopen(path.c_str(), "rb")) {
    char buffer[1 << 16];
    for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;) bytes.append(buffer, got);
    std::fclose(file);
  }
  return bytes;
}

/// The whole floor: the name set, then every file read and tokenized.
size_t TokenizingPass(const Project& project) {
  const NameSet names = FoldedNames(project.Procedures);
  std::string word;
  size_t found = 0;
  for (const SourceFile& file : project.SourceFiles) {
    found += CountCalledWords(ReadWhole(file.Path), names, word);
  }
  return found;
}

/// How a timed run finds the project's files and the call graph's pieces.
enum class RunKind {
  Afresh,       ///< every file read afresh, the pieces kept
  First,        ///< every file read afresh, no piece kept
  InTheWindow,  ///< as the window runs a listing: the files changed since read again
};

/// Times `listing` (given the project, a fresh list and the host) `repetitions` times, each
/// run as `kind` says, and prints the times as `name`.
template <typename Listing>
void TimeListing(const std::string& name, Project& project, int repetitions, Listing listing,
                 RunKind kind = RunKind::Afresh) {
  std::vector<double> times;
  ReportHost host;
  for (int repetition = 0; repetition < repetitions; ++repetition) {
    ResultList list(ListKind::Terms, name);
    if (kind != RunKind::InTheWindow) {
      // Files read afresh leave the lines kept from them behind, as a take-up does: they
      // would hold the old bytes and keep the run from the memory they take.
      project.Texts.Forget();
      project.KeptText.reset();
      project.KeptScope.reset();
    }
    if (kind == RunKind::First) project.Pieces.Clear();
    const double start = NowMs();
    if (kind == RunKind::InTheWindow) project.Texts.DropChanged();
    listing(project, list, host);
    times.push_back(NowMs() - start);
  }
  PrintTimes(name, times);
}

}  // namespace

int main(int argc, char** argv) {
  // On huge pages, as the report tool starts: after a floor on small pages, the report
  // run that came next in the bench was slower than the ones after it.
  StartOnHugePages(argv);
  if (argc != 3 && argc != 5) {
    std::cerr << "usage: pbst-bench-floor MAINFILE REPETITIONS [NAME TERM]\n";
    return 2;
  }
  Project project;
  ReportHost host;
  ResultList procedures(ListKind::Procedures, "Procedures");
  TakeUpProject(project, argv[1], procedures, host);
  const int repetitions = std::atoi(argv[2]);
  std::vector<double> times;
  size_t found = 0;
  for (int repetition = 0; repetition < repetitions; ++repetition) {
    const double start = NowMs();
    found = TokenizingPass(project);
    times.push_back(NowMs() - start);
  }
  PrintTimes("floor", times);
  std::cout << "called-words " << found << std::endl;
  if (argc == 5) {
    const std::string name = argv[3];
    const std::string term = argv[4];
    TimeListing("listing-calls", project, repetitions, [&](Project& p, ResultList& l, ReportHost& h) {
      ListProcedureCalls(p, l, h, {name});
    });
    TimeListing("listing-terms", project, repetitions, [&](Project& p, ResultList& l, ReportHost& h) {
      ListTermMatches(p, l, h, {term});
    });
    for (const auto& [listing, text] : {std::pair<std::string, std::string>{"unused", ""},
                                        {"declare-check", ""}, {"callees", name}}) {
      const ListingRun run = CatalogListing(listing).Run;
      const auto run_it = [&](Project& p, ResultList& l, ReportHost& h) { run(p, l, h, {text}); };
      TimeListing("listing-" + listing + "-first", project, repetitions, run_it, RunKind::First);
      TimeListing("listing-" + listing, project, repetitions, run_it);
      TimeListing("listing-" + listing + "-window", project, repetitions, run_it,
                  RunKind::InTheWindow);
    }
  }
  return 0;
}
