#include "source/recorded_main_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "source/ide_project_file.h"
#include "source/testing/test_folder.h"

namespace {

/// An IDE project file as the IDE writes it: the tab's file in the file list, and two
/// targets of which the second is the default.
std::string ProjectXml(const std::string& listed, const std::string& input) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<project xmlns=\"http://www.purebasic.com/namespace\" version=\"1.0\">\n"
         "  <section name=\"config\">\n"
         "    <options closefiles=\"1\" openmode=\"0\" name=\"Inventory\"/>\n"
         "  </section>\n"
         "  <section name=\"files\">\n"
         "    <file name=\"" + listed + "\">\n"
         "      <config load=\"0\" scan=\"1\" panel=\"1\" warn=\"1\"/>\n"
         "    </file>\n"
         "  </section>\n"
         "  <section name=\"targets\">\n"
         "    <target name=\"Debug\" enabled=\"1\" default=\"0\">\n"
         "      <inputfile value=\"debug.pb\"/>\n"
         "    </target>\n"
         "    <target name=\"Default Target\" enabled=\"1\" default=\"1\">\n"
         "      <inputfile value=\"" + input + "\"/>\n"
         "      <outputfile value=\"inventory\"/>\n"
         "    </target>\n"
         "  </section>\n"
         "</project>\n";
}

class RecordedMainFileTest : public ::testing::Test {
 protected:
  RecordedMainFileTest() {
    folder_.MakeFolder("include");
    main_ = folder_.Write("main.pb", "IncludeFile \"include/tab.pbi\"\n");
    folder_.Write("debug.pb", "");
  }
  std::string Tab(const std::string& text) { return folder_.Write("include/tab.pbi", text); }

  TestFolder folder_;
  std::string main_;
};

}  // namespace

TEST_F(RecordedMainFileTest, UseMainFileOfTheOptionsBlockAtTheEnd) {
  const std::string block = "; IDE Options = PureBasic 5.30 (Linux - x64)\r\n; CursorPosition = 3\r\n"
                            "; Folding = -\r\n; UseMainFile = ../main.pb  \r\n; EnableXP\r\n";
  // PATH is taken from the tab's folder as written.
  EXPECT_EQ(RecordedMainFile(Tab("Procedure A()\r\nEndProcedure\r\n" + block), ""),
            folder_.Path() + "include/../main.pb");
  EXPECT_EQ(RecordedMainFile(Tab("; IDE Options = x\n; UseMainFile = " + main_ + "\n"), ""), main_);
  // Not at the end, naming nothing, or naming a folder: the file itself.
  for (const char* text :
       {"; IDE Options = x\n; UseMainFile = ../main.pb\nx = 1\n",
        "; UseMainFile = ../main.pb\n", "; IDE Options = x\n; UseMainFile = ../gone.pb\n",
        "; IDE Options = x\n; UseMainFile = ..\n", "; IDE Options = x\n; UseMainFile = \n"}) {
    const std::string tab = Tab(text);
    EXPECT_EQ(RecordedMainFile(tab, ""), tab) << text;
  }
}

TEST_F(RecordedMainFileTest, ProjectFileThatHoldsTheTabGivesItsDefaultTargetsInput) {
  const std::string tab = Tab("Procedure A()\nEndProcedure\n");
  const std::string project = folder_.Write("inventory.pbp", ProjectXml("include/tab.pbi", "main.pb"));
  EXPECT_EQ(RecordedMainFile(tab, project), main_);
  EXPECT_EQ(RecordedMainFile(tab, ""), tab);
  // The tab's own option wins over the project.
  folder_.Write("other.pb", "");
  Tab("; IDE Options = x\n; UseMainFile = ../other.pb\n");
  EXPECT_EQ(RecordedMainFile(tab, project), folder_.Path() + "include/../other.pb");
}

TEST_F(RecordedMainFileTest, ProjectFileThatDoesNotLeadToAMainFileFallsBackToTheTab) {
  const std::string tab = Tab("x = 1\n");
  const std::string not_listed = folder_.Write("a.pbp", ProjectXml("include/other.pbi", "main.pb"));
  const std::string no_input = folder_.Write("b.pbp", ProjectXml("include/tab.pbi", "gone.pb"));
  const std::string not_xml = folder_.Write("c.pbp", "<project><section name=\"files\">\n");
  const std::string empty = folder_.Write("d.pbp", "");
  const std::string fifo = folder_.Path() + "fifo.pbp";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  // A gigabyte that takes no room: too large to be read at all.
  const std::string huge = folder_.Write("huge.pbp", ProjectXml("include/tab.pbi", "main.pb"));
  ASSERT_EQ(::truncate(huge.c_str(), 1L << 30), 0);
  for (const std::string& project :
       {not_listed, no_input, not_xml, empty, fifo, huge, folder_.Path() + "missing.pbp",
        folder_.Path()}) {
    EXPECT_EQ(RecordedMainFile(tab, project), tab) << project;
  }
}

// Only the last options block counts: a later block without UseMainFile says there is none.
TEST_F(RecordedMainFileTest, LaterOptionsBlockWithoutUseMainFileResetsTheEarlierOne) {
  const std::string tab = Tab("; IDE Options = a\n; UseMainFile = ../main.pb\n"
                              "; IDE Options = b\n; CursorPosition = 3\n");
  EXPECT_EQ(RecordedMainFile(tab, ""), tab);
}

// Paths written on Windows: UseMainFile and the project's names with "\" and another
// letter case, found on disk; the file starts with a byte-order mark as the IDE saves it.
TEST_F(RecordedMainFileTest, WindowsPathsInOptionsAndProjectFilesAreFoundOnDisk) {
  const std::string tab = folder_.Write("include/Tab.pbi", "\xEF\xBB\xBF; IDE Options = x\r\n; UseMainFile = ..\\MAIN.pb\r\n");
  EXPECT_EQ(RecordedMainFile(tab, ""), folder_.Path() + "include/../main.pb");
  const std::string other = folder_.Write("include/Other.pbi", "");
  const std::string project = folder_.Write("p.pbp", ProjectXml("INCLUDE\\other.PBI", "Main.PB"));
  EXPECT_EQ(RecordedMainFile(other, project), main_);
}

TEST_F(RecordedMainFileTest, ProjectFileGivenAsMainFileStandsForItsMainTargetsInput) {
  folder_.MakeFolder("Src");
  const std::string input = folder_.Write("Src/App.pb", "");
  const std::string project = folder_.Write("App.PBP", ProjectXml("src\\app.pb", "src\\APP.pb"));
  EXPECT_EQ(MainFileOfGiven(project).Path, input);
  EXPECT_EQ(MainFileOfGiven(main_).Path, main_);  // a source file stands for itself
  EXPECT_EQ(MainFileOfGiven(folder_.Path() + "gone.pb").Path, folder_.Path() + "gone.pb");
}
