// The random PureBasic-like projects of the differential tests: procedures of every head
// shape, calls in every form the matchers know, include statements of expressions and
// modules, written now and then as saved on Windows. Shared by the listings' differential
// test and the language server's.
#pragma once

#include <algorithm>
#include <cctype>
#include <random>
#include <string>
#include <vector>

#include "listings/testing/listing_test_support.h"

using Texts = std::vector<std::string>;


/// Names whose calls the matchers must tell apart: prefixes and suffixes of each other,
/// other letter case, suffixes of "Procedure" (which can unmake "Procedure (x)" heads),
/// and names that are no plain identifiers.
inline const Texts kNames = {"Foo", "FooBar", "Bar", "MyFoo", "bar", "Calc_1", "e",   "re",
                      "dure", "Procedure", "Str$", "*Ptr", "Ab",    "x",   "foo"};

/// Heads of every shape that `IsProcedureHead` or the procedures list accepts, and a few
/// that they do not, among them variables named "Procedure..." whose call keys are no
/// identifiers ("=0(", "+(", "=Foo("); "@" stands for the name.
inline const Texts kHeads = {"Procedure @(a, b)",  "Procedure.i @ (x)", "Procedure.s  @()",
                      "ProcedureC @()",     "ProcedureDLL @(x)", "Procedure @",
                      "Procedure (x)",      "Procedure  (y)",    "Procedure @() ; sums up",
                      "Procedure @(x = \";\")", "Procedure\t@()", "Procedure.l @(*p)",
                      "Procedure@ = 0",     "Procedure@ + 1",    "Procedure@$ = @(x)",
                      "Procedure@ + (x)",   "ProcedureCDLL.i @(x)", "Procedure@.l"};

/// Lines that call, almost call or mention the name "@" in every form the matchers know.
inline const Texts kBodies = {
    "@(1)",           "x = @(2)",          "x+@@()",           "(@(2))",
    "\t@ (3)",        "y.@(1)",            "\\@(",             "My@(1) : @(2)",
    "@  (1)",         "@ (1) ; @ (2)",     "s$ = \"@(\"",      "s$ = \" @(\"",
    "x = 1 ; @(1)",   "; @()",             "If f(a; b) : @(1) : EndIf",
    "a$ = \"x;y\" : @(1)", "@x(1)",        "x@(1)",            "@$(1)",
    "Global @",       "Protected @ = 1",   "@ = 2",            "*@\\x = 0",
    "Declare @()",    "ProcedureReturn @(1)", "p\\@1 = @",     "q = @ + 1",
    "\"@\" + @(1)",   "Foo (1) + @ (2)",   "z = 0",            "",
    "EndProcedure : @(1)", "Procedure (x)", "@(a, (b ; c))",   "@ ( (1) )",
    "x=0(1)",         "y+1 (2)",           "a+(b)",            "v=@(1)",
    "w = @ +(1)",
    // Lines that name procedures but call none, blocks of them, and one-line bodies.
    "Prototype @(x)", "PrototypeC.i @(x)", "Macro M@(x)\n  @(x)\nEndMacro",
    "Macro T(x) : @(x) : EndMacro",        "Structure S\n  Procedure@.l\n  @.i\nEndStructure",
    "Interface I@\n  @(x.i)\nEndInterface", "ImportC \"\"\n  @(x.i) As \"_@\"\nEndImport",
    "x = @(1) : EndProcedure",             "Procedure @1() : @(1) : EndProcedure"};

inline const Texts kIndents = {"", "", "  ", "\t", "\t  ", " \t ", "\t \t", ";", "  ;", "\t;"};
inline const Texts kEnds = {"EndProcedure", "EndProcedure ; done", "EndProcedureX", "\tEndProcedure",
                     "  EndProcedure", "endprocedure"};
inline const Texts kLineEnds = {"\n", "\r", "\r\n"};

/// Values of include statements that name the file "@.pbi": literals and expressions of
/// built-ins and of constants that may be defined before or after the statement, in this
/// file or another, several times, never, in terms of themselves, or with more
/// combinations than are tried.
inline const Texts kIncludeValues = {
    "\"@.pbi\"",          "\"@.pbi\" ; the file",      "\"@\" + \".pbi\"",
    "\".\" + #PS$ + \"@.pbi\"", "#PB_Compiler_FilePath + \"@.pbi\" ; + \"x\"",
    "#Dir$ + \"@.pbi\"",   "#Name$ + \".pbi\"",          "#Dir$ + #Name$ + \".pbi\"",
    "#Unknown + \"@.pbi\"", "#Self + \"@.pbi\"",
    "#Two + #Two + #Two + #Two + #Two + #Two + \"@.pbi\"",
    "#Two + #Two + #Two + #Two + #Two + #Two + #Two + \"@.pbi\""};

/// Constant definitions for those values ("@" a file letter), a built-in's name among them.
inline const Texts kDefinitions = {
    "#Dir$ = \"nowhere/\"", "#Dir$ = \"\"",  "#Dir$ = \"sub/\"",  "#Dir$ = #PB_Compiler_FilePath", "#Dir$ = #Name$ + \"/\"",
    "#Name$ = \"@\"",       "#Name$ = \"x\"", "\t#Name$ = #Dir$ + \"@\" ; per platform",
    "#Self = #Self + \"x\"", "#Self = \"\"",  "#Two = \"x\"",  "  #Two = \"\"",  "#PS$ = \"x\"",
    "#Back = #Dir$ + #Self"};

/// Include directories as expressions that name a folder or nothing.
inline const Texts kIncludePaths = {"IncludePath #PB_Compiler_FilePath", "IncludePath \".\" + #PS$",
                             "IncludePath #Dir$", "IncludePath #PB_Compiler_FilePath + \"nowhere\"",
                             "IncludePath #Name$ + \".pbi\""};

inline const Texts kFileLetters = {"a", "b", "c"};

/// Module names, two of them the same but for letter case.
inline const Texts kModuleNames = {"Geo", "Text", "geo"};

/// Module statements, declarations, qualified calls and blocks that are not modules
/// ("%" stands for a module name, "@" for a procedure name).
inline const Texts kModuleLines = {
    "Module %",        "EndModule",          "DeclareModule %",  "EndDeclareModule",
    "UseModule %",     "UnuseModule %",      "\t \tUseModule %",  "  Module % ; opened",
    "\t \tEndModule ; done", "Declare @(x)", "DeclareC.i @(y)",   "%::@(1)",
    "x = % :: @ (2)",  "%::@(1) + @(2)",     "%::My@(1)",        "If @(1)",
    "EndIf",           "Structure S",        "EndStructure",     "Macro M()",
    "EndMacro",        "EndModuleX",         "Modules = @(1)",   "UseModule",
    "::@(3)",          "Other::@(4)"};

/// Writes random PureBasic-like projects of four files plus an include that is missing.
/// The include statements and constant definitions come from a stream of their own, so
/// the procedures and calls are those of the same seed without them.
class ProjectGenerator {
 public:
  explicit ProjectGenerator(unsigned seed)
      : random_(seed), shapes_(seed * 7919u + 1), modules_(seed * 104729u + 3),
        real_(seed * 15485863u + 5), with_modules_(seed % 2 == 0) {}

  /// Writes main.pb (with its include lines), a.pbi, b.pbi and c.pbi into `test`, now and
  /// then as saved on Windows (byte-order marks, "\" and other letter case in include
  /// paths), and now and then an IDE project file that names the main file.
  void Write(TestProject& test) {
    names_ = PickNames();
    test.Write("main.pb", Marked(Definitions() + Include("IncludeFile", "a") + LineEnd() +
                                 Include("IncludeFile", "missing") + LineEnd() +
                                 Include("XIncludeFile", "b") + LineEnd() + Definitions() + File()));
    test.Write("a.pbi", Marked(Include("IncludeFile", "c") + LineEnd() + Definitions() + File()));
    test.Write("b.pbi", Marked(Definitions() + File()));
    // Other files that expressions may name: a copy in a folder, a folder named like a file.
    test.folder.MakeFolder("sub");
    test.folder.MakeFolder("x.pbi");
    test.Write("sub/a.pbi", "; sub/a.pbi\n" + WithName("@(1)", names_.front()) + "\n");
    test.Write("sub/b.pbi", "XIncludeFile #Dir$ + \"c.pbi\"\n");
    const bool includes = ShapeChance(20);
    test.Write("c.pbi", Marked(Definitions() +
                                   (includes ? Include("XIncludeFile", PickShape(kFileLetters)) + "\n" : "") +
                                   File()));
    // A file that differs from c.pbi only in letter case: "C.PBI" finds it first.
    if (RealChance(30)) test.Write("C.pbi", Marked(File()));
    WriteMainChoice(test);
  }

  /// What to give as MAINFILE, relative to the project's folder: main.pb or project.pbp.
  const std::string& Given() const { return given_; }
  /// The main file that `Given` must lead to, found on disk; empty when the project file
  /// names none, and main.pb is taken up instead.
  const std::string& Main() const { return main_; }

  /// The names used by the last project.
  const Texts& Names() const { return names_; }
  /// True when the last project has module statements and qualified calls.
  bool WithModules() const { return with_modules_; }

 private:
  size_t Below(size_t count) {
    return std::uniform_int_distribution<size_t>(0, count - 1)(random_);
  }
  const std::string& Pick(const Texts& texts) { return texts[Below(texts.size())]; }
  bool Chance(int percent) { return static_cast<int>(Below(100)) < percent; }

  Texts PickNames() {
    Texts names;
    for (size_t count = 2 + Below(5); names.size() < count;) names.push_back(Pick(kNames));
    return names;
  }

  std::string LineEnd() { return line_end_.empty() ? Pick(kLineEnds) : line_end_; }

  /// The name in its own case, or now and then in another case.
  std::string Spelled(std::string name) {
    if (Chance(15)) {
      for (char& c : name) c = static_cast<char>(Chance(50) ? std::toupper(c) : std::tolower(c));
    }
    return name;
  }

  static std::string WithName(const std::string& pattern, const std::string& name) {
    std::string text;
    for (const char c : pattern) text += c == '@' ? name : std::string(1, c);
    return text;
  }

  std::string Indented(const std::string& line) {
    const std::string& indent = Chance(70) ? kIndents[0] : Pick(kIndents);
    return indent + line;
  }

  /// One file: procedures with bodies, lines between them, heads without ends.
  std::string File() {
    line_end_ = Chance(25) ? std::string() : Pick(kLineEnds);  // empty: mixed line ends
    std::string text;
    // Calls before a file's first head: the inside flag carried in from the file before
    // (or, in the procedure-call listing, from the previous procedure) shows no label.
    for (size_t line = 0, lines = Chance(50) ? Below(4) : 0; line < lines; ++line) {
      text += WithName(Pick(kBodies), Spelled(Pick(names_))) + LineEnd();
    }
    text += ModuleLines("UseModule Geo\nUseModule Text\n");
    for (size_t block = 0, blocks = 1 + Below(4); block < blocks; ++block) {
      text += ModuleLines("Module %\n");
      text += Indented(WithName(Pick(kHeads), Pick(names_))) + LineEnd();
      for (size_t line = 0, lines = Below(8); line < lines; ++line) {
        text += Indented(WithName(Pick(kBodies), Spelled(Pick(names_)))) + LineEnd();
      }
      if (!Chance(15)) text += Indented(Pick(kEnds)) + LineEnd();
      if (Chance(40)) text += WithName(Pick(kBodies), Spelled(Pick(names_))) + LineEnd();
    }
    text += ModuleLines();
    if (Chance(20)) text += WithName("@(1)", Pick(names_));  // a last line without terminator
    return text;
  }

  /// Now and then `often`, then none to three lines of `kModuleLines`, from a stream of
  /// their own, so a project without modules is the one of the same seed before modules
  /// were generated.
  std::string ModuleLines(const std::string& often = "") {
    if (!with_modules_) return "";
    const auto below = [&](size_t count) {
      return std::uniform_int_distribution<size_t>(0, count - 1)(modules_);
    };
    std::string text = below(2) == 0 ? often : "";
    for (size_t count = below(4); count > 0; --count) {
      text += WithName(kModuleLines[below(kModuleLines.size())], names_[below(names_.size())]) + "\n";
    }
    for (size_t module = text.find('%'); module != std::string::npos; module = text.find('%')) {
      text.replace(module, 1, kModuleNames[below(kModuleNames.size())]);
    }
    return text;
  }

  bool ShapeChance(int percent) {
    return static_cast<int>(std::uniform_int_distribution<int>(0, 99)(shapes_)) < percent;
  }
  const std::string& PickShape(const Texts& texts) {
    return texts[std::uniform_int_distribution<size_t>(0, texts.size() - 1)(shapes_)];
  }

  /// An include statement for `letter`.pbi, as a literal or an expression; now and then
  /// an include directory first.
  std::string Include(const std::string& keyword, const std::string& letter) {
    std::string text = ShapeChance(10) ? Windowsish(PickShape(kIncludePaths)) + "\n" : "";
    const std::string& value = ShapeChance(40) ? kIncludeValues[0] : PickShape(kIncludeValues);
    return text + keyword + " " + Windowsish(WithName(value, letter));
  }

  /// None to three constant definitions, each line ending in LF.
  std::string Definitions() {
    std::string text;
    for (int count = std::uniform_int_distribution<int>(0, 3)(shapes_); count > 0; --count) {
      text += Windowsish(WithName(PickShape(kDefinitions), PickShape(kFileLetters))) + "\n";
    }
    return text;
  }

  bool RealChance(int percent) {
    return std::uniform_int_distribution<int>(0, 99)(real_) < percent;
  }

  /// Now and then `text` as written on Windows: "\" for "/" and every letter in upper
  /// case in each quoted literal.
  std::string Windowsish(std::string text) {
    if (!RealChance(30)) return text;
    const bool upper = RealChance(50);
    bool quoted = false;
    for (char& c : text) {
      if (c == '"') quoted = !quoted;
      if (quoted && c == '/') c = '\\';
      if (quoted && upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return text;
  }

  /// Now and then `text` with a byte-order mark before it, and a line that begins with one
  /// after it (which stays part of that line).
  std::string Marked(std::string text) {
    if (RealChance(30)) text.insert(0, "\xEF\xBB\xBF");
    if (RealChance(10)) text += "\n\xEF\xBB\xBF" + WithName("@(1)", names_.front()) + "\n";
    return text;
  }

  /// Now and then a project file of one to four targets, each naming a spelling of one of
  /// the project's files, a missing file or nothing; `main_` is what the rules choose.
  void WriteMainChoice(TestProject& test) {
    given_ = main_ = "main.pb";
    if (!RealChance(25)) return;
    static const Texts kInputs = {"main.pb", "MAIN.PB", ".\\main.pb", "b.pbi", "sub\\B.PBI", "gone.pb", ""};
    static const Texts kFound = {"main.pb", "main.pb", "./main.pb", "b.pbi", "sub/b.pbi", "", ""};
    const std::string prefix = RealChance(30) ? "pb:" : "";
    std::string targets;
    int chosen = -1;
    int enabled = -1;
    int first = -1;
    for (int target = 0, count = 1 + RealChance(50) + RealChance(50) + RealChance(50); target < count; ++target) {
      const int input = std::uniform_int_distribution<int>(0, static_cast<int>(kInputs.size()) - 1)(real_);
      const bool is_default = RealChance(30);
      const bool is_enabled = RealChance(60);
      targets += "<" + prefix + "target name=\"t" + std::to_string(target) + "\" enabled=\"" +
                 (is_enabled ? "1" : "0") + "\" default=\"" + (is_default ? "1" : "0") + "\">";
      if (!kInputs[input].empty()) {
        targets += "<" + prefix + "inputfile value=\"" + kInputs[input] + "\"/>";
        if (RealChance(20)) targets += "<" + prefix + "inputfile value=\"b.pbi\"/>";  // passed over
        if (is_default && chosen < 0) chosen = input;
        if (is_enabled && enabled < 0) enabled = input;
        if (first < 0) first = input;
      }
      targets += "</" + prefix + "target>";
    }
    const int input = chosen >= 0 ? chosen : enabled >= 0 ? enabled : first;
    main_ = input >= 0 ? kFound[static_cast<size_t>(input)] : "";
    given_ = "project.pbp";
    const std::string xmlns = prefix.empty() ? "xmlns" : "xmlns:pb";
    test.Write(given_, (RealChance(20) ? "\xEF\xBB\xBF" : "") +
                           std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<") + prefix + "project " +
                           xmlns + "=\"http://www.purebasic.com/namespace\"><" + prefix + "section " + prefix +
                           "name=\"targets\">" + targets + "</" + prefix + "section></" + prefix + "project>\n");
  }

  std::mt19937 random_;
  std::mt19937 shapes_;
  std::mt19937 modules_;
  std::mt19937 real_;
  bool with_modules_;
  Texts names_;
  std::string line_end_;
  std::string given_;
  std::string main_;
};
