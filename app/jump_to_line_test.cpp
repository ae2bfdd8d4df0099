#include "app/jump_to_line.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <thread>

#include "app/commands.h"
#include "app/gtk_test_support.h"

namespace fs = std::filesystem;

namespace {

TEST(EditorArguments, AreProgramPathOptionAndLine) {
  const std::vector<std::string> expected = {"/ide", "/p/a \"b\".pb", "-l", "0"};
  EXPECT_EQ(EditorArguments("/ide", "/p/a \"b\".pb", 0), expected);
}

// ---- Environment and process tests ----

// Sets or clears one environment variable for a test and restores it afterwards.
class ScopedEnvironment {
 public:
  explicit ScopedEnvironment(const char* name) : name_(name) {
    if (const char* value = std::getenv(name)) {
      saved_ = value;
    }
  }
  ~ScopedEnvironment() {
    if (saved_) {
      setenv(name_, saved_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }
  void Set(const std::string& value) const { setenv(name_, value.c_str(), 1); }
  void Clear() const { unsetenv(name_); }

 private:
  const char* name_;
  std::optional<std::string> saved_;
};

TEST(EditorProgram, ToolIdeComesFirstThenPureBasicHomeThenTheBuiltInPath) {
  const ScopedEnvironment tool_ide("PB_TOOL_IDE");
  const ScopedEnvironment home("PUREBASIC_HOME");
  tool_ide.Clear();
  home.Clear();
  EXPECT_EQ(EditorProgram(), "/home/user-workbench/Programming/PureBasic5.30/compilers/purebasic");
  home.Set("");
  EXPECT_EQ(EditorProgram(), "/home/user-workbench/Programming/PureBasic5.30/compilers/purebasic");
  home.Set("/opt/purebasic/");
  EXPECT_EQ(EditorProgram(), "/opt/purebasic/compilers/purebasic");
  home.Set("/opt/purebasic");
  EXPECT_EQ(EditorProgram(), "/opt/purebasic/compilers/purebasic");
  tool_ide.Set("");
  EXPECT_EQ(EditorProgram(), "/opt/purebasic/compilers/purebasic");
  tool_ide.Set("/usr/lib/purebasic/compilers/purebasic");
  EXPECT_EQ(EditorProgram(), "/usr/lib/purebasic/compilers/purebasic");
}

// Processes whose parent is this test process, with their state letter (Z for a zombie).
std::vector<std::string> ChildProcesses() {
  std::vector<std::string> children;
  const std::string self = std::to_string(getpid());
  for (const fs::directory_entry& entry : fs::directory_iterator("/proc")) {
    std::ifstream stat(entry.path() / "stat");
    std::string text;
    if (!std::getline(stat, text)) {
      continue;
    }
    std::istringstream fields(text.substr(text.rfind(')') + 1));
    std::string state, parent;
    fields >> state >> parent;
    if (parent == self) {
      children.push_back(entry.path().filename().string() + " " + state);
    }
  }
  return children;
}

// A temporary folder with a script that stands in for the IDE: each start writes its
// arguments, NUL-terminated, into a file of its own under calls/.
class IdeRecorder {
 public:
  IdeRecorder()
      : folder_(fs::temp_directory_path() /
                ("jump_to_line_test_" + std::to_string(getpid()) + "_" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name())) {
    fs::remove_all(folder_);
    fs::create_directories(Calls());
  }
  ~IdeRecorder() { fs::remove_all(folder_); }
  IdeRecorder(const IdeRecorder&) = delete;
  IdeRecorder& operator=(const IdeRecorder&) = delete;

  const fs::path& Folder() const { return folder_; }

  /// Writes the recording script to `where` and returns its path.
  std::string Install(const fs::path& where) const {
    fs::create_directories(where.parent_path());
    std::ofstream(where) << "#!/bin/sh\n"
                         << "out='" << Calls().string() << "'/$$\n"
                         << "for a in \"$@\"; do printf '%s\\0' \"$a\"; done > \"$out.part\"\n"
                         << "mv \"$out.part\" \"$out\"\n";
    chmod(where.c_str(), 0755);
    return where.string();
  }

  /// The argument lists of every start recorded so far, once `count` starts have finished
  /// (waits up to ten seconds for them).
  std::vector<std::vector<std::string>> Recorded(size_t count) const {
    for (int i = 0; i < 1000 && Finished().size() < count; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::vector<std::vector<std::string>> result;
    for (const fs::path& file : Finished()) {
      std::ifstream in(file, std::ios::binary);
      std::vector<std::string> arguments;
      for (std::string argument; std::getline(in, argument, '\0');) {
        arguments.push_back(argument);
      }
      result.push_back(arguments);
    }
    return result;
  }

  /// Forgets the starts recorded so far; call once they have finished.
  void Forget() const {
    for (const fs::path& file : Finished()) fs::remove(file);
  }

 private:
  fs::path Calls() const { return folder_ / "calls"; }

  std::vector<fs::path> Finished() const {
    std::vector<fs::path> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(Calls())) {
      if (entry.path().extension() != ".part") {
        files.push_back(entry.path());
      }
    }
    return files;
  }

  fs::path folder_;
};

using Arguments = std::vector<std::string>;

class JumpToLineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tool_ide_.Clear();
    home_.Clear();
  }

  std::string WriteRecorder(const fs::path& where) const { return recorder_.Install(where); }
  std::vector<Arguments> RecordedCalls(size_t count) const { return recorder_.Recorded(count); }

  static ResultList ListSelecting(std::string_view row_text) {
    ResultList list(ListKind::Procedures, "Procedures");
    list.AddResultRow("1\nFirst()\n\n\nother.pb");
    list.AddResultRow(row_text);
    return list;
  }

  static SourceFileList Files(const std::string& main_path) {
    return {{"/elsewhere/inc/other.pb", "", 0}, {main_path, "other.pb", 1}};
  }

  IdeRecorder recorder_;
  ScopedEnvironment tool_ide_{"PB_TOOL_IDE"};
  ScopedEnvironment home_{"PUREBASIC_HOME"};
};

TEST_F(JumpToLineTest, StartsTheToolIdeWithTheProjectsPathOptionAndLine) {
  tool_ide_.Set(WriteRecorder(recorder_.Folder() / "ide"));
  const std::string main_path = "/home/u/p/main.pb";
  const std::string odd_path = "/home/u/my project/a \"b\" -l 9 'c'.pb";
  struct Case {
    const char* what;
    std::string row;
    std::string path;
    Arguments expected;
  };
  const Case cases[] = {
      {"path, option and line", "120\nFoo()\n\n\nmain.pb", main_path, {main_path, "-l", "120"}},
      {"file cell in another letter case", "7\nFoo()\n\n\nMain.PB", main_path, {main_path, "-l", "7"}},
      {"blanks and quotes in one argument", "3\nFoo()\n\n\na \"b\" -l 9 'c'.pb", odd_path,
       {odd_path, "-l", "3"}},
      {"empty line cell gives line zero", "\nFoo()\n\n\nmain.pb", main_path, {main_path, "-l", "0"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    JumpToLine(ListSelecting(c.row), Files(c.path));
    EXPECT_EQ(RecordedCalls(1), std::vector<Arguments>{c.expected});
    recorder_.Forget();
  }
}

TEST_F(JumpToLineTest, ARowOpensItsOwnFileWhereAnEarlierFileHasItsName) {
  tool_ide_.Set(WriteRecorder(recorder_.Folder() / "ide"));
  const SourceFileList files = {{"/p/main.pb", "", 0},
                                {"/p/Build/Templates.pb", "main.pb", 1},
                                {"/p/Templates.pb", "main.pb", 2}};
  ResultList list(ListKind::Procedures, "Procedures");
  list.AddResultRow("4\nProcedure Template(n)\n\n\nTemplates.pb", {}, 2);
  JumpToLine(list, files);
  EXPECT_EQ(RecordedCalls(1), (std::vector<Arguments>{{"/p/Templates.pb", "-l", "4"}}));
}

TEST_F(JumpToLineTest, StartsTheIdeOfPureBasicHomeWhenNoToolIdeIsNamed) {
  WriteRecorder(recorder_.Folder() / "purebasic" / "compilers" / "purebasic");
  home_.Set((recorder_.Folder() / "purebasic").string());
  JumpToLine(ListSelecting("120\nFoo()\n\n\nmain.pb"), Files("/home/u/p/main.pb"));
  EXPECT_EQ(RecordedCalls(1), (std::vector<Arguments>{{"/home/u/p/main.pb", "-l", "120"}}));
}

TEST_F(JumpToLineTest, SeparatorRowNoSelectionOrUnknownNameStartNothing) {
  tool_ide_.Set(WriteRecorder(recorder_.Folder() / "ide"));
  const SourceFileList files = Files("/home/u/p/main.pb");
  JumpToLine(ListSelecting(""), files);
  ResultList unselected = ListSelecting("5\nFoo()\n\n\nmain.pb");
  unselected.SelectRow(-1);
  JumpToLine(unselected, files);
  JumpToLine(ListSelecting("5\nFoo()\n\n\nnothere.pb"), files);
  JumpToLine(ListSelecting("5\nFoo()\n\n\n"), files);
  // One real jump afterwards: had any call above started the IDE, it would be recorded too.
  JumpToLine(ListSelecting("6\nFoo()\n\n\nmain.pb"), files);
  EXPECT_EQ(RecordedCalls(1), (std::vector<Arguments>{{"/home/u/p/main.pb", "-l", "6"}}));
}

TEST_F(JumpToLineTest, KeepsNoChildProcessOfItsOwn) {
  tool_ide_.Set(WriteRecorder(recorder_.Folder() / "ide"));
  JumpToLine(ListSelecting("1\nFoo()\n\n\nmain.pb"), Files("/home/u/p/main.pb"));
  EXPECT_EQ(ChildProcesses(), std::vector<std::string>());
  EXPECT_EQ(RecordedCalls(1).size(), 1u);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_EQ(ChildProcesses(), std::vector<std::string>());
}

TEST_F(JumpToLineTest, MissingIdeProgramLeavesTheToolUsable) {
  tool_ide_.Set((recorder_.Folder() / "no-such-ide").string());
  JumpToLine(ListSelecting("1\nFoo()\n\n\nmain.pb"), Files("/home/u/p/main.pb"));
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_EQ(ChildProcesses(), std::vector<std::string>());

  tool_ide_.Set(WriteRecorder(recorder_.Folder() / "ide"));
  JumpToLine(ListSelecting("2\nFoo()\n\n\nmain.pb"), Files("/home/u/p/main.pb"));
  EXPECT_EQ(RecordedCalls(1), (std::vector<Arguments>{{"/home/u/p/main.pb", "-l", "2"}}));
}

// ---- The real window: the "Jump to Line" button ----

class JumpToLineInWindow : public gtk_test::WindowTest {
 protected:
  IdeRecorder recorder_;
  ScopedEnvironment tool_ide_{"PB_TOOL_IDE"};
};

TEST_F(JumpToLineInWindow, ButtonStartsTheIdeOnTheSelectedProcedureHead) {
  tool_ide_.Set(recorder_.Install(recorder_.Folder() / "ide"));
  const gtk_test::TempProject project;
  const std::string main_file =
      project.Write("main.pb", "; demo\nProcedure First()\nEndProcedure\n\nProcedure Second()\nEndProcedure\n");
  TakeUpMainFile(*window_, main_file);
  // The "Procedures" list selects its last row, whose line number is right-aligned.
  gtk_button_clicked(GTK_BUTTON(window_->Controls().JumpToLine));
  EXPECT_EQ(recorder_.Recorded(1), (std::vector<Arguments>{{main_file, "-l", "5"}}));
}

}  // namespace
