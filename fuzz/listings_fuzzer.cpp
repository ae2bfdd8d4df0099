// Fuzz target: every listing on a small project whose files come from the input. The
// input's first line holds a Stop selector byte, then a procedure name, a tab and a term;
// the files follow, separated by "%%" lines. Rows must name only files of the project,
// procedure rows must count their call rows, and every row must match what it lists.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_project.h"
#include "listings/all_procedure_calls.h"
#include "listings/call_matching.h"
#include "listings/list_history.h"
#include "listings/procedure_calls.h"
#include "listings/procedures_list.h"
#include "listings/term_matching.h"
#include "listings/term_search.h"
#include "listings/testing/listing_test_support.h"

namespace {

/// Enough entries for includes that multiply, few enough that a listing that reads every
/// file once per procedure stays fast.
constexpr size_t kMaxListedFiles = 64;

/// A host that says Stop at one poll (none when `stop_at` is 0) and checks that the Stop
/// control is switched on and off in turn.
class FuzzHost : public ListingHost {
 public:
  explicit FuzzHost(int64_t stop_at) : stop_at_(stop_at) {}
  bool PollStop() override {
    Require(stop_enabled_, "polls only while Stop is enabled");
    return ++polls_ == stop_at_;
  }
  void SetStopEnabled(bool enabled) override {
    Require(enabled != stop_enabled_, "Stop is switched on and off in turn");
    stop_enabled_ = enabled;
  }
  bool Stopped() const { return stop_at_ != 0 && polls_ >= stop_at_; }
  bool StopEnabled() const { return stop_enabled_; }

 private:
  int64_t stop_at_;
  int64_t polls_ = 0;
  bool stop_enabled_ = false;
};

bool IsEmptyRow(const ResultList& list, int32_t row) {
  for (int column = 0; column < ResultColumns; ++column) {
    if (!list.CellText(row, column).empty()) return false;
  }
  return true;
}

bool IsLineNumber(std::string_view text) {
  return !text.empty() && text.size() <= 10 && text[0] != '0' &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

/// A row of a listing that shows found lines: a line number, a file of the project.
void CheckFoundLineRow(const Project& project, const ResultList& list, int32_t row) {
  Require(IsLineNumber(list.CellText(row, ColumnLine)), "a found line has its number");
  Require(NamesListedFile(project.SourceFiles, list.CellText(row, ColumnFile)),
          "a row names a file of the project");
}

void CheckProcedures(const Project& project, const ResultList& list) {
  Require(static_cast<size_t>(list.RowCount()) == project.Procedures.size(),
          "one Procedures row per index entry");
  for (int32_t row = 0; row < list.RowCount(); ++row) {
    const ProcedureEntry& entry = project.Procedures[static_cast<size_t>(row)];
    Require(list.CellText(row, ColumnFunction) == entry.HeadText, "the row shows the head");
    Require(entry.LineNumber >= 1 && NamesListedFile(project.SourceFiles, entry.FileName),
            "a head stands on a line of a file of the project");
  }
}

/// Checks one procedure's block from its procedure row; returns the row after its calls.
int32_t CheckProcedureBlock(const Project& project, const ResultList& list, int32_t row,
                            const ProcedureEntry& entry) {
  Require(list.CellText(row, ColumnCalls) == entry.HeadText, "the procedure row shows the head");
  Require(list.CellText(row, ColumnFile) == entry.FileName, "the procedure row names its file");
  const std::string key = CallKeyFromHead(entry.HeadText);
  int32_t calls = 0;
  bool called_above_head = false;
  int32_t next = row + 1;
  for (; next < list.RowCount() && !IsEmptyRow(list, next); ++next, ++calls) {
    CheckFoundLineRow(project, list, next);
    Require(FindCall(list.CellText(next, ColumnCalls), key) != 0, "a call row holds a call");
    called_above_head |= std::stoll(std::string(list.CellText(next, ColumnLine))) < entry.LineNumber;
  }
  if (next < list.RowCount()) {  // finished: the stopped procedure has no closing row
    Require(list.CellText(row, ColumnCount) == std::to_string(calls),
            "a finished procedure counts its call rows");
    Require(list.Row(row).Marks.Has(RowMark::CalledAboveHead) == called_above_head,
            "the row is marked exactly for a call above the head");
  }
  return next + 1;
}

void CheckAllCalls(const Project& project, const ResultList& list, bool stopped) {
  int32_t row = 0;
  size_t procedures = 0;
  for (; row < list.RowCount() && procedures < project.Procedures.size(); ++procedures) {
    row = CheckProcedureBlock(project, list, row, project.Procedures[procedures]);
  }
  Require(row >= list.RowCount(), "no rows after the last procedure");
  Require(stopped || procedures == project.Procedures.size(), "every procedure has its block");
}

void CheckProcedureCalls(const Project& project, const ResultList& list, int32_t result,
                         bool stopped) {
  Require(list.Kind() == ListKind::ProcedureCalls, "the lookup opens a Proc: list");
  Require(result == (stopped ? 0 : list.RowCount()), "the lookup returns its row count");
  const std::string key = CallKeyFromName(list.Subject());
  for (int32_t row = 0; row < list.RowCount(); ++row) {
    if (IsEmptyRow(list, row)) continue;
    CheckFoundLineRow(project, list, row);
    Require(FindCall(list.CellText(row, ColumnCalls), key) != 0, "a call row holds a call");
  }
}

void CheckTerms(const Project& project, const ResultList& list, std::string_view term) {
  for (int32_t row = 0; row < list.RowCount(); ++row) {
    if (IsEmptyRow(list, row)) continue;
    CheckFoundLineRow(project, list, row);
    const TermMatch match = MatchTerm(list.CellText(row, ColumnCalls), term);
    Require(match.Result != 0, "a term row holds the term");
    Require(list.CellText(row, ColumnCount) == match.UseMarker, "the Count cell shows the marker");
  }
}

/// Runs one listing with a fresh host; checks that Stop ends up disabled.
template <typename Run>
bool RunListing(int64_t stop_at, Run run) {
  FuzzHost host(stop_at);
  run(host);
  Require(!host.StopEnabled(), "Stop is disabled when a listing ends");
  return host.Stopped();
}

/// The procedure-call listing reports its stop, and gives Declare text exactly when it
/// found Declare candidates.
void CheckAllCallsResult(const ListingResult& result, const FuzzHost& host,
                         const Project& project) {
  Require(WasStopped(result) == host.Stopped(), "the procedure-call listing reports its stop");
  Require(result.DeclareText.empty() == project.Candidates.empty(),
          "there is Declare text exactly when there are Declares");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const int64_t stop_at = data[0] < 0xC0 ? 0 : data[0] - 0xBF;  // a quarter of inputs stop
  const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
  const size_t header_end = input.find('\n');
  const std::string_view header = input.substr(0, header_end);
  const std::string_view name = header.substr(0, header.find('\t'));
  const std::string_view term =
      header.find('\t') == std::string_view::npos ? "" : header.substr(header.find('\t') + 1);
  const std::string_view files =
      header_end == std::string_view::npos ? "" : input.substr(header_end + 1);
  const FuzzProject folder(SplitInput(files, FileSeparator, FuzzProject::MaxFiles));

  Project project;
  project.MainFile = folder.MainPath();
  project.SourceFiles = ScanIncludes(project.MainFile);
  project.SourceFiles.resize(std::min(project.SourceFiles.size(), kMaxListedFiles));
  ListHistory history;
  ResultList& procedures = history.OpenResultList(ListKind::Procedures, "Procedures");
  RunListing(stop_at, [&](FuzzHost& host) { ListProcedures(project, procedures, host); });
  CheckProcedures(project, procedures);

  ResultList& all_calls = history.OpenResultList(

      ListKind::AllProcedureCalls, "All Procedure-Calls...");
  const bool stopped = RunListing(stop_at, [&](FuzzHost& host) {
    CheckAllCallsResult(ListAllProcedureCalls(project, all_calls, host), host, project);
  });
  CheckAllCalls(project, all_calls, stopped);

  int32_t result = 0;
  const bool calls_stopped = RunListing(stop_at, [&](FuzzHost& host) {
    result = OpenProcedureCalls(project, history, host, name);
  });
  if (!name.empty()) CheckProcedureCalls(project, *history.Current(), result, calls_stopped);

  ResultList& terms = history.OpenResultList(ListKind::Terms, term);
  RunListing(stop_at, [&](FuzzHost& host) { ListTermMatches(project, terms, host, {std::string(term)}); });
  CheckTerms(project, terms, term);
  return 0;
}
