// The colours with which the listings mark rows and cells. The views that explain the
// marks (the report tool's tag column) read them from here too.
#pragma once

#include "listings/result_list.h"

/// Row background of a file whose band is set (procedures list, calls of one procedure).
constexpr Rgb BandSetBackground{255, 255, 230};
/// Row background of a file whose band is clear (procedures list, calls of one procedure).
constexpr Rgb BandClearBackground{185, 255, 255};

/// Background of a procedure row of the procedure-call listing.
constexpr Rgb ProcedureRowBackground{220, 220, 220};
/// Background of a procedure row whose procedure is never called.
constexpr Rgb NeverCalledBackground{255, 185, 0};
/// Text colour of a call or term found only in another letter case; also the background
/// of the line cell of a procedure called above its head.
constexpr Rgb MarkRed{220, 0, 0};

/// Term search backgrounds: plain and declaration lines, band set and clear.
constexpr Rgb TermBandSetBackground{255, 255, 240};
constexpr Rgb TermBandClearBackground{195, 255, 255};
constexpr Rgb TermDeclarationBandSetBackground{255, 255, 190};
constexpr Rgb TermDeclarationBandClearBackground{145, 255, 255};
