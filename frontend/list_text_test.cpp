#include "frontend/list_text.h"

#include <gtest/gtest.h>

TEST(ListText, RowsAreTabSeparatedCellsAndTheListHasCaptionHeadersAndLfLines) {
  ResultList list(ListKind::Callees, "Main()");
  list.AddResultRow("12\nx = F\xE9(1)  \n\n     3 Procedure F\xE9()\nmain.pb");
  list.AddResultRow("", RowMark::Separator);
  list.AddResultRow("    16\n\tProcedure G()\n 1 \n\nmain.pb");
  EXPECT_EQ(RowClipboardText(list, 0), "12\tx = F\xC3\xA9(1)\t\t3 Procedure F\xC3\xA9()\tmain.pb");
  EXPECT_EQ(RowClipboardText(list, 1), "");
  EXPECT_EQ(RowClipboardText(list, 2), "16\tProcedure G()\t1\t\tmain.pb");
  EXPECT_EQ(RowClipboardText(list, 3), "");
  EXPECT_EQ(RowClipboardText(list, -1), "");
  EXPECT_EQ(ListClipboardText(list),
            "Calls in: Main()...\n"
            "Line\tCalls\tCount\t(in) Function\tin File\n"
            "12\tx = F\xC3\xA9(1)\t\t3 Procedure F\xC3\xA9()\tmain.pb\n"
            "\n"
            "16\tProcedure G()\t1\t\tmain.pb\n");
}
