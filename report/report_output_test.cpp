#include "report/report_output.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "frontend/display_text.h"
#include "listings/row_colours.h"

TEST(ReportOutput, JsonStringEscapesQuotesBackslashesAndControlBytes) {
  EXPECT_EQ(JsonString("a\"b\\c"), "\"a\\\"b\\\\c\"");
  EXPECT_EQ(JsonString("\t\r\n\x01"), "\"\\t\\r\\n\\u0001\"");
  EXPECT_EQ(JsonString("\xC3\xA4"), "\"\xC3\xA4\"");
}

TEST(ReportOutput, MarkWordsNameEveryMarkThatTheTableShows) {
  EXPECT_EQ(MarkWords(RowMark::ProcedureRow | RowMark::NeverCalled), "never called");
  EXPECT_EQ(MarkWords(RowMark::OtherCase), "other case");
  EXPECT_EQ(MarkWords(RowMark::ProcedureRow | RowMark::CalledAboveHead), "called above head");
  EXPECT_EQ(MarkWords(RowMark::Declaration | RowMark::OtherCase), "other case, declaration");
  EXPECT_EQ(MarkWords(RowMark::DeclareLine | RowMark::OtherCase), "other case, declare");
  EXPECT_EQ(MarkWords(RowMark::OtherCase | RowMark::Ambiguous | RowMark::FileBand), "other case, ambiguous");
  EXPECT_EQ(MarkWords(RowMark::FileBand | RowMark::Separator), "");
  EXPECT_EQ(MarkWords(RowMark::ClosingRow), "");
}

// A main file, a read include and one that was not read: a literal name, then an
// expression that named no file.
std::vector<ProjectFile> ReadAsNotReadFrom(size_t first_not_read, size_t count) {
  std::vector<ProjectFile> read(count);
  for (size_t f = 0; f < count; ++f) read[f].Opened = f < first_not_read;
  return read;
}

const SourceFileList kFiles = {{"/p/main.pb", "", 0, ""},
                               {"/p/a.pb", "main.pb", 7, ""},
                               {"/p/gone.pb", "a.pb", 2, ""},
                               {"/p/#X + b.pb", "a.pb", 3, "IncludeFile #X + \"b.pb\""}};

/// What one writer prints.
struct OutputCase {
  std::string Title;
  std::function<void(std::ostream&)> Write;
  std::string Expected;
};

TEST(ReportOutput, ListsAndFilesArePrintedByteForByte) {
  ResultList calls(ListKind::ProcedureCalls, "Foo(a)");
  calls.AddResultRow("", RowMark::Separator);
  calls.AddResultRow("12\nx = \"\xE4\"", RowMark::FileBand | RowMark::OtherCase);
  ResultList heads(ListKind::Procedures, "Procedures");
  heads.AddResultRow("     7\n\n\nProcedure \xC3\xA4()\nmain.pb");
  heads.AddResultRow("    12\n\n\nProcedure ab()\nx.pb", RowMark::NeverCalled);
  const OutputCase cases[] = {
      {"list JSON is the list line, then one line per row",
       [&](std::ostream& out) { WriteListJson(calls, out); },
       "{\"list\": {\"kind\": \"Proc: \", \"subject\": \"Foo(a)\", \"caption\": "
       "\"Proc: Foo(a)...\", \"selector\": \"Foo(\"}}\n"
       "{\"cells\": [\"\", \"\", \"\", \"\", \"\"], \"bg\": [null, null, null, null, null], "
       "\"fg\": [null, null, null, null, null]}\n"
       "{\"cells\": [\"12\", \"x = \\\"\xC3\xA4\\\"\", \"\", \"\", \"\"], "
       "\"bg\": [[255,255,230], [255,255,230], [255,255,230], [255,255,230], [255,255,230]], "
       "\"fg\": [null, [220,0,0], null, null, null]}\n"},
      {"the table aligns columns by characters, not bytes",
       [&](std::ostream& out) { WriteListTable(heads, out); },
       "Procedures...\n"
       "Marks           Line  Calls  Count  (in) Function   in File\n"
       "                   7                Procedure \xC3\xA4()   main.pb\n"
       "never called      12                Procedure ab()  x.pb\n"},
      {"files JSON says what was not read and which expression named no file",
       [](std::ostream& out) { WriteFilesJson(kFiles, ReadAsNotReadFrom(2, 4), out); },
       "{\"path\": \"/p/main.pb\", \"included_by\": \"\", \"include_line\": 0}\n"
       "{\"path\": \"/p/a.pb\", \"included_by\": \"main.pb\", \"include_line\": 7}\n"
       "{\"path\": \"/p/gone.pb\", \"included_by\": \"a.pb\", \"include_line\": 2, "
       "\"readable\": false}\n"
       "{\"path\": \"/p/#X + b.pb\", \"included_by\": \"a.pb\", \"include_line\": 3, "
       "\"readable\": false, \"statement\": \"IncludeFile #X + \\\"b.pb\\\"\"}\n"},
      {"the files table has no Note column when no file has a note",
       [](std::ostream& out) {
         WriteFilesTable({kFiles[0], kFiles[1]}, ReadAsNotReadFrom(2, 2), out);
       },
       "Path        Included by  Line\n"
       "/p/main.pb\n"
       "/p/a.pb     main.pb         7\n"},
      {"the files table has a Note column when a file has a note",
       [](std::ostream& out) { WriteFilesTable(kFiles, ReadAsNotReadFrom(2, 4), out); },
       "Path          Included by  Line  Note\n"
       "/p/main.pb\n"
       "/p/a.pb       main.pb         7\n"
       "/p/gone.pb    a.pb            2  not read\n"
       "/p/#X + b.pb  a.pb            3  not read; as written: IncludeFile #X + \"b.pb\"\n"},
  };
  for (const OutputCase& c : cases) {
    SCOPED_TRACE(c.Title);
    std::ostringstream out;
    c.Write(out);
    EXPECT_EQ(out.str(), c.Expected);
  }
}

// What the writers must print, written the plain way: every cell converted on its own,
// widths from the converted texts, blanks cut off the finished line, escapes byte by byte.
namespace plain {

size_t Width(std::string_view utf8) {
  size_t width = 0;
  for (const char c : utf8) width += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return width;
}

std::string Table(const ResultList& list) {
  std::vector<std::vector<std::string>> lines = {{"Marks", "Line", "Calls", "Count", "(in) Function", "in File"}};
  for (int32_t r = 0; r < list.RowCount(); ++r) {
    lines.push_back({MarkWords(list.Row(r).Marks)});
    for (int c = 0; c < ResultColumns; ++c) lines.back().push_back(ToDisplayText(list.CellText(r, c)));
  }
  std::vector<size_t> widths(6, 0);
  for (const auto& line : lines) {
    for (size_t c = 0; c < 6; ++c) widths[c] = std::max(widths[c], Width(line[c]));
  }
  std::string out = ToDisplayText(list.Caption()) + "\n";
  for (const auto& line : lines) {
    std::string text;
    for (size_t c = 0; c < 6; ++c) {
      const std::string pad(widths[c] - Width(line[c]), ' ');
      text += c == 1 ? pad + line[c] : line[c] + pad;
      text += "  ";
    }
    out += text.substr(0, text.find_last_not_of(' ') + 1) + "\n";
  }
  return out;
}

std::string Json(std::string_view utf8) {
  std::string json = "\"";
  for (const char c : utf8) {
    if (c == '"' || c == '\\') {
      json += std::string("\\") + c;
    } else if (c == '\n' || c == '\r' || c == '\t') {
      json += c == '\n' ? "\\n" : c == '\r' ? "\\r" : "\\t";
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
      json += escaped;
    } else {
      json += c;
    }
  }
  return json + "\"";
}

}  // namespace plain

// Random cells around the writers' sixteen-byte steps and their held-back blanks: ASCII and
// UTF-8 runs, bytes that are no UTF-8, quotes, backslashes, control bytes and blanks at
// either end, in rows of random marks. Now and then a cell is viewed where its last byte
// ends a page and quotes follow: a short one is then copied, not read sixteen at once.
TEST(ReportOutput, TablesAndJsonOfRandomCellsAreThoseOfThePlainWriter) {
  const std::string pieces[] = {"a", "Foo(1)", "  ", " ", "\xC3\xA4", "\xE4", "\"", "\\", "\t",
                                "\x01", "0123456789abcdef", ";", "\xE2\x82\xAC", "\xC3"};
  std::mt19937 random(22);
  const auto cell = [&] {
    std::string text;
    for (size_t count = random() % 12; count > 0; --count) text += pieces[random() % std::size(pieces)];
    return text;
  };
  for (int round = 0; round < 40; ++round) {
    ResultList list(round % 2 ? ListKind::AllProcedureCalls : ListKind::Terms, "T" + cell());
    for (size_t rows = random() % 8; rows > 0; --rows) {
      RowMarks marks;
      for (int bit = 0; bit < 12; ++bit) {
        if (random() % 4 == 0) marks |= static_cast<RowMark>(1 << bit);
      }
      const std::array<std::string, 5> texts{cell(), cell(), cell(), cell(), cell()};
      RowCellTexts cells{texts[0], texts[1], texts[2], texts[3], texts[4]};
      RowCellSet viewed = 0;
      if (random() % 3 == 0) {
        const size_t column = random() % 5;
        auto page_end = std::make_shared<std::string>(8192, '"');
        const size_t end = 4096 - reinterpret_cast<uintptr_t>(page_end->data()) % 4096;
        const size_t start = end - cells[column].size();
        page_end->replace(start, cells[column].size(), cells[column]);
        cells[column] = std::string_view(*page_end).substr(start, cells[column].size());
        viewed = RowCell(column);
        list.HoldBytes({page_end});
      }
      list.AddResultRow(cells, marks, NoRowFile, viewed);
    }
    std::ostringstream table;
    WriteListTable(list, table);
    EXPECT_EQ(table.str(), plain::Table(list));
    std::ostringstream json;
    WriteListJson(list, json);
    std::istringstream lines(json.str());
    std::string line;
    std::getline(lines, line);  // the list line
    for (int32_t r = 0; r < list.RowCount() && std::getline(lines, line); ++r) {
      std::string cells = "{\"cells\": [";
      for (int c = 0; c < ResultColumns; ++c) {
        cells += (c ? ", " : "") + plain::Json(ToDisplayText(list.CellText(r, c)));
      }
      const ResultRow row = list.Row(r);
      const auto colours = [&](bool background) {
        std::string text = "[";
        for (int c = 0; c < ResultColumns; ++c) {
          const CellColours colour = MarkColours(row.WrittenFor, row.Marks, c);
          const std::optional<Rgb>& rgb = background ? colour.Background : colour.Text;
          text += (c ? ", " : "") + (rgb ? "[" + std::to_string(rgb->Red) + "," +
                                               std::to_string(rgb->Green) + "," +
                                               std::to_string(rgb->Blue) + "]"
                                         : std::string("null"));
        }
        return text + "]";
      };
      EXPECT_EQ(line.substr(0, line.find(", \"mark\"")),
                cells + "], \"bg\": " + colours(true) + ", \"fg\": " + colours(false) +
                    (row.Marks.Has(RowMark::Callback) ? "" : "}"));
    }
  }
}
