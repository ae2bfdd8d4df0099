#include "app/main_file_choice.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/commands.h"
#include "app/gtk_test_support.h"
#include "app/main_window.h"

using gtk_test::ChooseFile;
using gtk_test::DialogAnswerer;
using gtk_test::TempProject;

namespace {

std::string ProjectWithInput(const std::string& input) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<project xmlns=\"http://www.purebasic.com/namespace\">"
         "<section name=\"targets\"><target name=\"Default Target\" enabled=\"1\" default=\"1\">" +
         input + "</target></section></project>\n";
}

// The names of the dialog's filters in order, the chosen one first.
std::vector<std::string> FilterNames(GtkDialog* dialog) {
  GtkFileFilter* chosen = gtk_file_chooser_get_filter(GTK_FILE_CHOOSER(dialog));
  std::vector<std::string> names{chosen != nullptr ? gtk_file_filter_get_name(chosen) : "(none)"};
  GSList* filters = gtk_file_chooser_list_filters(GTK_FILE_CHOOSER(dialog));
  for (GSList* item = filters; item != nullptr; item = item->next) {
    names.emplace_back(gtk_file_filter_get_name(GTK_FILE_FILTER(item->data)));
  }
  g_slist_free(filters);
  return names;
}

class MainFileChoosing : public gtk_test::WindowTest {
 protected:
  TempProject project_;
};

}  // namespace

// "Open" on a project file without a usable target says so in a message box and asks
// again; a project file made on Windows then leads to its main file.
TEST_F(MainFileChoosing, OpenOfAProjectFileTakesUpItsMainFileOrSaysWhyNotAndAsksAgain) {
  const std::string broken = project_.Write("Broken.pbp", ProjectWithInput(""));
  const std::string good = project_.Write("Good.PBP", ProjectWithInput("<inputfile value=\"SRC\\Main.pb\"/>"));
  std::filesystem::create_directories(project_.Folder() + "/src");
  const std::string main = project_.Write("src/main.pb", "Procedure Alone()\nEndProcedure\n");
  std::vector<std::string> filters;
  DialogAnswerer answerer;
  answerer.Then([&, choose = ChooseFile(broken)](GtkDialog* dialog) {
    if (filters.empty()) filters = FilterNames(dialog);
    return choose(dialog);
  });
  answerer.Then(ChooseFile(good));
  RunOpen(*window_);
  EXPECT_EQ(answerer.Pending(), 0u);
  EXPECT_EQ(filters, (std::vector<std::string>{"PureBasic ", "PureBasic ", "PureBasic sources and projects",
                                               "All files"}));
  EXPECT_EQ(answerer.Messages(), std::vector<std::string>{
                                     "PB Sourcetrek|the project file " + broken + " has no target with an input file"});
  EXPECT_EQ(window_->TakenUp().MainFile, main);
  EXPECT_EQ(window_->Lists().History().Current()->RowCount(), 1);
}

// At start-up a project file given on the command line needs no dialog.
TEST_F(MainFileChoosing, ProjectFileGivenAtStartUpNamesTheMainFileWithoutADialog) {
  const std::string main = project_.Write("main.pb", "");
  const std::string project = project_.Write("p.pbp", ProjectWithInput("<inputfile value=\"MAIN.PB\"/>"));
  DialogAnswerer answerer;
  const RecordedMain from_project =
      MainFileToTakeUp(window_->Window(), {project, MainFileOrigin::Given}, "");
  EXPECT_EQ(from_project.Path, main);
  EXPECT_EQ(from_project.Origin, MainFileOrigin::ProjectFile);
  const RecordedMain tab = MainFileToTakeUp(window_->Window(), {main, MainFileOrigin::Tab}, "");
  EXPECT_EQ(tab.Path, main);
  EXPECT_EQ(tab.Origin, MainFileOrigin::Tab);
  EXPECT_TRUE(answerer.Dialogs().empty());
  EXPECT_TRUE(answerer.Messages().empty());
}
