// Test helpers for the listings: a host that records what a listing asked of it and can
// say Stop after a given number of polls, a small project in a temporary folder, and the
// steps with which a front end opens a calls list or runs a lookup.
// Header-only; used by the tests alone.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "listings/list_history.h"
#include "listings/listing_host.h"
#include "listings/lookup.h"
#include "listings/procedure_calls.h"
#include "listings/project.h"
#include "listings/take_up.h"
#include "source/testing/test_folder.h"

/// Lines 1-8 of a project with two modules, Geo and Text, each with a procedure Area().
constexpr std::string_view kGeoAndTextAreas =
    "Module Geo\n"
    "Procedure Area()\n"
    "EndProcedure\n"
    "EndModule\n"
    "Module Text\n"
    "Procedure Area()\n"
    "EndProcedure\n"
    "EndModule\n";

/// Writes into `folder` a project with two files named Templates.pb, the first of which is
/// missing (Build/Templates.pb), and two named Misc.pb in two folders, each with heads,
/// calls, Declares and findings on lines that the other file of the name does not hold.
inline void WriteSameNameProject(const TestFolder& folder) {
  folder.Write("main.pb",
               "IncludeFile \"Build/Templates.pb\"\n"
               "IncludeFile \"Templates.pb\"\n"
               "IncludeFile \"Common/Misc.pb\"\n"
               "IncludeFile \"Tools/Misc.pb\"\n"
               "Procedure Main()\n"
               "  Template(1) : Helper()\n"
               "  Tool()\n"
               "EndProcedure\n"
               "Main()\n");
  folder.Write("Templates.pb",
               "; templates\n\nDeclare Template(n)\nProcedure Template(n)\n  Helper()\nEndProcedure\n");
  folder.MakeFolder("Common");
  folder.MakeFolder("Tools");
  folder.Write("Common/Misc.pb",
               "Procedure Helper()\n  Debug \"helper\"\nEndProcedure\n"
               "Procedure Spare()\nEndProcedure\n");
  folder.Write("Tools/Misc.pb",
               "; tools\n\n\n"
               "Declare Tool(x)\n"
               "Procedure Tool()\n  Helper() : Template(2)\nEndProcedure\n"
               "Procedure Spare2()\n  Tool() : Helper()\nEndProcedure\n");
}

/// A listing host for tests: records the Stop control's states, and reports Stop at the
/// poll numbered `StopAtPoll` (1-based; 0 never) or at the first poll
/// at which `StopWhen` holds (once; the condition is then dropped).
class RecordingHost : public ListingHost {
 public:
  bool PollStop() override {
    if (++Polls == StopAtPoll) return true;
    if (!StopWhen || !StopWhen()) return false;
    StopWhen = nullptr;
    return true;
  }
  void SetStopEnabled(bool enabled) override { StopStates.push_back(enabled); }

  int64_t StopAtPoll = 0;
  std::function<bool()> StopWhen;
  int64_t Polls = 0;
  std::vector<bool> StopStates;
};

/// As a front end lists the calls of `name` (the current list's selected row for an empty
/// name): opens a "Proc: " list in `history` and fills it. Returns its row count, 0 when
/// it listed nothing (or was stopped) and without a list when no procedure can be taken
/// from the text.
inline int32_t OpenProcedureCalls(Project& project, ListHistory& history, ListingHost& host,
                                  std::string_view name) {
  const std::optional<ProcedureChoice> procedure = ProcedureToList(project, history.Current(), name);
  if (!procedure) return 0;
  ResultList& list = history.OpenResultList(ListKind::ProcedureCalls, procedure->Name);
  const ListingResult result =
      ListProcedureCalls(project, list, host, {procedure->Name, procedure->WithoutModule});
  return ListedNothing(result, list) ? 0 : list.RowCount();
}

/// As a front end runs the Search lookup for `text`: nothing for an empty text, else a
/// "Proc: " list opened in `history` and `LookUpProcedureOrTerm` in it. Returns the rows
/// of the calls that it listed: 0 when the term search took the list over.
inline int32_t OpenLookUp(Project& project, ListHistory& history, ListingHost& host,
                          std::string_view text) {
  if (text.empty()) return 0;
  ResultList& list =
      history.OpenResultList(ListKind::ProcedureCalls, ProcedureToList(project, nullptr, text)->Name);
  LookUpProcedureOrTerm(project, list, host, {std::string(text)});
  return list.Kind() == ListKind::ProcedureCalls ? list.RowCount() : 0;
}

/// A project in a temporary folder, taken up into a history whose first list is
/// "Procedures", as the window does at start-up.
class TestProject {
 public:
  /// Writes `bytes` as the file `name` of the project; returns its path.
  std::string Write(std::string_view name, std::string_view bytes) { return folder.Write(name, bytes); }

  /// Takes up `main_name` with a host that never stops; returns the "Procedures" list.
  ResultList& TakeUp(std::string_view main_name = "main.pb") {
    RecordingHost quiet;
    ResultList& list = history.OpenResultList(ListKind::Procedures, "Procedures");
    TakeUpProject(project, folder.Path() + std::string(main_name), list, quiet);
    return list;
  }

  /// The texts of one row's five cells.
  static std::vector<std::string> Cells(const ResultList& list, int32_t row) {
    std::vector<std::string> cells;
    for (int column = 0; column < ResultColumns; ++column) {
      cells.emplace_back(list.CellText(row, column));
    }
    return cells;
  }

  /// Each row as its cells joined by "|" and, after " #", the names of its marks.
  static std::vector<std::string> RowTexts(const ResultList& list) {
    static const std::pair<RowMark, const char*> kNames[] = {
        {RowMark::ProcedureRow, "procedure"},     {RowMark::Separator, "separator"},
        {RowMark::ClosingRow, "closing"},         {RowMark::NeverCalled, "never called"},
        {RowMark::CalledAboveHead, "above head"}, {RowMark::OtherCase, "other case"},
        {RowMark::Declaration, "declaration"},    {RowMark::FileBand, "band"},
        {RowMark::DeclareLine, "declare"},        {RowMark::Finding, "finding"},
        {RowMark::Callback, "callback"},          {RowMark::Ambiguous, "ambiguous"}};
    std::vector<std::string> texts;
    for (int32_t row = 0; row < list.RowCount(); ++row) {
      std::string text(list.CellText(row, 0));
      for (int column = 1; column < ResultColumns; ++column) {
        text += "|" + std::string(list.CellText(row, column));
      }
      const char* separator = " #";
      for (const auto& [mark, name] : kNames) {
        if (!list.Row(row).Marks.Has(mark)) continue;
        text += separator + std::string(name);
        separator = ", ";
      }
      texts.push_back(text);
    }
    return texts;
  }

  /// The texts of one column, row by row.
  static std::vector<std::string> Column(const ResultList& list, int column) {
    std::vector<std::string> texts;
    for (int32_t row = 0; row < list.RowCount(); ++row) texts.emplace_back(list.CellText(row, column));
    return texts;
  }

  TestFolder folder;
  Project project;
  ListHistory history;
  RecordingHost host;
};
