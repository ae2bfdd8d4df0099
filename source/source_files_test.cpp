#include "source/source_files.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <utility>
#include <vector>

#include "source/testing/test_folder.h"

namespace {

using Paths = std::vector<std::string>;

// The `Path` of every entry, with the test folder's path cut off where it leads.
Paths RelativePaths(const SourceFileList& files, const std::string& folder) {
  Paths paths;
  for (const SourceFile& file : files) {
    const bool inside = file.Path.compare(0, folder.size(), folder) == 0;
    paths.push_back(inside ? file.Path.substr(folder.size()) : file.Path);
  }
  return paths;
}

// Sets an environment variable for one test and puts the old value back afterwards.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, const char* value) : name_(name) {
    const char* old = ::getenv(name);
    had_old_ = old != nullptr;
    old_ = had_old_ ? old : "";
    if (value == nullptr) {
      ::unsetenv(name);
    } else {
      ::setenv(name, value, 1);
    }
  }
  ~ScopedEnvironment() {
    if (had_old_) {
      ::setenv(name_, old_.c_str(), 1);
    } else {
      ::unsetenv(name_);
    }
  }

 private:
  const char* name_;
  bool had_old_ = false;
  std::string old_;
};

/// A project's files and the paths that the scan of its main.pb lists.
struct ScanCase {
  std::string Title;
  std::vector<std::pair<std::string, std::string>> Files;  ///< subfolders are made first
  Paths Expected;
};

class ScanIncludesTest : public ::testing::Test {
 protected:
  std::string Write(const std::string& name, const std::string& text) {
    return folder_.Write(name, text);
  }
  Paths Scan(const std::string& main_name) {
    return RelativePaths(ScanIncludes(folder_.Path() + main_name), folder_.Path());
  }
  const std::string& Folder() const { return folder_.Path(); }

  TestFolder folder_;
  ScopedEnvironment home_{"PUREBASIC_HOME", nullptr};
};

}  // namespace

TEST_F(ScanIncludesTest, ListsIncludesBreadthFirstWithTheirOrigin) {
  Write("main.pb", "; project\nIncludeFile \"a.pb\"\n\nXIncludeFile \"b.pb\"\n");
  Write("a.pb", "x = 1\nIncludeFile \"c.pb\"\n");
  Write("b.pb", "");
  Write("c.pb", "");
  const SourceFileList files = ScanIncludes(Folder() + "main.pb");
  EXPECT_EQ(RelativePaths(files, Folder()), (Paths{"main.pb", "a.pb", "b.pb", "c.pb"}));
  ASSERT_EQ(files.size(), 4u);
  EXPECT_EQ(files[0].IncludedBy, "");
  EXPECT_EQ(files[0].IncludeLine, 0);
  EXPECT_EQ(files[1].IncludedBy, "main.pb");
  EXPECT_EQ(files[1].IncludeLine, 2);
  EXPECT_EQ(files[2].IncludeLine, 4);
  EXPECT_EQ(files[3].IncludedBy, "a.pb");
  EXPECT_EQ(files[3].IncludeLine, 2);
}

TEST_F(ScanIncludesTest, NameWithoutDirectoryIsTakenBesideTheIncludingFile) {
  folder_.MakeFolder("sub");
  Write("main.pb", "IncludeFile \"sub/a.pb\"\n");
  Write("sub/a.pb", "IncludeFile \"b.pb\"\n");
  Write("sub/b.pb", "");
  const SourceFileList files = ScanIncludes(Folder() + "main.pb");
  EXPECT_EQ(RelativePaths(files, Folder()), (Paths{"main.pb", "sub/a.pb", "sub/b.pb"}));
  EXPECT_EQ(files[2].IncludedBy, "a.pb");
}

TEST_F(ScanIncludesTest, CompilerHomeIsReplacedInIncludePathOnly) {
  ScopedEnvironment home("PUREBASIC_HOME", "/pbhome");
  Write("main.pb",
        "IncludeFile #PB_Compiler_Home + \"x.pb\"\n"
        "IncludePath #PB_Compiler_Home + \"Include/\"\n"
        "IncludeFile \"y.pbi\"\n");
  EXPECT_EQ(Scan("main.pb"),
            (Paths{"main.pb", "#PB_Compiler_Home + x.pb", "/pbhome/Include//y.pbi"}));
}

TEST_F(ScanIncludesTest, IncludeStatementsNamesPathsAndCyclesGiveTheListedFiles) {
  const ScanCase cases[] = {
      {"a blank-indented comment is skipped, a tab-indented one is not",
       {{"main.pb", "   ; IncludeFile \"skipped.pb\"\n\t; IncludeFile \"followed.pb\"\n"}},
       {"main.pb", "followed.pb"}},
      {"a byte-order mark at the start is no part of the first line; a second one makes a comment a line",
       {{"main.pb", "\xEF\xBB\xBFIncludeFile \"a.pb\"\n"},
        {"a.pb", "\xEF\xBB\xBF; IncludeFile \"x.pb\"\nIncludeFile \"b.pb\"\n"},
        {"b.pb", "\xEF\xBB\xBF\xEF\xBB\xBF; IncludeFile \"x.pb\"\n"}, {"x.pb", ""}},
       {"main.pb", "a.pb", "b.pb", "x.pb"}},
      {"keywords count only before the first colon",
       {{"main.pb",
         "x = 1 : IncludeFile \"no.pb\"\n"
         "IncludeFile \"a.pb\" : IncludeFile \"b.pb\"\n"
         "xincludefile \"lower.pb\"\n"}},
       {"main.pb", "a.pb : IncludeFile b.pb"}},
      {"a name with a directory is taken from the main folder",
       {{"main.pb",
         "IncludePath \"/opt/inc/\"\n"
         "IncludeFile \"sub/a.pb\" ; the helpers\n"
         "IncludeFile \"/abs/x.pb\"\n"},
        {"sub/a.pb", "IncludeFile \"b.pb\"\n"}},
       {"main.pb", "sub/a.pb", "/abs/x.pb", "/opt/inc//b.pb"}},
      {"an IncludePath governs later files until the next one",
       {{"main.pb",
         "IncludeFile \"a.pb\"\n"
         "IncludePath \"/opt/inc/\"\n"
         "IncludeFile \"b.pb\"\n"
         "IncludePath \"\"\n"
         "IncludeFile \"c.pb\"\n"
         "IncludePath \"/late/\"\n"},
        {"a.pb", "IncludeFile \"d.pb\"\n"}},
       {"main.pb", "a.pb", "/opt/inc//b.pb", "c.pb", "/late//d.pb"}},
      {"a relative IncludePath is taken from the main folder",
       {{"main.pb", "IncludePath \"inc\"\nIncludeFile \"x.pbi\"\n"},
        {"inc/x.pbi", "IncludeFile \"y.pbi\"\n"},
        {"inc/y.pbi", ""}},
       {"main.pb", "inc/x.pbi", "inc/y.pbi"}},
      {"names with quotes, blanks, plus and semicolon",
       {{"main.pb",
         "XIncludeFile \"Common.pb\"   ; must come first\n"
         "IncludeFile \"  my file.pb  \"\n"
         "IncludeFile \"a\" + \"b.pb\"\n"
         "IncludeFile \"a;b.pb\"\n"
         "IncludeFile \"\"\n"
         "IncludeFile \"\"\"q.pb\"\"\"\n"}},
       {"main.pb", "Common.pb", "my file.pb", "a + b.pb", "a", "q.pb"}},
      {"a keyword inside an identifier names a file that does not end the scan",
       {{"main.pb", "Procedure MyIncludeFileLoader()\nIncludeFile \"b.pb\"\n"}, {"b.pb", ""}},
       {"main.pb", "Loader()", "b.pb"}},
      {"IncludeFile keeps duplicates and their includes",
       {{"main.pb", "IncludeFile \"a.pb\"\nIncludeFile \"a.pb\"\n"},
        {"a.pb", "IncludeFile \"c.pb\"\n"},
        {"c.pb", ""}},
       {"main.pb", "a.pb", "a.pb", "c.pb", "c.pb"}},
      {"XIncludeFile adds a listed file no more",
       {{"main.pb",
         "IncludeFile \"a.pb\"\n"
         "XIncludeFile \"a.pb\"\n"
         "XIncludeFile \"./b.pb\"\n"
         "XIncludeFile \"b.pb\"\n"
         "XIncludeFile \"gone.pb\"\n"
         "XIncludeFile \"gone.pb\"\n"},
        {"a.pb", "XIncludeFile \"b.pb\"\n"},
        {"b.pb", ""}},
       {"main.pb", "a.pb", "./b.pb", "gone.pb"}},
      {"a file including itself adds nothing",
       {{"main.pb", "IncludeFile \"main.pb\"\nIncludeFile \"a.pb\"\n"},
        {"a.pb", "IncludeFile \"a.pb\"\nXIncludeFile \"./a.pb\"\n"}},
       {"main.pb", "a.pb"}},
      {"files including each other end the chain",
       {{"main.pb", "IncludeFile \"a.pb\"\n"},
        {"a.pb", "IncludeFile \"b.pb\"\nIncludeFile \"main.pb\"\n"},
        {"b.pb", "IncludeFile \"a.pb\"\nIncludeFile \"c.pb\"\n"},
        {"c.pb", ""}},
       {"main.pb", "a.pb", "b.pb", "c.pb"}},
      {"Windows paths: backslashes and letter case are found on disk, the first match in byte order",
       {{"main.pb", "IncludeFile \"Modules\\Bit.pb\"\nXIncludeFile \"modules\\vectorF.pb\"\n"
                    "IncludeFile \"sub\\B.PB\"\nIncludeFile \"ab\\c.pb\"\n"},
        {"Modules/Bit.pb", ""}, {"Modules/VECTORf.pb", ""},
        {"Sub/b.pb", ""}, {"Sub/B.pb", ""}, {"ab\\c.pb", ""}, {"ab/c.pb", ""}},
       {"main.pb", "Modules/Bit.pb", "Modules/VECTORf.pb", "Sub/B.pb", "ab\\c.pb"}},
      {"Windows paths: no going back, and a path nothing finds stays as written",
       {{"main.pb", "IncludeFile \"LIB\\x.pb\"\nIncludeFile \"Gone\\y.pb\"\n"},
        {"Lib/other.pb", ""}, {"lib/x.pb", ""}},
       {"main.pb", "LIB\\x.pb", "Gone\\y.pb"}},
      {"Windows paths: IncludePath and \"..\" components",
       {{"main.pb", "IncludePath \"Common\\\"\nIncludeFile \"misc.PB\"\nIncludePath \"\"\n"
                    "IncludeFile \"Sub\\a.pb\"\n"},
        {"common/Misc.pb", ""}, {"sub/a.pb", "IncludeFile \"..\\Shared\\c.pb\"\n"}, {"shared/C.pb", ""}},
       {"main.pb", "common//Misc.pb", "sub/a.pb", "sub/../shared/C.pb"}},
      {"Windows paths: each value of an expression is found on disk before the next is tried",
       {{"main.pb", "#Dir$ = \"first\"\n#Dir$ = \"second\"\nIncludeFile #Dir$ + \"\\X.pb\"\n"},
        {"FIRST/x.pb", ""}, {"second/X.pb", ""}},
       {"main.pb", "FIRST/x.pb"}},
      {"a sibling included from two branches is no cycle",
       {{"main.pb", "IncludeFile \"a.pb\"\nIncludeFile \"b.pb\"\n"},
        {"a.pb", "IncludeFile \"b.pb\"\n"},
        {"b.pb", ""}},
       {"main.pb", "a.pb", "b.pb", "b.pb"}},
  };
  for (const ScanCase& c : cases) {
    SCOPED_TRACE(c.Title);
    const TestFolder folder;
    for (const auto& [name, text] : c.Files) {
      const size_t slash = name.rfind('/');
      if (slash != std::string::npos) folder.MakeFolder(name.substr(0, slash));
      folder.Write(name, text);
    }
    EXPECT_EQ(RelativePaths(ScanIncludes(folder.Path() + "main.pb"), folder.Path()), c.Expected);
  }
}

TEST_F(ScanIncludesTest, FileThatDoesNotOpenStaysAndTheScanGoesOn) {
  Write("main.pb",
        "IncludeFile \"missing.pb\"\n"
        "IncludeFile \"folder\"\n"
        "IncludeFile \"dangling.pb\"\n"
        "IncludeFile \"b.pb\"\n");
  folder_.MakeFolder("folder");
  ASSERT_EQ(::symlink((Folder() + "nowhere.pb").c_str(), (Folder() + "dangling.pb").c_str()), 0);
  Write("b.pb", "IncludeFile \"c.pb\"\n");
  EXPECT_EQ(Scan("main.pb"),
            (Paths{"main.pb", "missing.pb", "folder", "dangling.pb", "b.pb", "c.pb"}));
}

TEST_F(ScanIncludesTest, LineEndingsDoNotChangeTheList) {
  for (const std::string end : {"\n", "\r", "\r\n"}) {
    Write("main.pb", "IncludeFile \"a.pb\"" + end + "  IncludeFile \"b.pb\"" + end);
    Write("a.pb", "x" + end + end + "IncludeFile \"c.pb\"");
    const SourceFileList files = ScanIncludes(Folder() + "main.pb");
    EXPECT_EQ(RelativePaths(files, Folder()), (Paths{"main.pb", "a.pb", "b.pb", "c.pb"}));
    EXPECT_EQ(files.back().IncludeLine, 3);
  }
}

TEST_F(ScanIncludesTest, ZeroByteEndsALine) {
  const char text[] = "IncludeFile \"a.pb\0b.pb\"\n\0IncludeFile \"c.pb\"";
  Write("main.pb", std::string(text, sizeof text - 1));
  const SourceFileList files = ScanIncludes(Folder() + "main.pb");
  EXPECT_EQ(RelativePaths(files, Folder()), (Paths{"main.pb", "a.pb", "c.pb"}));
  EXPECT_EQ(files.back().IncludeLine, 4);
}

TEST_F(ScanIncludesTest, SymbolicLinkToAnIncluderIsACycle) {
  Write("main.pb", "IncludeFile \"link.pb\"\nIncludeFile \"a.pb\"\n");
  ASSERT_EQ(::symlink((Folder() + "main.pb").c_str(), (Folder() + "link.pb").c_str()), 0);
  Write("a.pb", "");
  EXPECT_EQ(Scan("main.pb"), (Paths{"main.pb", "a.pb"}));
}

TEST_F(ScanIncludesTest, MultiplyingIncludesStopAtTheCap) {
  for (int i = 0; i < 20; ++i) {
    const std::string next = "f" + std::to_string(i + 1) + ".pb";
    Write("f" + std::to_string(i) + ".pb",
          i + 1 < 20 ? "IncludeFile \"" + next + "\"\nIncludeFile \"" + next + "\"\n" : "");
  }
  const auto start = std::chrono::steady_clock::now();
  const SourceFileList files = ScanIncludes(Folder() + "f0.pb");
  EXPECT_EQ(files.size(), MaxSourceFiles);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
  EXPECT_EQ(RelativePaths({files[1], files[2], files[3]}, Folder()),
            (Paths{"f1.pb", "f1.pb", "f2.pb"}));
}

TEST_F(ScanIncludesTest, XIncludeChainListsEveryFileOnce) {
  Paths expected;
  for (int i = 0; i < 20; ++i) {
    const std::string name = "f" + std::to_string(i) + ".pb";
    const std::string next = "f" + std::to_string(i + 1) + ".pb";
    Write(name, i + 1 < 20 ? "XIncludeFile \"" + next + "\"\nXIncludeFile \"" + next + "\"\n" : "");
    expected.push_back(name);
  }
  EXPECT_EQ(Scan("f0.pb"), expected);
}

TEST_F(ScanIncludesTest, MainFileThatDoesNotReadGivesItsEntryAlone) {
  folder_.MakeFolder("dir.pb");
  EXPECT_EQ(Scan("dir.pb"), (Paths{"dir.pb"}));
  EXPECT_EQ(Scan("missing.pb"), (Paths{"missing.pb"}));
  ASSERT_EQ(::mkfifo((Folder() + "fifo.pb").c_str(), 0600), 0);
  EXPECT_EQ(Scan("fifo.pb"), (Paths{"fifo.pb"}));
  Write("empty.pb", "");
  EXPECT_EQ(Scan("empty.pb"), (Paths{"empty.pb"}));
  Write("zeros.pb", std::string(4096, '\0'));
  EXPECT_EQ(Scan("zeros.pb"), (Paths{"zeros.pb"}));
}

TEST_F(ScanIncludesTest, UnreadableIncludeStaysAndTheScanGoesOn) {
  if (::geteuid() == 0) {
    GTEST_SKIP() << "root reads files whatever their mode (the dangling link case covers it)";
  }
  Write("main.pb", "IncludeFile \"secret.pb\"\nIncludeFile \"b.pb\"\n");
  const std::string secret = Write("secret.pb", "IncludeFile \"never.pb\"\n");
  ASSERT_EQ(::chmod(secret.c_str(), 0), 0);
  Write("b.pb", "");
  EXPECT_EQ(Scan("main.pb"), (Paths{"main.pb", "secret.pb", "b.pb"}));
}

TEST_F(ScanIncludesTest, HundredMegabyteOneLineMainFile) {
  std::string text(100u * 1024 * 1024, 'x');
  text.replace(0, 5, "x = 1");
  Write("big.pb", text);
  EXPECT_EQ(Scan("big.pb"), (Paths{"big.pb"}));
}

TEST(DefaultCompilerHome, ComesFromTheEnvironmentWithOneTrailingSlash) {
  const char* built_in = "/home/user-workbench/Programming/PureBasic5.30/";
  struct Case {
    const char* value;
    const char* home;
  };
  const Case cases[] = {
      {nullptr, built_in},
      {"", built_in},
      {"/opt/pb", "/opt/pb/"},
      {"/opt/pb/", "/opt/pb/"},
      {"/opt/pb///", "/opt/pb/"},
      {"/", "/"},
  };
  for (const Case& c : cases) {
    ScopedEnvironment home("PUREBASIC_HOME", c.value);
    EXPECT_EQ(DefaultCompilerHome(), c.home) << (c.value ? c.value : "(unset)");
  }
}

TEST_F(ScanIncludesTest, ApplicationWithIncludeExpressionsListsEveryExistingFile) {
  for (const char* folder : {"App", "App/Platform", "App/Dialogs", "Shared", "Debugger"}) {
    folder_.MakeFolder(folder);
  }
  Write("App/Main.pb",
        "; Inventory: the main file\n"
        "EnableExplicit\n"
        "CompilerSelect #PB_Compiler_OS\n"
        "  CompilerCase #PB_OS_Windows\n"
        "    #Platform$ = \"Windows\"\n"
        "  CompilerCase #PB_OS_Linux\n"
        "    #Platform$ = \"Linux\"\n"
        "CompilerEndSelect\n"
        "XIncludeFile #PB_Compiler_FilePath + \"Platform\" + #PS$ + #Platform$ + \".pb\"\n"
        "XIncludeFile #DebuggerSource$ + \"Misc.pb\"   ; defined in Constants.pb\n"
        "XIncludeFile \"..\" + #PS$ + \"Shared\" + #PS$ + \"Constants.pb\"\n"
        "IncludePath #PB_Compiler_FilePath + \"Dialogs\"\n"
        "XIncludeFile \"Dialogs.pb\"\n"
        "\tIncludeFile #Unknown + \"Gone.pb\" ; never defined\n");
  Write("App/Platform/Linux.pb", "");
  Write("Shared/Constants.pb",
        "#DebuggerSource$ = \"../Debugger/\"\nXIncludeFile #PB_Compiler_FilePath + \"Strings.pb\"\n");
  Write("Shared/Strings.pb", "");
  Write("Debugger/Misc.pb",
        "#HelperFile$ = \"MiscHelpers.pb\"\nXIncludeFile #PB_Compiler_FilePath + #HelperFile$\n");
  Write("Debugger/MiscHelpers.pb", "");
  Write("App/Dialogs/Dialogs.pb", "IncludeFile \"DialogHelpers.pb\"\n");
  Write("App/Dialogs/DialogHelpers.pb", "");
  const SourceFileList files = ScanIncludes(Folder() + "App/Main.pb");
  EXPECT_EQ(RelativePaths(files, Folder()),
            (Paths{"App/Main.pb", "App/Platform/Linux.pb", "App/../Debugger/Misc.pb",
                   "App/../Shared/Constants.pb", "App/Dialogs/Dialogs.pb",
                   "App/Dialogs/#Unknown + Gone.pb", "App/../Debugger/MiscHelpers.pb",
                   "App/../Shared/Strings.pb", "App/Dialogs/DialogHelpers.pb"}));
  ASSERT_EQ(files.size(), 9u);
  EXPECT_EQ(files[2].IncludeLine, 10);
  EXPECT_EQ(files[6].IncludedBy, "Misc.pb");
  EXPECT_EQ(files[6].IncludeLine, 2);
  for (const size_t resolved : {1, 2, 3, 6, 7}) EXPECT_EQ(files[resolved].Unresolved, "");
  EXPECT_EQ(files[5].Unresolved, "IncludeFile #Unknown + \"Gone.pb\"");
}

TEST_F(ScanIncludesTest, ExpressionThatNamesNothingOfItsKindKeepsTheLiteralValue) {
  folder_.MakeFolder("dir.pb");
  Write("file", "");
  Write("main.pb",
        "#Dir$ = \"dir\"\n"
        "IncludeFile #Dir$ + \".pb\"\n"
        "IncludeFile \" spaced\" + \".pb\"\n"
        "IncludePath #PB_Compiler_FilePath + \"file\"\n"
        "IncludeFile \"after.pb\"\n"
        "IncludePath \"/abs\" + \"/dir\"\n"
        "IncludeFile \"last.pb\"\n");
  Write(" spaced.pb", "");
  const SourceFileList files = ScanIncludes(Folder() + "main.pb");
  // The evaluated " spaced.pb" keeps its blank; the IncludePath values fall back to the
  // literal rules (quotes, "+" and blanks removed).
  EXPECT_EQ(RelativePaths(files, Folder()),
            (Paths{"main.pb", "#Dir$ + .pb", " spaced.pb", "#PB_Compiler_FilePathfile/after.pb",
                   "/abs/dir/last.pb"}));
  EXPECT_EQ(files[1].Unresolved, "IncludeFile #Dir$ + \".pb\"");
}

TEST_F(ScanIncludesTest, ExpressionIsTriedWithItsFirst64NamesOnly) {
  Write("main.pb",
        "#D = \"a\"\n#D = \"b\"\n"
        "IncludeFile #D + #D + #D + #D + #D + #D + #D + \".pb\"\n"
        "IncludeFile #D + #D + #D + #D + #D + #D + #D + \".pbi\"\n"
        "IncludeFile #S + \".pb\"\n"
        "#S = #S + \"x\"\n");
  Write("abbbbbb.pb", "");   // the 64th name
  Write("baaaaaa.pb", "");
  Write("baaaaaa.pbi", "");  // the 65th name: never tried
  EXPECT_EQ(Scan("main.pb"), (Paths{"main.pb", "abbbbbb.pb", "#D + #D + #D + #D + #D + #D + #D + .pbi",
                                    "#S + .pb"}));
}

TEST_F(ScanIncludesTest, ListsThatKeepChangingStopAtTheEighthScan) {
  // p.pb makes #F$ name q.pb first, and q.pb does not: the lists alternate from scan 2 on.
  Write("main.pb", "#F$ = #G$\n#F$ = \"p\"\nIncludeFile #F$ + \".pb\"\n");
  Write("p.pb", "#G$ = \"q\"\n");
  Write("q.pb", "");
  EXPECT_EQ(Scan("main.pb"), (Paths{"main.pb", "p.pb"}));
  // The same from scan 3 on, when #F$ = "p" comes from a file that scan 2 finds.
  Write("main.pb", "#F$ = #G$\nIncludeFile #F$ + \".pb\"\nIncludeFile #R$ + \".pb\"\n#R$ = \"r\"\n");
  Write("r.pb", "#F$ = \"p\"\n");
  EXPECT_EQ(Scan("main.pb"), (Paths{"main.pb", "q.pb", "r.pb"}));
}

TEST_F(ScanIncludesTest, HostileExpressionsEndQuickly) {
  std::string line = "IncludeFile \"x\"";
  for (int i = 0; i < 100000; ++i) line += " + #C";
  Write("main.pb", "#C = \"c\"\n#C = #C + #C\n" + line + "\n#Loop = #Back\n#Back = #Loop\n"
                   "XIncludeFile #Loop\n");
  const auto start = std::chrono::steady_clock::now();
  const Paths paths = Scan("main.pb");
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
  ASSERT_EQ(paths.size(), 3u);
  EXPECT_EQ(paths[1].size(), line.size() - 12 - 2);  // the literal: quotes gone
  EXPECT_EQ(paths[2], "#Loop");
}
