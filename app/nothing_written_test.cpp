// The window writes nothing: every command run over a read-only project leaves every file
// of the project and of the working folder exactly as it was (kind, mode, size, times and
// bytes). Root ignores permissions, so the snapshot comparison is the proof.
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <stdlib.h>
#include <unistd.h>

#include <climits>
#include <string>

#include "app/commands.h"
#include "app/gtk_test_support.h"
#include "source/testing/folder_snapshot.h"
#include "source/testing/test_folder.h"

namespace {

using gtk_test::CancelFileDialog;
using gtk_test::DialogAnswerer;
using gtk_test::EnterText;

/// Runs the window's commands with `folder` as the working directory.
class InFolder {
 public:
  explicit InFolder(const std::string& folder) {
    if (::getcwd(before_, sizeof before_) == nullptr) before_[0] = '\0';
    changed_ = ::chdir(folder.c_str()) == 0;
  }
  ~InFolder() {
    if (changed_ && before_[0] != '\0') (void)::chdir(before_);
  }
  InFolder(const InFolder&) = delete;
  InFolder& operator=(const InFolder&) = delete;
  bool Changed() const { return changed_; }

 private:
  char before_[PATH_MAX];
  bool changed_ = false;
};

/// Runs one command that opens a modal dialog, with its own answerer for that dialog.
template <typename Command>
void AnsweringWith(DialogAnswerer::Answer answer, Command command) {
  DialogAnswerer answerer;
  answerer.Then(std::move(answer));
  command();
  gtk_test::Pump();
}

using NothingWritten = gtk_test::WindowTest;

TEST_F(NothingWritten, NoCommandOfTheWindowChangesTheProjectOrTheWorkingFolder) {
  TestFolder project;
  const TestFolder work;
  project.MakeFolder("inc");
  const std::string main_path = project.Write(
      "main.pb", "XIncludeFile \"inc/util.pbi\"\nx = Foo(1)\nProcedure.i Foo(a)\n  Bar()\nEndProcedure\n");
  project.Write("inc/util.pbi", "Procedure Bar()\n  foo(2) ; comment\nEndProcedure\n");
  RemoveWritePermissions(project.Path());
  const Snapshot project_before = SnapshotOf(project.Path());
  const Snapshot work_before = SnapshotOf(work.Path());
  ASSERT_EQ(project_before.size(), 4u);
  // A jump must not start anything that could write: the IDE program does not exist.
  ::setenv("PB_TOOL_IDE", (work.Path() + "no-ide").c_str(), 1);
  {
    InFolder in_work(work.Path());
    ASSERT_TRUE(in_work.Changed());
    MainWindow& window = *window_;
    TakeUpMainFile(window, main_path);
    RunStartUpLookup(window, "Foo(");
    RunAllProcCalls(window);
    AnsweringWith(EnterText("Bar"), [&] { RunSearch(window); });
    AnsweringWith(EnterText("x"), [&] { RunSearch(window); });
    window.Lists().History().Current()->SelectRow(1);
    RunJumpToLine(window);
    RunBack(window);
    AnsweringWith(CancelFileDialog(), [&] { RunOpen(window); });
    EXPECT_EQ(window.Lists().History().Count(), 4);
  }
  ::unsetenv("PB_TOOL_IDE");
  EXPECT_TRUE(SnapshotOf(project.Path()) == project_before);
  EXPECT_TRUE(SnapshotOf(work.Path()) == work_before);
  RestoreWritePermissions(project.Path());
}

}  // namespace
