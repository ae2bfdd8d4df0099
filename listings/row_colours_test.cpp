#include "listings/row_colours.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

using Colour = std::optional<Rgb>;

constexpr Rgb Grey{220, 220, 220};
constexpr Rgb Orange{255, 185, 0};
constexpr Rgb Red{220, 0, 0};

/// The background of every column of a row; fails when the columns differ.
Colour RowBackground(ListKind kind, RowMarks marks) {
  const Colour first = MarkColours(kind, marks, ColumnCalls).Background;
  for (int column = ColumnCount; column < ResultColumns; ++column) {
    EXPECT_EQ(MarkColours(kind, marks, column).Background, first) << "column " << column;
  }
  return first;
}

}  // namespace

// The values are the window's colours as users know them: each is pinned here as a
// literal, so a changed shade fails.
TEST(RowColours, FileBandsOfTheProceduresAndCallsLists) {
  for (const ListKind kind : {ListKind::Procedures, ListKind::ProcedureCalls}) {
    SCOPED_TRACE(static_cast<int>(kind));
    EXPECT_EQ(RowBackground(kind, RowMark::FileBand), Colour(Rgb{255, 255, 230}));
    EXPECT_EQ(RowBackground(kind, {}), Colour(Rgb{185, 255, 255}));
    EXPECT_EQ(MarkColours(kind, RowMark::FileBand, ColumnLine).Background,
              Colour(Rgb{255, 255, 230}));
    EXPECT_EQ(RowBackground(kind, RowMark::Separator), std::nullopt);
  }
}

TEST(RowColours, TermRowsAreLighterAndDeclarationsDarkerInBothBands) {
  EXPECT_EQ(RowBackground(ListKind::Terms, RowMark::FileBand), Colour(Rgb{255, 255, 240}));
  EXPECT_EQ(RowBackground(ListKind::Terms, {}), Colour(Rgb{195, 255, 255}));
  EXPECT_EQ(RowBackground(ListKind::Terms, RowMark::FileBand | RowMark::Declaration),
            Colour(Rgb{255, 255, 190}));
  EXPECT_EQ(RowBackground(ListKind::Terms, RowMark::Declaration), Colour(Rgb{145, 255, 255}));
  EXPECT_EQ(MarkColours(ListKind::Terms, RowMark::Declaration, ColumnLine).Background,
            Colour(Rgb{145, 255, 255}));
  EXPECT_EQ(RowBackground(ListKind::Terms, RowMark::Separator), std::nullopt);
}

TEST(RowColours, ProcedureRowsAreGreyOrangeWhenNeverCalledWithARedLineWhenCalledAbove) {
  const ListKind kind = ListKind::AllProcedureCalls;
  EXPECT_EQ(RowBackground(kind, RowMark::ProcedureRow), Colour(Grey));
  EXPECT_EQ(MarkColours(kind, RowMark::ProcedureRow, ColumnLine).Background, Colour(Grey));
  EXPECT_EQ(RowBackground(kind, RowMark::ProcedureRow | RowMark::NeverCalled), Colour(Orange));
  EXPECT_EQ(MarkColours(kind, RowMark::ProcedureRow | RowMark::NeverCalled, ColumnLine).Background,
            Colour(Orange));
  const RowMarks early = RowMark::ProcedureRow | RowMark::CalledAboveHead;
  EXPECT_EQ(MarkColours(kind, early, ColumnLine).Background, Colour(Red));
  EXPECT_EQ(RowBackground(kind, early), Colour(Grey));
  // Call rows and closing rows of the listing have no background.
  EXPECT_EQ(RowBackground(kind, {}), std::nullopt);
  EXPECT_EQ(MarkColours(kind, {}, ColumnLine).Background, std::nullopt);
  EXPECT_EQ(RowBackground(kind, RowMark::ClosingRow), std::nullopt);
}

TEST(RowColours, OtherCaseIsRedTextInTheCallsColumnOnly) {
  for (const ListKind kind :
       {ListKind::ProcedureCalls, ListKind::AllProcedureCalls, ListKind::Terms}) {
    SCOPED_TRACE(static_cast<int>(kind));
    EXPECT_EQ(MarkColours(kind, RowMark::OtherCase, ColumnCalls).Text, Colour(Red));
    for (const int column : {ColumnLine, ColumnCount, ColumnFunction, ColumnFile}) {
      EXPECT_EQ(MarkColours(kind, RowMark::OtherCase, column).Text, std::nullopt);
    }
    EXPECT_EQ(MarkColours(kind, {}, ColumnCalls).Text, std::nullopt);
  }
  // The other-case mark leaves the background to the band.
  EXPECT_EQ(RowBackground(ListKind::Terms, RowMark::OtherCase | RowMark::FileBand),
            Colour(Rgb{255, 255, 240}));
}

TEST(RowColours, AnAmbiguousCallHasAPinkCallsCellOverItsBand) {
  const RowMarks marks = RowMark::Ambiguous | RowMark::FileBand;
  EXPECT_EQ(MarkColours(ListKind::ProcedureCalls, marks, ColumnCalls).Background,
            Colour(Rgb{255, 200, 200}));
  EXPECT_EQ(MarkColours(ListKind::ProcedureCalls, marks, ColumnLine).Background,
            Colour(Rgb{255, 255, 230}));
  EXPECT_EQ(MarkColours(ListKind::AllProcedureCalls, RowMark::Ambiguous, ColumnCalls).Background,
            Colour(Rgb{255, 200, 200}));
  EXPECT_EQ(MarkColours(ListKind::AllProcedureCalls, RowMark::Ambiguous, ColumnFile).Background,
            std::nullopt);
}
