#include "source/module_lines.h"

#include <gtest/gtest.h>

TEST(ModuleLines, StatementsAreWholeKeywordsAndTheNamedOnesNeedAName) {
  struct Case {
    const char* line;
    ModuleStatement statement;
    const char* name;
  };
  const Case cases[] = {
      {"Module Geo", ModuleStatement::Module, "Geo"},
      {"\t  Module\tGeo_2 ; comment", ModuleStatement::Module, "Geo_2"},
      {"DeclareModule Text", ModuleStatement::DeclareModule, "Text"},
      {"UseModule Geo : x = 1", ModuleStatement::UseModule, "Geo"},
      {"UnuseModule Geo", ModuleStatement::UnuseModule, "Geo"},
      {"EndModule", ModuleStatement::EndModule, ""},
      {"EndModule ; Geo", ModuleStatement::EndModule, ""},
      {"EndDeclareModule:", ModuleStatement::EndDeclareModule, ""},
      {"Module", ModuleStatement::None, ""},            // no name
      {"UseModule (x)", ModuleStatement::None, ""},     // no name
      {"ModuleGeo", ModuleStatement::None, ""},         // no blank
      {"Modules = 1", ModuleStatement::None, ""},
      {"EndModuleX", ModuleStatement::None, ""},
      {"EndModule2", ModuleStatement::None, ""},
      {"module Geo", ModuleStatement::None, ""},        // keywords in their exact case
      {"; Module Geo", ModuleStatement::None, ""},
      {"x = 1 : Module Geo", ModuleStatement::None, ""},
      {"EndProcedure", ModuleStatement::None, ""},
      {"", ModuleStatement::None, ""},
  };
  for (const Case& c : cases) {
    const ModuleLine line = ClassifyModuleLine(c.line);
    EXPECT_EQ(line.Statement, c.statement) << '"' << c.line << '"';
    EXPECT_EQ(line.Name, c.name) << '"' << c.line << '"';
  }
}

TEST(ModuleLines, TrackerFollowsBlocksAndModulesInUseInLineOrder) {
  ModuleTracker tracker;
  tracker.StartFile();
  tracker.Track("UseModule Geo");
  tracker.Track("UseModule Text");
  tracker.Track("UseModule GEO");  // the same module, names folded
  EXPECT_EQ(tracker.Uses(), (std::vector<std::string>{"geo", "text"}));
  tracker.Track("DeclareModule Text");
  EXPECT_EQ(tracker.Module(), "Text");
  EXPECT_TRUE(tracker.InDeclareModule());
  tracker.Track("EndDeclareModule");
  tracker.Track("Module Geo");
  // Blocks that are not modules do not end the module.
  for (const char* line : {"If a", "EndIf", "Structure S", "EndStructure", "Macro M()",
                           "EndMacro", "Procedure P()", "EndProcedure", "EndModuleX"}) {
    EXPECT_EQ(tracker.Track(line), ModuleStatement::None) << line;
  }
  EXPECT_EQ(tracker.Module(), "Geo");
  EXPECT_FALSE(tracker.InDeclareModule());
  tracker.Track("EndModule");
  EXPECT_EQ(tracker.Module(), "");
  tracker.Track("UnuseModule geo");
  EXPECT_EQ(tracker.Uses(), (std::vector<std::string>{"text"}));
  tracker.Track("Module Open");
  tracker.StartFile();  // modules in use and open blocks end with their file
  EXPECT_EQ(tracker.Module(), "");
  EXPECT_TRUE(tracker.Uses().empty());
}
