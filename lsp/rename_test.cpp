#include "lsp/rename.h"

#include <gtest/gtest.h>

// On a line that calls the procedure, only its own calls are renamed: not another module's
// of the same name, nor a field or an interface method, a string or a comment.
TEST(Rename, OnlyTheRenamedProceduresNamesOfALineAreEdited) {
  const std::string_view line = "x = Geo::Area(1) + Box::Area(2) + *s\\Area(3) + Area (4) ; Area(5)";
  EXPECT_EQ(CallNamesIn(line, "Area", "Geo"), (std::vector<size_t>{9, 47}));
  EXPECT_EQ(CallNamesIn(line, "area", ""), (std::vector<size_t>{47}));
  EXPECT_EQ(CallNamesIn("s$ = \"Area(1)\" + GEO::area(2)", "Area", "geo"), (std::vector<size_t>{22}));
}
