// The fast listings against the straightforward reference: on many generated projects and
// on the bundled example, both must leave identical lists, return values, Declare
// candidates and clipboard texts; a stop must leave a prefix of the complete list.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <random>
#include <set>
#include <algorithm>
#include <string>
#include <vector>

#include "listings/all_procedure_calls.h"
#include "listings/call_candidates.h"
#include "listings/call_graph.h"
#include "listings/call_matching.h"
#include "listings/call_search.h"
#include "listings/call_sweep.h"
#include "listings/callees.h"
#include "listings/check_lines.h"
#include "listings/declare_check.h"
#include "listings/declares.h"
#include "listings/testing/listing_test_support.h"
#include "listings/procedure_calls.h"
#include "listings/procedures_list.h"
#include "listings/row_location.h"
#include "listings/term_search.h"
#include "listings/unused.h"
#include "listings/testing/project_generator.h"
#include "listings/testing/reference_listings.h"
#include "source/line_classification.h"
#include "source/file_system.h"
#include "source/path_parts.h"
#include "source/recorded_main_file.h"
#include "source/source_reader.h"

namespace {


// ---------------------------------------------------------------------------------------
// Comparisons

std::string Describe(const ResultRow& row, int column) {
  return "\"" + std::string(row.Cells[static_cast<size_t>(column)]) + "\" marks " +
         std::to_string(row.Marks.Bits()) + " written for " +
         std::to_string(static_cast<int>(row.WrittenFor)) + " file " + std::to_string(row.File);
}

bool SameCell(const ResultRow& a, const ResultRow& b, int column) {
  return a.Cells[static_cast<size_t>(column)] == b.Cells[static_cast<size_t>(column)] &&
         a.Marks == b.Marks && a.WrittenFor == b.WrittenFor && a.File == b.File;
}

/// The first row that differs, cell by cell; rows equal up to `rows`.
::testing::AssertionResult SameRows(const ResultList& expected, const ResultList& actual,
                                    int32_t rows) {
  for (int32_t row = 0; row < rows; ++row) {
    for (int column = 0; column < ResultColumns; ++column) {
      const ResultRow& want = expected.Row(row);
      const ResultRow& got = actual.Row(row);
      if (!SameCell(want, got, column)) {
        return ::testing::AssertionFailure() << "row " << row << " column " << column
                                             << ": reference " << Describe(want, column)
                                             << ", fast " << Describe(got, column);
      }
    }
  }
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult SameList(const ResultList& expected, const ResultList& actual) {
  if (expected.Kind() != actual.Kind() || expected.Subject() != actual.Subject() ||
      expected.Caption() != actual.Caption()) {
    return ::testing::AssertionFailure() << "caption \"" << expected.Caption() << "\" vs \""
                                         << actual.Caption() << "\"";
  }
  if (expected.RowCount() != actual.RowCount()) {
    return ::testing::AssertionFailure() << expected.RowCount() << " rows vs " << actual.RowCount()
                                         << "; " << SameRows(expected, actual,
                                                             std::min(expected.RowCount(),
                                                                      actual.RowCount()))
                                                        .message();
  }
  if (expected.SelectedRow() != actual.SelectedRow()) {
    return ::testing::AssertionFailure() << "selected row differs";
  }
  return SameRows(expected, actual, expected.RowCount());
}

/// Each entry as one text: path, including file, line and the statement of an expression
/// that named no file.
Texts EntryTexts(const SourceFileList& files) {
  Texts texts;
  for (const SourceFile& file : files) {
    texts.push_back(file.Path + "|" + file.IncludedBy + "|" + std::to_string(file.IncludeLine) +
                    "|" + file.Unresolved);
  }
  return texts;
}

/// Each index entry as `ReferenceProcedureIndex` gives it.
Texts IndexTexts(const ProcedureIndex& procedures) {
  Texts texts;
  for (const ProcedureEntry& entry : procedures) {
    texts.push_back(entry.HeadText + "|" + entry.FileName + "|" + std::to_string(entry.LineNumber) +
                    "|" + entry.Module + "|" + std::to_string(entry.File) + "|" +
                    (entry.AddressTaken ? "callback" : ""));
  }
  return texts;
}

Texts CandidateTexts(const DeclareCandidates& candidates) {
  Texts texts;
  for (const DeclareCandidate& candidate : candidates) {
    texts.push_back(candidate.HeadText + "|" + candidate.FileName);
  }
  return texts;
}

/// `text` without its blanks and tabs, which the rows of the listings drop or close up.
std::string Unspaced(std::string_view text) {
  std::string kept;
  for (const char c : text) {
    if (c != ' ' && c != '\t') kept += c;
  }
  return kept;
}

/// The lines of `path` as the listings count them, blanks and tabs removed.
Texts UnspacedFileLines(const std::string& path) {
  Texts lines;
  SourceReader reader;
  if (!reader.Open(path)) return lines;
  while (!reader.AtEnd()) lines.push_back(Unspaced(reader.ReadRawLine()));
  return lines;
}

/// Every row that names a project file and a line points at a line of that file that
/// begins with the row's text (the head in the "Procedures" list), blanks and tabs left
/// aside (a line is cut before its comment, a call closed up): the report tool's lines for
/// editors and the jump to the editor take the user there, also where two files share a
/// name.
void ExpectRowsPointAtTheirLines(const SourceFileList& files, const ResultList& list) {
  std::map<std::string, Texts> read;
  for (int32_t row = 0; row < list.RowCount(); ++row) {
    const RowLocation at = LocateRow(list, row, files);
    if (at.File == nullptr || at.Line <= 0) continue;
    if (read.count(at.File->Path) == 0) read[at.File->Path] = UnspacedFileLines(at.File->Path);
    const Texts& lines = read[at.File->Path];
    ASSERT_LE(static_cast<size_t>(at.Line), lines.size()) << "row " << row;
    const bool heads = list.Kind() == ListKind::Procedures;
    const std::string text = Unspaced(list.CellText(row, heads ? ColumnFunction : ColumnCalls));
    const std::string& line = lines[static_cast<size_t>(at.Line) - 1];
    EXPECT_EQ(line.rfind(text, 0), 0u) << "row " << row << " \"" << text << "\" points at line "
                                       << at.Line << " \"" << line << "\" of " << at.File->Path;
  }
}

// ---------------------------------------------------------------------------------------
// Runs of both implementations

/// The outcome of one procedure-call listing.
struct AllCallsRun {
  ResultList List{ListKind::AllProcedureCalls, "All Procedure-Calls..."};
  bool Stopped = false;
  Texts Candidates;
  std::string Declares;
  RecordingHost Host;
};

void RunAllCalls(TestProject& test, bool reference, AllCallsRun& run) {
  const ListingResult result = reference
                                   ? ReferenceListAllProcedureCalls(test.project, run.List, run.Host)
                                   : ListAllProcedureCalls(test.project, run.List, run.Host);
  run.Stopped = WasStopped(result);
  run.Declares = result.DeclareText;
  run.Candidates = CandidateTexts(test.project.Candidates);
}

/// Compares both listings; returns the number of rows marked ambiguous.
int ExpectSameAllCalls(TestProject& test) {
  AllCallsRun reference;
  AllCallsRun fast;
  RunAllCalls(test, true, reference);
  RunAllCalls(test, false, fast);
  int ambiguous = 0;
  for (int32_t row = 0; row < fast.List.RowCount(); ++row) {
    ambiguous += fast.List.Row(row).Marks.Has(RowMark::Ambiguous) ? 1 : 0;
  }
  EXPECT_TRUE(SameList(reference.List, fast.List));
  EXPECT_EQ(reference.Stopped, fast.Stopped);
  EXPECT_EQ(reference.Candidates, fast.Candidates);
  EXPECT_EQ(reference.Declares, fast.Declares);
  EXPECT_EQ(reference.Host.StopStates, fast.Host.StopStates);
  ExpectRowsPointAtTheirLines(test.project.SourceFiles, fast.List);
  return ambiguous;
}

void ExpectSameCalls(TestProject& test, const std::string& name, bool without_module = false) {
  SCOPED_TRACE("calls of \"" + name + "\"" + (without_module ? " without module" : ""));
  ResultList reference(ListKind::ProcedureCalls, name);
  ResultList fast(ListKind::ProcedureCalls, name);
  RecordingHost reference_host;
  RecordingHost fast_host;
  const ListingResult result =
      ListProcedureCalls(test.project, fast, fast_host, {name, without_module});
  EXPECT_EQ(ReferenceListProcedureCalls(test.project, reference, reference_host, name,
                                        without_module),
            ListedNothing(result, fast) ? 0 : fast.RowCount());
  EXPECT_TRUE(SameList(reference, fast));
  EXPECT_EQ(reference_host.StopStates, fast_host.StopStates);
  ExpectRowsPointAtTheirLines(test.project.SourceFiles, fast);
}

void ExpectSameTerms(TestProject& test, const std::string& term) {
  SCOPED_TRACE("term \"" + term + "\"");
  ResultList reference(ListKind::Terms, term);
  ResultList fast(ListKind::Terms, term);
  RecordingHost reference_host;
  RecordingHost fast_host;
  ReferenceListTermMatches(test.project, reference, reference_host, term);
  ListTermMatches(test.project, fast, fast_host, {term});
  EXPECT_TRUE(SameList(reference, fast));
  EXPECT_EQ(reference_host.StopStates, fast_host.StopStates);
  ExpectRowsPointAtTheirLines(test.project.SourceFiles, fast);
}

/// Names as a caller passes them: as written, and in turn in other case, with
/// parameters, with a trailing "(" or after blanks; and the empty name, whose key is "(".
Texts CallNames(const Texts& names) {
  Texts texts{"", "e"};
  for (size_t i = 0; i < names.size(); ++i) {
    std::string lower = names[i];
    for (char& c : lower) c = static_cast<char>(std::tolower(c));
    const Texts variants{lower, names[i] + "(a, b)", names[i] + "(", "  " + names[i] + " (x)"};
    texts.insert(texts.end(), {names[i], variants[i % variants.size()]});
  }
  return texts;
}

/// Terms: the names, the start of one, terms with a blank (one that only the blanking of
/// a string literal can make), the empty term.
Texts Terms(const Texts& names) {
  Texts texts{"", "a b", "\" \"", "Global", "EndProcedure", names.front().substr(0, 2)};
  texts.insert(texts.end(), names.begin(), names.end());
  return texts;
}

/// Per file, per line, what the checks take it for.
using CheckReading = std::vector<std::vector<ReferenceCheckLine>>;

/// The procedure in which the checks see a call on `line` of `file`: "" outside a body and
/// in a Macro body, else the real head's line number, or "unlisted" for a head that the
/// procedures list leaves out.
std::string EnclosingByChecks(const ProjectText& text, size_t file, const ReferenceCheckLine& line) {
  if (line.InMacro || line.BodyHead == 0) return "";
  const size_t head = text.Files()[file].FirstLine + static_cast<size_t>(line.BodyHead) - 1;
  return ListedHeadText(text.SourceLine(head)).empty() ? "unlisted" : std::to_string(line.BodyHead);
}

std::string EnclosingOfSite(const ProcedureIndex& procedures, const CallSite& site) {
  if (site.Caller == MainCode) return "";
  if (site.Caller == UnlistedProcedure) return "unlisted";
  return std::to_string(procedures[static_cast<size_t>(site.Caller)].LineNumber);
}

std::string SiteText(int32_t callee, std::string_view file, int32_t line, bool other_case,
                     std::string_view enclosing) {
  return std::to_string(callee) + "|" + std::string(file) + "|" + std::to_string(line) + "|" +
         (other_case ? "other case|" : "|") + std::string(enclosing);
}

/// One call row of an All Proc-Calls list: the callee it stands under and its file.
struct CallRow {
  int32_t Callee = 0;
  size_t File = 0;
  int32_t Line = 0;
  ResultRow Row;  ///< views the list's texts
  std::string Enclosing;  ///< as `EnclosingByChecks`
  bool InMacro = false;
};

/// The file of a call row: the first file of its name whose line holds the row's text
/// (two files may share a name).
size_t FileOfCallRow(const ProjectText& text, const ResultRow& row, std::string_view key,
                     int32_t line) {
  for (size_t file = 0;; ++file) {
    const ProjectFile& source = text.Files()[file];
    if (source.FileName != row.Cells[ColumnFile] || source.LineCount < static_cast<size_t>(line)) {
      continue;
    }
    const std::string_view raw = text.SourceLine(source.FirstLine + static_cast<size_t>(line) - 1);
    if (NormalizeCallLine(raw, key) == row.Cells[ColumnCalls]) return file;
  }
}

/// The call rows of an All Proc-Calls list that the checks take for calls, in list order:
/// Declare lines, real heads and lines that hold no call aside, and calls of index entries
/// that are no real heads.
std::vector<CallRow> CallRows(const ProjectText& text, const ProcedureIndex& procedures,
                              const CheckReading& checks, const ResultList& list) {
  std::vector<CallRow> rows;
  int32_t callee = -1;
  for (int32_t index = 0; index < list.RowCount(); ++index) {
    const ResultRow row = list.Row(index);
    if (row.Marks.Has(RowMark::ProcedureRow)) ++callee;
    if (row.Marks.Has(RowMark::ProcedureRow) || row.Marks.Has(RowMark::ClosingRow)) continue;
    const int32_t line = std::stoi(std::string(row.Cells[ColumnLine]));
    const std::string key = CallKeyFromHead(procedures[static_cast<size_t>(callee)].HeadText);
    const size_t file = FileOfCallRow(text, row, key, line);
    if (IsDeclareLine(text.SourceLine(text.Files()[file].FirstLine + line - 1))) continue;
    const ReferenceCheckLine& checked = checks[file][static_cast<size_t>(line) - 1];
    if (checked.Head || checked.NoCall ||
        !IsRealProcedureHead(procedures[static_cast<size_t>(callee)].HeadText)) {
      continue;
    }
    rows.push_back({callee, file, line, row, EnclosingByChecks(text, file, checked), checked.InMacro});
  }
  return rows;
}

Texts CallRowTexts(const std::vector<CallRow>& calls) {
  Texts texts;
  for (const CallRow& call : calls) {
    texts.push_back(SiteText(call.Callee, call.Row.Cells[ColumnFile], call.Line,
                             call.Row.Marks.Has(RowMark::OtherCase), call.Enclosing) +
                    (call.InMacro ? "|macro" : ""));
  }
  return texts;
}

/// Names qualified with each module, with and without blanks around "::".
Texts QualifiedNames(const Texts& names) {
  Texts texts;
  for (size_t i = 0; i < names.size(); ++i) {
    const std::string& module = kModuleNames[i % kModuleNames.size()];
    texts.push_back(module + (i % 2 == 0 ? "::" : " :: ") + names[i]);
  }
  return texts;
}

/// A callee row as "head line|callee label|line|file|calls text|marks".
std::string CalleeRowText(int32_t head_line, const ResultRow& row) {
  std::string text = std::to_string(head_line);
  for (const int column : {ColumnFunction, ColumnLine, ColumnFile, ColumnCalls}) {
    text += "|";
    text += row.Cells[static_cast<size_t>(column)];
  }
  return text + "|" + std::to_string(row.Marks.Bits());
}

/// What the callees of the heads of `key` must list: each call row of All Proc-Calls whose
/// enclosing head is one of them, shown under its callee's label.
Texts ExpectedCallees(const ProjectText& text, const ProcedureIndex& procedures,
                      const std::vector<CallRow>& calls, std::string_view key) {
  Texts texts;
  for (const CallRow& call : calls) {
    const std::string& number = call.Enclosing;
    if (number.empty() || number == "unlisted") continue;
    const ProcedureEntry& callee = procedures[static_cast<size_t>(call.Callee)];
    for (const ProcedureEntry& head : procedures) {
      if (std::to_string(head.LineNumber) != number || CallKeyFromHead(head.HeadText) != key ||
          head.FileName != text.Files()[call.File].FileName) {
        continue;
      }
      ResultRow row = call.Row;
      // The label names the callee's file when the call stands in another one.
      const bool elsewhere = callee.File != static_cast<int32_t>(call.File);
      const std::string label = ProcLabel(callee.LineNumber, callee.HeadText) +
                                (elsewhere ? " -> " + callee.FileName : "");
      row.Cells[ColumnFunction] = label;
      if (call.Line < callee.LineNumber) row.Marks |= RowMark::CalledAboveHead;
      texts.push_back(CalleeRowText(head.LineNumber, row));
      // A file included twice lists its heads twice, and its call rows under each: one
      // head of a name, file and line stands for them all, as the rows cannot tell them apart.
      break;
    }
  }
  std::sort(texts.begin(), texts.end());
  return texts;
}

/// The rows of the callees listing of `key`'s heads, each with its head's line.
Texts CalleeRows(TestProject& test, std::string_view key) {
  std::vector<int32_t> heads;
  for (const ProcedureEntry& entry : test.project.Procedures) {
    if (CallKeyFromHead(entry.HeadText) == key) heads.push_back(entry.LineNumber);
  }
  const std::string name(CallKeyName(key));
  ResultList list(ListKind::Callees, name);
  RecordingHost host;
  ListCallees(test.project, list, host, {name});
  EXPECT_EQ(host.StopStates, (std::vector<bool>{true, false}));
  Texts texts;
  size_t head = 0;
  for (int32_t index = 0; index < list.RowCount(); ++index) {
    if (list.Row(index).Marks.Has(RowMark::Separator)) {
      ++head;
      continue;
    }
    texts.push_back(CalleeRowText(heads.at(head), list.Row(index)));
  }
  EXPECT_EQ(head + 1, heads.size()) << "one empty row between heads";
  ExpectRowsPointAtTheirLines(test.project.SourceFiles, list);
  std::sort(texts.begin(), texts.end());
  return texts;
}

/// Every callee row of P is a call row of the callee whose enclosing procedure is P, and
/// back, for every name of the project: from a graph of P's bodies, and from the whole
/// graph that a check run before keeps.
void ExpectCalleesAsAllCalls(TestProject& test, const ProjectText& text,
                             const std::vector<CallRow>& calls) {
  std::set<std::string> keys;
  for (const ProcedureEntry& entry : test.project.Procedures) {
    keys.insert(CallKeyFromHead(entry.HeadText));
  }
  for (const bool whole_graph_kept : {false, true}) {
    test.project.CheckGraph.reset();
    ResultList unused(ListKind::Unused, "Unused");
    RecordingHost quiet;
    if (whole_graph_kept) {
      ASSERT_FALSE(WasStopped(ListUnused(test.project, unused, quiet)));
    }
    for (const std::string& key : keys) {
      SCOPED_TRACE("callees of \"" + key + (whole_graph_kept ? "\" from the kept graph" : "\""));
      EXPECT_EQ(ExpectedCallees(text, test.project.Procedures, calls, key), CalleeRows(test, key));
    }
  }
}

/// A graph built for the bodies of one name's heads holds exactly the whole graph's sites
/// in those bodies, in the same order, with the same callers and marks.
void ExpectBodyGraphsAsWhole(const ProcedureIndex& procedures, const ProjectText& text,
                             const CallGraph& whole) {
  std::map<std::string, std::vector<int32_t>> heads_of_key;
  for (size_t entry = 0; entry < procedures.size(); ++entry) {
    heads_of_key[CallKeyFromHead(procedures[entry].HeadText)].push_back(
        static_cast<int32_t>(entry));
  }
  const auto site_text = [&](const CallSite& site) {
    return SiteText(site.Callee, text.Files()[site.File].FileName, site.LineNumber,
                    site.OtherCase, std::to_string(site.Caller)) +
           (site.Ambiguous ? "|ambiguous" : "");
  };
  for (const auto& [key, heads] : heads_of_key) {
    SCOPED_TRACE("bodies of \"" + key + "\"");
    Texts expected;
    for (const CallSite& site : whole.Sites()) {
      if (std::count(heads.begin(), heads.end(), site.Caller) > 0) {
        expected.push_back(site_text(site));
      }
    }
    RecordingHost quiet;
    CallGraph bodies;
    ASSERT_EQ(bodies.BuildIn(text, procedures, heads, quiet), ListingEnd::Finished);
    Texts found;
    for (const CallSite& site : bodies.Sites()) found.push_back(site_text(site));
    EXPECT_EQ(expected, found);
  }
}

/// The call graph holds exactly the call rows of All Proc-Calls that the checks' reference
/// reading takes for calls, with the enclosing procedure of that reading, and its index by
/// caller holds each site of a listed caller once.
void ExpectGraphAsAllCalls(TestProject& test) {
  AllCallsRun all_calls;
  RunAllCalls(test, false, all_calls);
  RecordingHost quiet;
  ProjectText text;
  ASSERT_EQ(text.Load(test.project.SourceFiles, test.project.Texts, quiet), ListingEnd::Finished);
  CallGraph graph;
  ASSERT_EQ(graph.Build(text, test.project.Procedures, quiet), ListingEnd::Finished);
  Texts sites;
  size_t in_listed_callers = 0;
  for (const CallSite& site : graph.Sites()) {
    sites.push_back(SiteText(site.Callee, text.Files()[site.File].FileName, site.LineNumber,
                             site.OtherCase, EnclosingOfSite(test.project.Procedures, site)) +
                    (site.InMacro ? "|macro" : ""));
    in_listed_callers += site.Caller >= 0 ? 1 : 0;
  }
  const std::vector<CallRow> calls =
      CallRows(text, test.project.Procedures, ReferenceCheckLines(test.project), all_calls.List);
  EXPECT_EQ(CallRowTexts(calls), sites);
  size_t by_caller = 0;
  for (size_t caller = 0; caller < test.project.Procedures.size(); ++caller) {
    for (const CallSite* site : graph.SitesIn(static_cast<int32_t>(caller))) {
      EXPECT_EQ(site->Caller, static_cast<int32_t>(caller));
      ++by_caller;
    }
  }
  EXPECT_EQ(by_caller, in_listed_callers);
  ExpectBodyGraphsAsWhole(test.project.Procedures, text, graph);
  ExpectCalleesAsAllCalls(test, text, calls);
}

/// What a check has to tell apart about a procedure: its file, head line and head.
std::string ProcedureKey(std::string_view file, std::string_view line, std::string_view head) {
  return std::string(file) + "|" + std::string(line) + "|" + std::string(head);
}

/// No procedure that main code calls (a call outside every body or in a Macro body, as
/// the checks' reference reading sees it) is listed unused, nor an index entry that is no
/// real head. Returns how many procedures main code calls and how many are listed unused,
/// so that the property can be seen not to hold vacuously.
std::pair<size_t, size_t> ExpectMainCodeCalleesLive(TestProject& test) {
  RecordingHost quiet;
  ProjectText text;
  EXPECT_EQ(text.Load(test.project.SourceFiles, test.project.Texts, quiet), ListingEnd::Finished);
  AllCallsRun all_calls;
  RunAllCalls(test, false, all_calls);
  std::set<std::string> called;
  for (const CallRow& call : CallRows(text, test.project.Procedures,
                                      ReferenceCheckLines(test.project), all_calls.List)) {
    const ProcedureEntry& callee = test.project.Procedures[static_cast<size_t>(call.Callee)];
    if (call.Enclosing.empty()) {
      called.insert(ProcedureKey(callee.FileName, std::to_string(callee.LineNumber), callee.HeadText));
    }
  }
  ResultList unused(ListKind::Unused, "Unused");
  EXPECT_FALSE(WasStopped(ListUnused(test.project, unused, quiet)));
  ExpectRowsPointAtTheirLines(test.project.SourceFiles, unused);
  ResultList declare_check(ListKind::DeclareCheck, "Declare check");
  EXPECT_FALSE(WasStopped(ListDeclareCheck(test.project, declare_check, quiet)));
  ExpectRowsPointAtTheirLines(test.project.SourceFiles, declare_check);
  size_t listed = 0;
  for (int32_t index = 0; index < unused.RowCount(); ++index) {
    const auto& cells = unused.Row(index).Cells;
    if (!unused.Row(index).Marks.Has(RowMark::Finding)) continue;
    ++listed;
    EXPECT_TRUE(IsRealProcedureHead(cells[ColumnCalls])) << cells[ColumnCalls];
    EXPECT_EQ(called.count(ProcedureKey(cells[ColumnFile], cells[ColumnLine], cells[ColumnCalls])), 0u)
        << cells[ColumnCalls] << " in " << cells[ColumnFile] << " is called from main code";
  }
  return {called.size(), listed};
}

/// Everything a call graph holds, as texts: each site with its caller and marks, each
/// procedure's head line, each caller's callees in order, and the Declare lines.
Texts GraphTexts(const ProjectText& text, const CallGraph& graph) {
  Texts texts;
  for (const CallSite& site : graph.Sites()) {
    texts.push_back(SiteText(site.Callee, text.Files()[site.File].FileName, site.LineNumber,
                             site.OtherCase, std::to_string(site.Caller)) + "|" +
                    std::to_string(site.Line) + (site.Ambiguous ? "|ambiguous" : "") +
                    (site.InMacro ? "|macro" : ""));
  }
  for (size_t procedure = 0; procedure < graph.ProcedureCount(); ++procedure) {
    std::string callees = "head " + std::to_string(graph.HeadLine(static_cast<int32_t>(procedure))) + ":";
    for (const int32_t callee : graph.CalleesIn(static_cast<int32_t>(procedure))) {
      callees += " " + std::to_string(callee);
    }
    texts.push_back(callees);
  }
  for (const GraphDeclare& declare : graph.Declares()) {
    texts.push_back("declare " + std::to_string(declare.Line) + " " + declare.Module);
  }
  return texts;
}

/// `bytes` with one line, chosen by `random`, deleted, doubled or replaced by another line
/// of it.
std::string EditedLine(const std::string& bytes, std::mt19937& random) {
  Texts lines;
  for (size_t start = 0; start < bytes.size();) {
    const size_t end = std::min(bytes.find('\n', start), bytes.size());
    lines.push_back(bytes.substr(start, end + 1 - start));
    start = end + 1;
  }
  if (lines.empty()) return "Procedure Added()\nEndProcedure\n";
  const size_t at = random() % lines.size();
  const std::string other = lines[random() % lines.size()];
  switch (random() % 3) {
    case 0: lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(at)); break;
    case 1: lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), lines[at]); break;
    default: lines[at] = other; break;
  }
  std::string edited;
  for (const std::string& line : lines) edited += line;
  return edited;
}

/// The calls of `name` as the project gives them now: with the text kept from before, and
/// with the files read afresh.
void ExpectCallsOfKeptTextAsFresh(TestProject& test, const std::string& name) {
  RecordingHost quiet;
  ResultList kept(ListKind::ProcedureCalls, name);
  ListProcedureCalls(test.project, kept, quiet, {name});
  test.project.KeptText.reset();
  ResultList fresh(ListKind::ProcedureCalls, name);
  ListProcedureCalls(test.project, fresh, quiet, {name});
  EXPECT_TRUE(SameList(fresh, kept)) << "calls of " << name << " after an edit";
}

/// After an edit of one file in the editor's bytes and a take-up again, the call graph put
/// together from the pieces kept before the edit equals the graph built whole, and the
/// calls of `name` from the text kept before equal those of the files read afresh. Returns
/// 1 when the pieces spared a sweep of some lines, so that reuse is seen to be tested.
size_t ExpectPiecesAfterAnEditAsWhole(TestProject& test, unsigned seed, const std::string& name) {
  RecordingHost quiet;
  ResultList calls(ListKind::ProcedureCalls, name);
  ListProcedureCalls(test.project, calls, quiet, {name});  // keeps the text
  ProjectText before;
  EXPECT_EQ(before.Load(test.project.SourceFiles, test.project.Texts, quiet), ListingEnd::Finished);
  CallGraph kept;
  EXPECT_EQ(kept.Build(before, test.project, quiet), ListingEnd::Finished);
  std::mt19937 random(seed);
  const std::string path = test.project.SourceFiles[random() % test.project.SourceFiles.size()].Path;
  const std::shared_ptr<const std::string> bytes = test.project.Texts.Bytes(path);
  test.project.Texts.SetEditorBytes(path, EditedLine(bytes ? *bytes : std::string(), random));
  ResultList procedures(ListKind::Procedures, "Procedures");
  EXPECT_EQ(TakeUpAgain(test.project, procedures, quiet), ListingEnd::Finished);
  ExpectCallsOfKeptTextAsFresh(test, name);
  ProjectText text;
  EXPECT_EQ(text.Load(test.project.SourceFiles, test.project.Texts, quiet), ListingEnd::Finished);
  RecordingHost pieced_host;
  RecordingHost whole_host;
  CallGraph pieced;
  CallGraph whole;
  EXPECT_EQ(pieced.Build(text, test.project, pieced_host), ListingEnd::Finished);
  EXPECT_EQ(whole.Build(text, test.project.Procedures, whole_host), ListingEnd::Finished);
  EXPECT_EQ(GraphTexts(text, pieced), GraphTexts(text, whole)) << "edited " << path;
  return pieced_host.Polls < whole_host.Polls ? 1 : 0;
}

/// The rows of an All Proc-Calls list stay as written after every file of the project is
/// edited, taken up and listed again: rows that view their lines in the files' bytes keep
/// the bytes they were read from. Returns the number of call rows compared.
size_t ExpectRowsOutliveChangedFiles(TestProject& test, unsigned seed) {
  AllCallsRun before;
  RunAllCalls(test, false, before);
  const Texts written = TestProject::RowTexts(before.List);
  std::mt19937 random(seed);
  for (const SourceFile& file : test.project.SourceFiles) {
    const std::shared_ptr<const std::string> bytes = test.project.Texts.Bytes(file.Path);
    test.project.Texts.SetEditorBytes(file.Path, EditedLine(bytes ? *bytes : std::string(), random));
  }
  // A take-up afresh drops every text that the project kept, so that the list alone holds
  // the bytes it was listed from.
  RecordingHost quiet;
  ResultList procedures(ListKind::Procedures, "Procedures");
  const std::string main_file = test.project.MainFile;
  EXPECT_EQ(TakeUpProject(test.project, main_file, procedures, quiet), ListingEnd::Finished);
  AllCallsRun after;
  RunAllCalls(test, false, after);
  EXPECT_EQ(TestProject::RowTexts(before.List), written);
  size_t calls = 0;
  for (int32_t row = 0; row < before.List.RowCount(); ++row) {
    const ResultRow held = before.List.Row(row);
    calls += held.Marks.Has(RowMark::ProcedureRow) || held.Cells[ColumnCalls].empty() ? 0 : 1;
  }
  return calls;
}

/// Everything a call hit tells, as one text.
std::string HitText(const CallHit& hit) {
  return std::to_string(hit.File) + ":" + std::to_string(hit.LineNumber) + ":" +
         std::to_string(hit.Line) + " " + std::string(hit.Prepared) + " | " +
         std::to_string(hit.Found) + " | " + std::string(hit.Label) + " | " +
         std::to_string(hit.Head) + (hit.Ambiguous ? " ambiguous" : "");
}

/// The one pass over the lines finds for every key and target, whether of an entry (as
/// All Proc-Calls asks) or of any module (as the call graph asks), the hits that the
/// search per key finds, each with the same prepared line, label, head and ambiguity; and
/// on every line, for every key, the preparation without a copy is the one with it, and a
/// line that `MayHoldCall` rules out holds no call. Returns the number of hits compared.
size_t ExpectSweepFindsWhatTheSearchFinds(TestProject& test) {
  RecordingHost quiet;
  ProjectText text;
  EXPECT_EQ(text.Load(test.project.SourceFiles, test.project.Texts, quiet), ListingEnd::Finished);
  ProcedureCallSearch search(text, test.project.Procedures);
  EXPECT_TRUE(search.Index(quiet));
  std::vector<SweptKey> keys = EntryKeys(test.project.Procedures);
  for (const ProcedureEntry& entry : test.project.Procedures) {
    keys.push_back({CallKeyFromHead(entry.HeadText), CallTarget()});
  }
  CallSweep sweep(search, text, keys);
  EXPECT_TRUE(sweep.Sweep(quiet));
  size_t compared = 0;
  for (size_t index = 0; index < keys.size(); ++index) {
    Texts searched;
    Texts swept;
    search.FindCalls(keys[index].Key, keys[index].Target, quiet,
                     [&](const CallHit& hit) { searched.push_back(HitText(hit)); });
    sweep.Calls(index, quiet, [&](const CallHit& hit) { swept.push_back(HitText(hit)); });
    EXPECT_EQ(swept, searched) << "key " << keys[index].Key;
    compared += searched.size();
    for (size_t line = 0; line < text.LineCount(); ++line) {
      const std::string_view source = text.SourceLine(line);
      const std::string normalized = NormalizeCallLine(source, keys[index].Key);
      EXPECT_EQ(NormalizedCallLine(source, keys[index].Key).Text(), normalized);
      if (!MayHoldCall(source, keys[index].Key)) {
        EXPECT_EQ(FindCall(normalized, keys[index].Key), 0) << source;
      }
    }
  }
  return compared;
}

/// Compares every listing; returns the number of all-calls rows marked ambiguous.
int ExpectSameListings(TestProject& test, const Texts& names) {
  const int ambiguous = ExpectSameAllCalls(test);
  ExpectGraphAsAllCalls(test);
  for (const std::string& name : CallNames(names)) ExpectSameCalls(test, name);
  for (const std::string& name : QualifiedNames(names)) ExpectSameCalls(test, name);
  for (const std::string& name : names) ExpectSameCalls(test, name, true);
  for (const std::string& term : Terms(names)) ExpectSameTerms(test, term);
  return ambiguous;
}

// ---------------------------------------------------------------------------------------
// Stops

/// `stopped` is `complete` cut short inside one procedure: the procedures before it are
/// complete, the stopped one has its row without count or marks and no closing row.
void ExpectStoppedAllCallsPrefix(const ResultList& complete, const ResultList& stopped) {
  ASSERT_LE(stopped.RowCount(), complete.RowCount());
  ASSERT_GT(stopped.RowCount(), 0);
  int32_t procedure = -1;  // procedure rows carry a count in the complete list
  for (int32_t row = 0; row < stopped.RowCount(); ++row) {
    if (!complete.CellText(row, ColumnCount).empty()) procedure = row;
  }
  ASSERT_GE(procedure, 0);
  EXPECT_TRUE(SameRows(complete, stopped, procedure));
  EXPECT_EQ(stopped.CellText(procedure, ColumnCount), "");
  EXPECT_EQ(stopped.CellText(procedure, ColumnCalls), complete.CellText(procedure, ColumnCalls));
  EXPECT_EQ(stopped.Row(procedure).Marks, RowMarks(RowMark::ProcedureRow));
  int32_t closing = procedure + 1;
  while (!complete.CellText(closing, ColumnLine).empty()) ++closing;
  EXPECT_LE(stopped.RowCount(), closing);
  for (int32_t row = procedure + 1; row < stopped.RowCount(); ++row) {
    for (int column = 0; column < ResultColumns; ++column) {
      EXPECT_TRUE(SameCell(complete.Row(row), stopped.Row(row), column));
    }
  }
}

/// The candidates of the finished procedures of a stopped list: those whose row is marked
/// called above head and has a count, and none of whose call rows is a Declare line.
std::unique_ptr<DeclareCandidates> FinishedEarlyCalled(const ResultList& list) {
  auto candidates = std::make_unique<DeclareCandidates>();
  int32_t early = -1;  // the last such procedure row, until a Declare row of it
  for (int32_t row = 0; row < list.RowCount(); ++row) {
    const ResultRow cells = list.Row(row);
    if (cells.Marks.Has(RowMark::ProcedureRow) || cells.Marks.Has(RowMark::ClosingRow)) {
      if (early >= 0) {
        candidates->push_back({std::string(list.CellText(early, ColumnCalls)),
                               std::string(list.CellText(early, ColumnFile))});
      }
      early = -1;
    }
    if (cells.Marks.Has(RowMark::CalledAboveHead) && !cells.Cells[ColumnCount].empty()) early = row;
    if (cells.Marks.Has(RowMark::DeclareLine)) early = -1;
  }
  return candidates;
}

/// Poll numbers to stop at: the first few, some in the middle, the last.
std::vector<int64_t> StopPolls(int64_t polls) {
  std::vector<int64_t> stops;
  for (const int64_t stop : {int64_t{1}, int64_t{2}, polls / 3, polls / 2, polls - 1, polls}) {
    if (stop >= 1) stops.push_back(stop);
  }
  return stops;
}

void ExpectAllCallsStopsArePrefixes(TestProject& test) {
  AllCallsRun complete;
  RunAllCalls(test, false, complete);
  if (complete.List.RowCount() == 0) return;
  for (const int64_t stop : StopPolls(complete.Host.Polls)) {
    SCOPED_TRACE("stop at poll " + std::to_string(stop));
    AllCallsRun stopped;
    stopped.Host.StopAtPoll = stop;
    RunAllCalls(test, false, stopped);
    EXPECT_TRUE(stopped.Stopped);
    ExpectStoppedAllCallsPrefix(complete.List, stopped.List);
    EXPECT_EQ(stopped.Declares, DeclaresText(*FinishedEarlyCalled(stopped.List)));
    EXPECT_EQ(stopped.Host.StopStates, (std::vector<bool>{true, false}));
  }
}

// With the files read afresh, as after a take-up, stops fall while reading too; with the
// text kept from the run before, only while the calls are found.
void ExpectCallsStopsArePrefixes(TestProject& test, const std::string& name, bool kept) {
  const auto run = [&](ResultList& list, RecordingHost& host) {
    if (!kept) test.project.KeptText.reset();
    return ListProcedureCalls(test.project, list, host, {name});
  };
  ResultList complete(ListKind::ProcedureCalls, name);
  RecordingHost complete_host;
  run(complete, complete_host);
  for (const int64_t stop : StopPolls(complete_host.Polls)) {
    SCOPED_TRACE("calls of " + name + (kept ? ", text kept" : "") + ", stop at poll " +
                 std::to_string(stop));
    ResultList stopped(ListKind::ProcedureCalls, name);
    RecordingHost host;
    host.StopAtPoll = stop;
    const ListingResult result = run(stopped, host);
    EXPECT_TRUE(ListedNothing(result, stopped));
    ASSERT_LE(stopped.RowCount(), complete.RowCount());
    EXPECT_TRUE(SameRows(complete, stopped, stopped.RowCount()));
  }
}

void ExpectTermStopsArePrefixes(TestProject& test, const std::string& term) {
  ResultList complete(ListKind::Terms, term);
  RecordingHost complete_host;
  ListTermMatches(test.project, complete, complete_host, {term});
  for (const int64_t stop : StopPolls(complete_host.Polls)) {
    SCOPED_TRACE("term " + term + ", stop at poll " + std::to_string(stop));
    ResultList stopped(ListKind::Terms, term);
    RecordingHost host;
    host.StopAtPoll = stop;
    ListTermMatches(test.project, stopped, host, {term});
    ASSERT_LE(stopped.RowCount(), complete.RowCount());
    EXPECT_TRUE(SameRows(complete, stopped, stopped.RowCount()));
    EXPECT_EQ(host.StopStates, (std::vector<bool>{true, false}));
  }
}

constexpr unsigned kProjects = 200;

/// The entries that open although their include statement is written for Windows ("\\"
/// or a literal in upper case).
size_t FoundOnDisk(const SourceFileList& files) {
  size_t found = 0;
  for (const SourceFile& file : files) {
    if (file.IncludeLine == 0 || !IsRegularFile(file.Path)) continue;
    for (const SourceFile& including : files) {
      if (FileNamePart(including.Path) != file.IncludedBy) continue;
      const Texts lines = UnspacedFileLines(including.Path);
      const std::string& line = lines.at(static_cast<size_t>(file.IncludeLine) - 1);
      found += line.find('\\') != std::string::npos || line.find(".PBI") != std::string::npos;
      break;
    }
  }
  return found;
}

/// How far the random projects reached into what they must test: each count must pass
/// its floor, or the projects test less than they seem to.
struct Reached {
  size_t CalledFromMain = 0;
  size_t Unused = 0;
  // The projects with modules must reach the rules: module procedures and ambiguous calls.
  size_t ModuleProcedures = 0;
  size_t AmbiguousRows = 0;
  // And Windows paths must be found: includes written with "\\" or in upper case, and
  // project files that name a main file.
  size_t FoundOnDisk = 0;
  size_t ProjectFiles = 0;
  size_t SweptHits = 0;
  size_t PiecesReused = 0;
  size_t RowsAfterEdits = 0;

  void ExpectFloors() const {
    EXPECT_GT(CalledFromMain, kProjects);
    EXPECT_GT(Unused, kProjects / 4);
    EXPECT_GT(ModuleProcedures, kProjects / 4);
    EXPECT_GT(AmbiguousRows, 0u);
    EXPECT_GT(FoundOnDisk, kProjects / 4);
    EXPECT_GT(ProjectFiles, kProjects / 10);
    EXPECT_GT(SweptHits, kProjects * 4);
    EXPECT_GT(PiecesReused, kProjects / 4);
    EXPECT_GT(RowsAfterEdits, kProjects * 4);
  }
};

/// Writes the random project of `seed`, takes it up and compares everything on it with
/// the reference; adds to `reached` what it reached.
void ExpectProjectListsAsTheReference(unsigned seed, Reached& reached) {
  TestProject test;
  ProjectGenerator generator(seed);
  generator.Write(test);
  const MainFileChoice chosen = MainFileOfGiven(test.folder.Path() + generator.Given());
  EXPECT_EQ(chosen.Path, generator.Main().empty() ? "" : test.folder.Path() + generator.Main());
  EXPECT_EQ(chosen.Error.empty(), !generator.Main().empty()) << chosen.Error;
  ExpectRowsPointAtTheirLines(test.project.SourceFiles,
                              test.TakeUp(generator.Main().empty() ? "main.pb" : generator.Main()));
  ASSERT_EQ(EntryTexts(test.project.SourceFiles),
            EntryTexts(ReferenceScanIncludes(test.project.MainFile)));
  EXPECT_EQ(IndexTexts(test.project.Procedures), ReferenceProcedureIndex(test.project));
  reached.AmbiguousRows += ExpectSameListings(test, generator.Names());
  reached.SweptHits += ExpectSweepFindsWhatTheSearchFinds(test);
  reached.FoundOnDisk += FoundOnDisk(test.project.SourceFiles);
  reached.ProjectFiles += generator.Given() != "main.pb" && !generator.Main().empty();
  const auto [called, listed] = ExpectMainCodeCalleesLive(test);
  reached.CalledFromMain += called;
  reached.Unused += listed;
  for (const ProcedureEntry& entry : test.project.Procedures) {
    reached.ModuleProcedures += entry.Module.empty() ? 0 : 1;
  }
  reached.PiecesReused += ExpectPiecesAfterAnEditAsWhole(test, seed, generator.Names().front());
  reached.RowsAfterEdits += ExpectRowsOutliveChangedFiles(test, seed);
}

}  // namespace

TEST(DifferentialListings, GeneratedProjectsListAsTheReferenceDoes) {
  Reached reached;
  for (unsigned seed = 1; seed <= kProjects; ++seed) {
    SCOPED_TRACE("project seed " + std::to_string(seed));
    ExpectProjectListsAsTheReference(seed, reached);
    if (::testing::Test::HasFailure()) return;  // one project's differences are enough
  }
  reached.ExpectFloors();
}

TEST(DifferentialListings, ExampleProjectListsAsTheReferenceDoes) {
  TestProject test;
  RecordingHost quiet;
  ResultList& procedures = test.history.OpenResultList(ListKind::Procedures, "Procedures");
  TakeUpProject(test.project, PBST_EXAMPLE_MAIN, procedures, quiet);
  ASSERT_GT(test.project.Procedures.size(), 3u);
  Texts names;
  for (const ProcedureEntry& entry : test.project.Procedures) {
    names.push_back(ProcedureNameFromHead(entry.HeadText));
  }
  ExpectSameListings(test, names);
}

TEST(DifferentialListings, StopsLeavePrefixesOfTheCompleteLists) {
  for (unsigned seed = 1; seed <= 20; ++seed) {
    SCOPED_TRACE("project seed " + std::to_string(seed));
    TestProject test;
    ProjectGenerator generator(seed);
    generator.Write(test);
    test.TakeUp();
    ExpectAllCallsStopsArePrefixes(test);
    ExpectCallsStopsArePrefixes(test, generator.Names().front(), false);
    ExpectCallsStopsArePrefixes(test, generator.Names().front(), true);
    ExpectTermStopsArePrefixes(test, generator.Names().back());
    if (::testing::Test::HasFailure()) return;
  }
}

TEST(DifferentialListings, HeadsThatACallKeyUnmakesKeepTheInsideFlagOfTheReference) {
  // "Procedure (x)" is a head for every key but "(" and the suffixes of "Procedure",
  // which close it up to "Procedure(x)"; the flag then carries into the next procedure.
  TestProject test;
  test.Write("main.pb",
             "Procedure e()\n"
             "EndProcedure\n"
             "Procedure (x)\n"
             "e(1)\n"
             "Procedure Other()\n"
             "EndProcedure\n"
             "Procedure (y)\n"
             "Other(2)\n");
  test.TakeUp();
  ExpectSameListings(test, {"e", "Other", ""});
  AllCallsRun fast;
  RunAllCalls(test, false, fast);
  // Under "e" the line "Procedure (x)" is no head: e(1) stands after an end, outside.
  EXPECT_EQ(fast.List.CellText(1, ColumnLine), "4");
  EXPECT_EQ(fast.List.CellText(1, ColumnFunction), "");
}
