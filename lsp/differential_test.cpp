// The language server against the listings on the differential test's generated projects:
// for every procedure that a cursor can name, the references at its head are the rows of
// the straightforward calls listing, and the outgoing calls of its call hierarchy item are
// the rows of the callees listing.
#include <gtest/gtest.h>

#include <algorithm>

#include "listings/call_graph.h"
#include "listings/callees.h"
#include "listings/listing_rows.h"
#include "listings/row_location.h"
#include "listings/testing/project_generator.h"
#include "listings/testing/reference_listings.h"
#include "lsp/listing_answers.h"
#include "lsp/testing/test_client.h"
#include "source/line_classification.h"
#include "source/source_reader.h"
#include "source/text_parts.h"

namespace {

constexpr unsigned kProjects = 200;

/// "path:line" (line 1-based) of each line row of `list`, sorted; Declare lines only with
/// `declares`.
std::vector<std::string> RowPlaces(const Project& project, const ResultList& list, bool declares) {
  std::vector<std::string> places;
  for (int32_t row = 0; row < list.RowCount(); ++row) {
    const RowLocation at = LocateRow(list, row, project.SourceFiles);
    if (at.File == nullptr || at.Line <= 0 || list.Row(row).Marks.Has(RowMark::Separator)) continue;
    if (!declares && IsDeclareLine(list.CellText(row, ColumnCalls))) continue;
    places.push_back(at.File->Path + ":" + std::to_string(at.Line));
  }
  std::sort(places.begin(), places.end());
  return places;
}

/// "path:line" (line 1-based) of each Location, sorted.
std::vector<std::string> LocationPlaces(const Json& locations) {
  std::vector<std::string> places;
  for (const Json& location : locations) {
    places.push_back(*PathOfUri(location["uri"].get<std::string>()) + ":" +
                     std::to_string(location["range"]["start"]["line"].get<int>() + 1));
  }
  std::sort(places.begin(), places.end());
  return places;
}

/// The callees listing's rows of `entry` (among those of every head of its name, the rows
/// after as many separators as heads stand before it) as "callee head line and text|call
/// line", sorted. A file included twice makes two callees of one label: the label's file
/// is left out, as the item names the callee by its file.
std::vector<std::string> CalleeRows(TestProject& test, const ProcedureEntry& entry) {
  const ListingRequest request = RequestFor(entry);
  ResultList list(ListKind::Callees, request.Text);
  ListCallees(test.project, list, test.host, request);
  const std::vector<int32_t> heads = HeadsNamed(test.project.Procedures, request.Text, request.WithoutModule);
  const auto own = std::find(heads.begin(), heads.end(), &entry - test.project.Procedures.data()) - heads.begin();
  std::vector<std::string> rows;
  std::ptrdiff_t group = 0;
  for (int32_t row = 0; row < list.RowCount(); ++row) {
    group += list.Row(row).Marks.Has(RowMark::Separator) ? 1 : 0;
    if (list.CellText(row, ColumnLine).empty() || group != own) continue;
    const std::string_view label = WithoutLeading(list.CellText(row, ColumnFunction), ' ');
    rows.push_back(std::string(label.substr(0, label.rfind(CalleeFileMark))) + "|" +
                   std::to_string(RowLineNumber(list.CellText(row, ColumnLine))));
  }
  std::sort(rows.begin(), rows.end());
  return rows;
}

/// The outgoing calls of `item` in the form of `CalleeRows`.
std::vector<std::string> OutgoingRows(TestClient& client, const Json& item) {
  std::vector<std::string> rows;
  for (const Json& call : client.Result("callHierarchy/outgoingCalls", {{"item", item}})) {
    const std::string head = std::to_string(call["to"]["data"]["line"].get<int>()) + " " +
                             call["to"]["detail"].get<std::string>();
    for (const Json& range : call["fromRanges"]) {
      rows.push_back(head + "|" + std::to_string(range["start"]["line"].get<int>() + 1));
    }
  }
  std::sort(rows.begin(), rows.end());
  return rows;
}

/// The column of the name of `entry`'s head in its line; -1 when a cursor cannot name it
/// (no plain name, or a file that the project lists more than once).
int NameColumn(const Project& project, const ProcedureEntry& entry) {
  const std::string name = BareName(entry.HeadText);
  if (name.empty() || !std::all_of(name.begin(), name.end(), IsIdentifierChar)) return -1;
  for (int32_t file = 0; file < entry.File; ++file) {
    if (project.SourceFiles[file].Path == project.SourceFiles[entry.File].Path) return -1;
  }
  const std::string_view line = TextLines(*project.Texts.Bytes(project.SourceFiles[entry.File].Path))
                                    .Line(static_cast<uint32_t>(entry.LineNumber - 1));
  const size_t at = FindWord(line, name);
  return at == std::string_view::npos ? -1 : static_cast<int>(ColumnOfByte(line, at, PositionEncoding::Utf16));
}

/// Compares both answers for every procedure of the project; returns how many it compared.
int ExpectAnswersAsListings(TestProject& test, TestClient& client) {
  int compared = 0;
  for (const ProcedureEntry& entry : test.project.Procedures) {
    const int column = NameColumn(test.project, entry);
    if (entry.File < 0 || column < 0) continue;
    SCOPED_TRACE(entry.HeadText + " at " + entry.FileName + ":" + std::to_string(entry.LineNumber));
    const std::string& path = test.project.SourceFiles[entry.File].Path;
    // The head's own procedure: X's for a head in module X, else the one without module.
    const std::string name = BareName(entry.HeadText);
    const std::string text = entry.Module.empty() ? name : entry.Module + "::" + name;
    ResultList calls(ListKind::ProcedureCalls, text);
    ReferenceListProcedureCalls(test.project, calls, test.host, text, entry.Module.empty());
    const Json references = client.Result("textDocument/references", At(path, entry.LineNumber - 1, column));
    EXPECT_EQ(LocationPlaces(references), RowPlaces(test.project, calls, false));
    const Json items = client.Result("textDocument/prepareCallHierarchy", At(path, entry.LineNumber - 1, column));
    EXPECT_EQ(items.size(), 1u);
    if (!items.empty()) {
      EXPECT_EQ(OutgoingRows(client, items[0]), CalleeRows(test, entry));
    }
    ++compared;
  }
  return compared;
}

}  // namespace

TEST(DifferentialServer, ReferencesAndOutgoingCallsAreTheListingsRows) {
  int compared = 0;
  for (unsigned seed = 1; seed <= kProjects; ++seed) {
    SCOPED_TRACE("project seed " + std::to_string(seed));
    TestProject test;
    ProjectGenerator generator(seed);
    generator.Write(test);
    const std::string main = generator.Main().empty() ? "main.pb" : generator.Main();
    test.TakeUp(main);
    TestClient client;
    client.Initialize(test.folder.Path(), {{"mainFile", main}});
    compared += ExpectAnswersAsListings(test, client);
    if (::testing::Test::HasFailure()) return;  // one project's differences are enough
  }
  EXPECT_GT(compared, static_cast<int>(kProjects) * 2);
}
