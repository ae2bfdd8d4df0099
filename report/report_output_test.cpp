#include "report/report_output.h"

#include <gtest/gtest.h>

#include <sstream>


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

TEST(ReportOutput, ListJsonIsTheListLineThenOneLinePerRow) {
  ResultList list(ListKind::ProcedureCalls, "Foo(a)");
  list.AddResultRow("", RowMark::Separator);
  list.AddResultRow("12\nx = \"\xE4\"", RowMark::FileBand | RowMark::OtherCase);
  std::ostringstream out;
  WriteListJson(list, out);
  EXPECT_EQ(out.str(),
            "{\"list\": {\"kind\": \"Proc: \", \"subject\": \"Foo(a)\", \"caption\": "
            "\"Proc: Foo(a)...\", \"selector\": \"Foo(\"}}\n"
            "{\"cells\": [\"\", \"\", \"\", \"\", \"\"], \"bg\": [null, null, null, null, null], "
            "\"fg\": [null, null, null, null, null]}\n"
            "{\"cells\": [\"12\", \"x = \\\"\xC3\xA4\\\"\", \"\", \"\", \"\"], "
            "\"bg\": [[255,255,230], [255,255,230], [255,255,230], [255,255,230], [255,255,230]], "
            "\"fg\": [null, [220,0,0], null, null, null]}\n");
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

TEST(ReportOutput, FilesJsonSaysWhatWasNotReadAndWhichExpressionNamedNoFile) {
  std::ostringstream out;
  WriteFilesJson(kFiles, ReadAsNotReadFrom(2, 4), out);
  EXPECT_EQ(out.str(),
            "{\"path\": \"/p/main.pb\", \"included_by\": \"\", \"include_line\": 0}\n"
            "{\"path\": \"/p/a.pb\", \"included_by\": \"main.pb\", \"include_line\": 7}\n"
            "{\"path\": \"/p/gone.pb\", \"included_by\": \"a.pb\", \"include_line\": 2, "
            "\"readable\": false}\n"
            "{\"path\": \"/p/#X + b.pb\", \"included_by\": \"a.pb\", \"include_line\": 3, "
            "\"readable\": false, \"statement\": \"IncludeFile #X + \\\"b.pb\\\"\"}\n");
}

TEST(ReportOutput, FilesTableHasANoteColumnOnlyWhenAFileHasANote) {
  std::ostringstream all_read;
  WriteFilesTable({kFiles[0], kFiles[1]}, ReadAsNotReadFrom(2, 2), all_read);
  EXPECT_EQ(all_read.str(),
            "Path        Included by  Line\n"
            "/p/main.pb\n"
            "/p/a.pb     main.pb         7\n");
  std::ostringstream noted;
  WriteFilesTable(kFiles, ReadAsNotReadFrom(2, 4), noted);
  EXPECT_EQ(noted.str(),
            "Path          Included by  Line  Note\n"
            "/p/main.pb\n"
            "/p/a.pb       main.pb         7\n"
            "/p/gone.pb    a.pb            2  not read\n"
            "/p/#X + b.pb  a.pb            3  not read; as written: IncludeFile #X + \"b.pb\"\n");
}

TEST(ReportOutput, TableAlignsColumnsByCharactersNotBytes) {
  ResultList list(ListKind::Procedures, "Procedures");
  list.AddResultRow("     7\n\n\nProcedure \xC3\xA4()\nmain.pb");
  list.AddResultRow("    12\n\n\nProcedure ab()\nx.pb", RowMark::NeverCalled);
  std::ostringstream out;
  WriteListTable(list, out);
  EXPECT_EQ(out.str(),
            "Procedures...\n"
            "Marks           Line  Calls  Count  (in) Function   in File\n"
            "                   7                Procedure \xC3\xA4()   main.pb\n"
            "never called      12                Procedure ab()  x.pb\n");
}
