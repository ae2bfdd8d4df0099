#include "source/ide_project_file.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Target(const std::string& attributes, const std::string& inputs) {
  return "<target name=\"t\" " + attributes + ">" + inputs + "<outputfile value=\"out\"/></target>";
}

std::string Input(const std::string& value) { return "<inputfile value=\"" + value + "\"/>"; }

std::string ProjectOf(const std::string& targets) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<project xmlns=\"http://www.purebasic.com/namespace\">"
         "<section name=\"files\"><file name=\"a &amp; b.pbi\"/></section>"
         "<section name=\"targets\">" + targets + "</section></project>\n";
}

std::string MainInputOf(const std::string& xml) {
  const auto project = ParseIdeProject(xml);
  return project ? MainTargetInput(*project) : "(not parsed)";
}

}  // namespace

TEST(IdeProjectFile, ListsTheFilesAndReadsOnlyWellFormedXml) {
  const auto project = ParseIdeProject(ProjectOf(Target("default=\"1\"", Input("main.pb"))));
  ASSERT_TRUE(project.has_value());
  EXPECT_EQ(project->Files, std::vector<std::string>{"a & b.pbi"});
  EXPECT_FALSE(ParseIdeProject("<a><b></a>").has_value());
  EXPECT_FALSE(ParseIdeProject("not xml at all").has_value());
  EXPECT_TRUE(ParseIdeProject("<project/>").has_value());
  // A byte-order mark before the declaration, as some editors save it.
  EXPECT_EQ(MainInputOf("\xEF\xBB\xBF" + ProjectOf(Target("", Input("m.pb")))), "m.pb");
}

// The default target, else the first enabled one, else the first; targets without an
// input file do not count, and a second <inputfile> of a target is passed over.
TEST(IdeProjectFile, MainTargetIsTheDefaultElseTheFirstEnabledElseTheFirst) {
  const std::string off = Target("enabled=\"0\" default=\"0\"", Input("off.pb"));
  const std::string on = Target("enabled=\"1\" default=\"0\"", Input("on.pb"));
  const std::string main = Target("enabled=\"0\" default=\"1\"", Input("main.pb") + Input("second.pb"));
  const std::string empty_default = Target("enabled=\"1\" default=\"1\"", Input(""));
  const std::string no_input_default = Target("enabled=\"1\" default=\"1\"", "");
  EXPECT_EQ(MainInputOf(ProjectOf(off + on + main)), "main.pb");
  EXPECT_EQ(MainInputOf(ProjectOf(off + on)), "on.pb");
  EXPECT_EQ(MainInputOf(ProjectOf(off + Target("", Input("later.pb")))), "off.pb");
  EXPECT_EQ(MainInputOf(ProjectOf(no_input_default + off + on)), "on.pb");
  EXPECT_EQ(MainInputOf(ProjectOf(empty_default + off)), "off.pb");
  EXPECT_EQ(MainInputOf(ProjectOf(empty_default + no_input_default)), "");
  EXPECT_EQ(MainInputOf(ProjectOf("")), "");
}

TEST(IdeProjectFile, NamespacePrefixesAreIgnored) {
  const std::string xml =
      "<pb:project xmlns:pb=\"http://www.purebasic.com/namespace\"><pb:section pb:name=\"files\">"
      "<pb:file pb:name=\"inc.pbi\"/></pb:section><pb:section pb:name=\"targets\">"
      "<pb:target pb:enabled=\"1\" pb:default=\"1\"><pb:inputfile pb:value=\"main.pb\"/></pb:target>"
      "</pb:section></pb:project>";
  const auto project = ParseIdeProject(xml);
  ASSERT_TRUE(project.has_value());
  EXPECT_EQ(project->Files, std::vector<std::string>{"inc.pbi"});
  EXPECT_EQ(MainTargetInput(*project), "main.pb");
}

TEST(IdeProjectFile, ProjectPathsEndInPbpInAnyLetterCase) {
  for (const char* path : {"a.pbp", "/x/Project.PBP", ".pBp"}) EXPECT_TRUE(IsIdeProjectPath(path)) << path;
  for (const char* path : {"a.pb", "pbp", "a.pbpx", "a_pbp", "/x.pbp/main.pb", ""}) {
    EXPECT_FALSE(IsIdeProjectPath(path)) << path;
  }
}
