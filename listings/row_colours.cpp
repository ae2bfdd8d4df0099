// Row marks to colours. Every colour of the listings is written here and nowhere else.
#include "listings/row_colours.h"

namespace {

/// Rows of a file whose band is set or clear (procedures list, calls of one procedure).
constexpr Rgb BandSetBackground{255, 255, 230};
constexpr Rgb BandClearBackground{185, 255, 255};

/// Rows of the term search: plain and declaration lines, band set and clear.
constexpr Rgb TermBandSetBackground{255, 255, 240};
constexpr Rgb TermBandClearBackground{195, 255, 255};
constexpr Rgb TermDeclarationBandSetBackground{255, 255, 190};
constexpr Rgb TermDeclarationBandClearBackground{145, 255, 255};

/// Procedure rows of the procedure-call listing: plain and never called.
constexpr Rgb ProcedureRowBackground{220, 220, 220};
constexpr Rgb NeverCalledBackground{255, 185, 0};
/// An unused procedure that only unused ones call: paler than one never called.
constexpr Rgb CalledByUnusedBackground{255, 228, 160};

/// The text of an other-case call or term; the line cell of a procedure called above its
/// head.
constexpr Rgb MarkRed{220, 0, 0};

/// The line cell of a call that several modules in use could take.
constexpr Rgb AmbiguousBackground{255, 200, 200};

/// Background of a row of a file band in a list of `kind`; none where bands are not shown.
std::optional<Rgb> BandBackground(ListKind kind, RowMarks marks) {
  const bool band = marks.Has(RowMark::FileBand);
  switch (KindEntry(kind).Bands) {
    case FileBandStyle::Plain: return band ? BandSetBackground : BandClearBackground;
    case FileBandStyle::Terms:
      if (marks.Has(RowMark::Declaration)) {
        return band ? TermDeclarationBandSetBackground : TermDeclarationBandClearBackground;
      }
      return band ? TermBandSetBackground : TermBandClearBackground;
    case FileBandStyle::None: break;
  }
  return std::nullopt;
}

// An unused procedure never called is shown as the procedure-call listing shows one, one
// only called by unused ones paler; a Declare finding as a procedure row with its line
// cell red, as a call above the head.
std::optional<Rgb> FindingBackground(ListKind kind, RowMarks marks, int column) {
  if (KindEntry(kind).Findings == FindingStyle::NeverCalled) {
    return marks.Has(RowMark::NeverCalled) ? NeverCalledBackground : CalledByUnusedBackground;
  }
  return column == ColumnLine ? MarkRed : ProcedureRowBackground;
}

std::optional<Rgb> Background(ListKind kind, RowMarks marks, int column) {
  if (marks.Has(RowMark::Finding)) return FindingBackground(kind, marks, column);
  if (marks.Has(RowMark::CalledAboveHead) && column == ColumnLine) return MarkRed;
  if (marks.Has(RowMark::Ambiguous) && column == ColumnCalls) return AmbiguousBackground;
  if (marks.Has(RowMark::NeverCalled)) return NeverCalledBackground;
  if (marks.Has(RowMark::ProcedureRow)) return ProcedureRowBackground;
  if (marks.Has(RowMark::Separator) || marks.Has(RowMark::ClosingRow)) return std::nullopt;
  return BandBackground(kind, marks);
}

}  // namespace

CellColours MarkColours(ListKind written_for, RowMarks marks, int column) {
  CellColours colours;
  if (marks.Has(RowMark::OtherCase) && column == ColumnCalls) colours.Text = MarkRed;
  colours.Background = Background(written_for, marks, column);
  return colours;
}
