#include "report/report_output.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>

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
