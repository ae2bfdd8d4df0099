// Output of the report tool. JSON is written by hand: the shapes are few and fixed.
#include "report/report_output.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <deque>
#include <memory>
#include <optional>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "frontend/display_text.h"
#include "listings/row_colours.h"
#include "source/short_load.h"

namespace {

/// How many rows ahead of the one written a list's writer asks for the rows' texts: the
/// rows of a listing view lines all over the files.
constexpr int32_t kRowsAhead = 32;

/// Bytes gathered for an output stream and written in large pieces: a long list costs a
/// few writes instead of one per line, and no stream formats a cell.
class OutputBuffer {
 public:
  explicit OutputBuffer(std::ostream& out) : out_(out), bytes_(new char[capacity_]) {}
  ~OutputBuffer() { Flush(); }
  OutputBuffer(const OutputBuffer&) = delete;
  OutputBuffer& operator=(const OutputBuffer&) = delete;
  /// Appends `bytes`.
  void Append(std::string_view bytes) {
    if (!bytes.empty()) std::memcpy(Room(bytes.size()), bytes.data(), bytes.size());
    used_ += bytes.size();
  }
  /// Appends `bytes` when `marked` (the marks of the sixteen bytes at a place, as
  /// `FirstMarkedByte` takes it) or, without SSE2, `is_marked` marks none of them; false,
  /// with nothing appended, when it marks one. Sixteen bytes are copied and tested at once,
  /// so a cell is read once and copied without a call.
  template <typename Marked, typename IsMarked>
  bool AppendUnmarked(std::string_view bytes, Marked marked, IsMarked is_marked);
  /// Takes back the last `count` bytes appended on the current line.
  void TakeBack(size_t count) { used_ -= count; }
  /// Appends `count` blanks.
  void AppendBlanks(size_t count) {
    std::memset(Room(count), ' ', count);
    used_ += count;
  }
  /// Ends a line with LF, and writes what was gathered once it is much.
  void EndLine() {
    *Room(1) = '\n';
    if (++used_ >= kFlushAt) Flush();
  }

 private:
  static constexpr size_t kFlushAt = size_t{1} << 16;
  /// Where `count` more bytes go; a line longer than the room gets more.
  char* Room(size_t count) {
    if (capacity_ - used_ < count) {
      capacity_ = std::max(2 * capacity_, used_ + count);
      std::unique_ptr<char[]> larger(new char[capacity_]);
      std::memcpy(larger.get(), bytes_.get(), used_);
      bytes_ = std::move(larger);
    }
    return bytes_.get() + used_;
  }
  void Flush() {
    out_.write(bytes_.get(), static_cast<std::streamsize>(used_));
    used_ = 0;
  }
  std::ostream& out_;
  size_t capacity_ = 2 * kFlushAt;
  std::unique_ptr<char[]> bytes_;
  size_t used_ = 0;
};

template <typename Marked, typename IsMarked>
bool OutputBuffer::AppendUnmarked(std::string_view bytes, Marked marked, IsMarked is_marked) {
  const size_t size = bytes.size();
  if (size == 0) return true;
#ifdef __SSE2__
  (void)is_marked;
  char* const out = Room(size + 16);
  const char* const in = bytes.data();
  unsigned marks = 0;
  if (size < 16) {
    // All sixteen are stored (the room has them) and tested there, only `size` counted.
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), LoadShort(in, size));
    marks = marked(out) & ((1u << size) - 1);
  } else {
    for (size_t at = 0; at + 16 <= size; at += 16) {
      marks |= marked(in + at);
      std::memcpy(out + at, in + at, 16);
    }
    // The last sixteen bytes once more, those before them copied again.
    marks |= marked(in + size - 16);
    std::memcpy(out + size - 16, in + size - 16, 16);
  }
  if (marks != 0) return false;
  used_ += size;
  return true;
#else
  (void)marked;
  for (const char c : bytes) {
    if (is_marked(c)) return false;
  }
  Append(bytes);
  return true;
#endif
}

/// Index of the first byte at or after `at` in `text` that `marked` (one bit for each of
/// the sixteen bytes at a place) or, without SSE2, `is_marked` (for one byte) marks; the
/// size of `text` when there is none. Sixteen bytes are tested at once; a text shorter
/// than sixteen in a padded copy, as most cells are: a loop over their bytes would end
/// where no processor foresees it.
template <typename Marked, typename IsMarked>
size_t FirstMarkedByte(std::string_view text, size_t at, Marked marked, IsMarked is_marked) {
#ifdef __SSE2__
  (void)is_marked;
  if (at >= text.size()) return text.size();
  if (text.size() < 16) {
    alignas(16) char padded[16];
    _mm_store_si128(reinterpret_cast<__m128i*>(padded), LoadShort(text.data(), text.size()));
    const unsigned places = (marked(padded) & ((1u << text.size()) - 1)) >> at;
    return places == 0 ? text.size() : at + static_cast<size_t>(__builtin_ctz(places));
  }
  for (; at + 16 <= text.size(); at += 16) {
    if (const unsigned places = marked(text.data() + at)) {
      return at + static_cast<size_t>(__builtin_ctz(places));
    }
  }
  // The last sixteen bytes once more, those tested already shifted out.
  if (at < text.size()) {
    const size_t last = text.size() - 16;
    const unsigned places = marked(text.data() + last) >> (at - last);
    return places == 0 ? text.size() : at + static_cast<size_t>(__builtin_ctz(places));
  }
  return at;
#else
  (void)marked;
  while (at < text.size() && !is_marked(text[at])) ++at;
  return at;
#endif
}

/// The high bits of sixteen bytes, one bit each; without SSE2 none, for `FirstMarkedByte`
/// and `OutputBuffer::AppendUnmarked`, which then test each byte with `IsHighByte`.
unsigned HighBits(const char* sixteen) {
#ifdef __SSE2__
  return static_cast<unsigned>(
      _mm_movemask_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(sixteen))));
#else
  (void)sixteen;
  return 0;
#endif
}

bool IsHighByte(char c) { return static_cast<unsigned char>(c) >= 0x80; }

/// Length of the run of bytes without a high bit at the start of `bytes`: most of a source
/// is such a run.
size_t AsciiPrefix(std::string_view bytes) { return FirstMarkedByte(bytes, 0, HighBits, IsHighByte); }

/// Characters that a terminal shows for UTF-8 `text`: every byte that does not continue
/// a sequence.
size_t DisplayWidth(std::string_view text) {
  size_t width = text.size();
  for (size_t at = AsciiPrefix(text); at < text.size(); ++at) {
    width -= (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80;
  }
  return width;
}

/// `DisplayWidth(ToDisplayText(bytes))` without making the text: valid UTF-8 stands as it
/// is, any other byte becomes one character.
size_t DisplayWidthOfBytes(std::string_view bytes) {
  if (AsciiPrefix(bytes) == bytes.size()) return bytes.size();
  return IsValidUtf8(bytes) ? DisplayWidth(bytes) : bytes.size();
}

/// One line of a table being appended to an output: cell texts and the blanks around
/// them. Blanks are held back until a text follows, so the line ends without blanks
/// and none is written only to be cut off again.
class TableLine {
 public:
  explicit TableLine(OutputBuffer& out) : out_(out) {}
  /// Adds `count` blanks.
  void Blanks(size_t count) { held_blanks_ += count; }
  /// Appends the display text of `bytes`; returns its width in characters.
  size_t Text(std::string_view bytes);

 private:
  OutputBuffer& out_;
  size_t held_blanks_ = 0;
  std::string converted_;
};

// The text's own trailing blanks are held back too: they end the line when nothing follows.
size_t TableLine::Text(std::string_view bytes) {
  const size_t kept = bytes.find_last_not_of(' ') + 1;  // npos + 1 is 0
  if (kept > 0) {
    out_.AppendBlanks(held_blanks_);
    held_blanks_ = 0;
  }
  held_blanks_ += bytes.size() - kept;
  if (out_.AppendUnmarked(bytes.substr(0, kept), HighBits, IsHighByte)) return bytes.size();
  // Cutting off blanks leaves valid UTF-8 valid and invalid bytes invalid.
  converted_.clear();
  AppendDisplayText(converted_, bytes.substr(0, kept));
  out_.Append(converted_);
  return DisplayWidth(converted_) + (bytes.size() - kept);
}

/// The cells of one table row as bytes to show; `Columns` of them.
template <size_t Columns>
using TableCells = std::array<std::string_view, Columns>;

/// Appends one row of `cells` to `out` as a line of the table whose columns have `widths`,
/// two blanks apart; `right_aligned` columns are padded in front.
template <size_t Columns>
void AppendTableLine(const TableCells<Columns>& cells, const std::array<size_t, Columns>& widths,
                     const std::array<bool, Columns>& right_aligned, OutputBuffer& out) {
  TableLine line(out);
  for (size_t c = 0; c < Columns; ++c) {
    if (right_aligned[c]) {
      line.Blanks(widths[c] - DisplayWidthOfBytes(cells[c]));
      line.Text(cells[c]);
    } else {
      line.Blanks(widths[c] - line.Text(cells[c]));
    }
    line.Blanks(2);
  }
}

/// The lengths of the cells of one table row.
template <size_t Columns>
using TableLengths = std::array<size_t, Columns>;

/// The lengths of `cells`.
template <size_t Columns>
TableLengths<Columns> LengthsOf(const TableCells<Columns>& cells) {
  TableLengths<Columns> lengths;
  for (size_t c = 0; c < Columns; ++c) lengths[c] = cells[c].size();
  return lengths;
}

/// Writes a table of `rows` rows; `row_cells(row, cells)` puts a row's cells into `cells`
/// (views valid until it is called again), for the widths first, then for the lines,
/// where `ahead(row)` is called before each: a writer asks for the texts of later rows.
/// For the widths `row_lengths(row, lengths)` gives the cells' lengths first: a text is
/// never wider than its bytes, so the cells of a row are asked for only when one is longer
/// than its column's width so far. Cells are asked for again rather than kept, so a long
/// list costs no table of copies.
template <size_t Columns, typename RowCells, typename RowLengths, typename Ahead>
void WriteTable(size_t rows, RowCells row_cells, RowLengths row_lengths,
                const std::array<bool, Columns>& right_aligned, std::ostream& out, Ahead ahead) {
  TableCells<Columns> cells;
  TableLengths<Columns> lengths;
  std::array<size_t, Columns> widths{};
  for (size_t r = 0; r < rows; ++r) {
    row_lengths(r, lengths);
    bool asked = false;
    for (size_t c = 0; c < Columns; ++c) {
      if (lengths[c] <= widths[c]) continue;
      if (!asked) row_cells(r, cells);
      asked = true;
      widths[c] = std::max(widths[c], DisplayWidthOfBytes(cells[c]));
    }
  }
  OutputBuffer buffer(out);
  for (size_t r = 0; r < rows; ++r) {
    ahead(r);
    row_cells(r, cells);
    AppendTableLine(cells, widths, right_aligned, buffer);
    buffer.EndLine();
  }
}

std::string JsonColour(const std::optional<Rgb>& colour) {
  if (!colour) return "null";
  return "[" + std::to_string(colour->Red) + "," + std::to_string(colour->Green) + "," +
         std::to_string(colour->Blue) + "]";
}

/// A JSON array of the five cells' values given by `value(column)`.
template <typename Value>
std::string JsonCells(Value value) {
  std::string array = "[";
  for (int column = 0; column < ResultColumns; ++column) {
    array += (column == 0 ? "" : ", ") + value(column);
  }
  return array + "]";
}

/// The "bg" and "fg" members of a row's JSON object, each a JSON array of its cells'
/// colours.
std::string JsonColours(const ResultRow& row) {
  const auto colours = [&](int column) { return MarkColours(row.WrittenFor, row.Marks, column); };
  return "], \"bg\": " +
         JsonCells([&](int column) { return JsonColour(colours(column).Background); }) +
         ", \"fg\": " + JsonCells([&](int column) { return JsonColour(colours(column).Text); });
}

}  // namespace

std::string FileNote(const SourceFile& file, const ProjectFile& read) {
  std::string note = read.Opened ? "" : "not read";
  if (!file.Unresolved.empty()) note += (note.empty() ? "" : "; ") + ("as written: " + file.Unresolved);
  return note;
}

std::string JsonString(std::string_view text) {
  std::string json;
  AppendJsonString(json, text);
  return json;
}

namespace {

/// True for the bytes that a JSON string cannot hold as they are.
constexpr bool NeedsJsonEscape(char c) {
  return static_cast<unsigned char>(c) < 0x20 || c == '"' || c == '\\';
}

#ifdef __SSE2__
/// One bit for each of the sixteen bytes at `bytes` that `NeedsJsonEscape`.
unsigned JsonEscapeMask(const char* bytes) {
  const __m128i sixteen = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
  // A byte at most 0x1F, unsigned, is its maximum with 0x1F no more.
  const __m128i last_control = _mm_set1_epi8(0x1F);
  const __m128i control = _mm_cmpeq_epi8(_mm_max_epu8(sixteen, last_control), last_control);
  const __m128i quote = _mm_cmpeq_epi8(sixteen, _mm_set1_epi8('"'));
  const __m128i backslash = _mm_cmpeq_epi8(sixteen, _mm_set1_epi8('\\'));
  return static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(control, _mm_or_si128(quote, backslash))));
}
#endif

/// The bytes of sixteen that a JSON string cannot hold as they are or that need a
/// conversion for display (a high bit), one bit each; without SSE2 none, and
/// `IsPlainJsonMarked` tells of each byte. Most cells have none, and are copied whole.
unsigned PlainJsonMarks(const char* sixteen) {
#ifdef __SSE2__
  return JsonEscapeMask(sixteen) | HighBits(sixteen);
#else
  (void)sixteen;
  return 0;
#endif
}

bool IsPlainJsonMarked(char c) { return IsHighByte(c) || NeedsJsonEscape(c); }

/// Index of the first byte at or after `at` that `NeedsJsonEscape`; the size of `text`
/// when there is none.
size_t NextJsonEscape(std::string_view text, size_t at) {
#ifdef __SSE2__
  const auto marked = JsonEscapeMask;
#else
  const auto marked = [](const char*) { return 0u; };
#endif
  return FirstMarkedByte(text, at, marked, NeedsJsonEscape);
}

/// Appends `bytes` to a string or to an output's buffer, so that JSON is made the same
/// way in either.
void Put(std::string& out, std::string_view bytes) { out.append(bytes); }
void Put(OutputBuffer& out, std::string_view bytes) { out.Append(bytes); }

/// Appends the escape of the byte `c`, one that `NeedsJsonEscape`.
template <typename Out>
void AppendJsonEscape(Out& json, char c) {
  switch (c) {
    case '"': Put(json, "\\\""); break;
    case '\\': Put(json, "\\\\"); break;
    case '\n': Put(json, "\\n"); break;
    case '\r': Put(json, "\\r"); break;
    case '\t': Put(json, "\\t"); break;
    default: {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
      Put(json, escaped);
    }
  }
}

/// `AppendJsonString` to a string or an output's buffer. Runs of bytes that need no escape
/// are appended whole.
template <typename Out>
void AppendJsonStringTo(Out& json, std::string_view text) {
  Put(json, "\"");
  for (size_t at = 0;;) {
    const size_t escape = NextJsonEscape(text, at);
    Put(json, text.substr(at, escape - at));
    if (escape == text.size()) break;
    AppendJsonEscape(json, text[escape]);
    at = escape + 1;
  }
  Put(json, "\"");
}

}  // namespace

void AppendJsonString(std::string& json, std::string_view text) { AppendJsonStringTo(json, text); }

std::string MarkWords(RowMarks marks) {
  std::string joined;
  const auto add = [&](RowMark mark, std::string_view word) {
    if (!marks.Has(mark)) return;
    if (!joined.empty()) joined += ", ";
    joined += word;
  };
  add(RowMark::NeverCalled, "never called");
  add(RowMark::OtherCase, "other case");
  add(RowMark::CalledAboveHead, "called above head");
  add(RowMark::Declaration, "declaration");
  add(RowMark::DeclareLine, "declare");
  add(RowMark::Ambiguous, "ambiguous");
  return joined;
}

void WriteFilesJson(const SourceFileList& files, const std::vector<ProjectFile>& read,
                    std::ostream& out) {
  for (size_t f = 0; f < files.size(); ++f) {
    const SourceFile& file = files[f];
    out << "{\"path\": " << JsonString(ToDisplayText(file.Path))
        << ", \"included_by\": " << JsonString(ToDisplayText(file.IncludedBy))
        << ", \"include_line\": " << file.IncludeLine;
    if (!read[f].Opened) out << ", \"readable\": false";
    if (!file.Unresolved.empty()) {
      out << ", \"statement\": " << JsonString(ToDisplayText(file.Unresolved));
    }
    out << "}\n";
  }
}

void WriteFilesTable(const SourceFileList& files, const std::vector<ProjectFile>& read,
                     std::ostream& out) {
  // Without notes the Note column is empty, header too, and so is left out with the
  // trailing blanks.
  bool noted = false;
  for (size_t f = 0; f < files.size(); ++f) noted = noted || !FileNote(files[f], read[f]).empty();
  std::string line_text;
  std::string note;
  const auto row_cells = [&](size_t r, TableCells<4>& cells) {
    if (r == 0) {
      cells = {"Path", "Included by", "Line", noted ? "Note" : ""};
      return;
    }
    const SourceFile& file = files[r - 1];
    line_text = file.IncludeLine == 0 ? "" : std::to_string(file.IncludeLine);
    note = FileNote(file, read[r - 1]);
    cells = {file.Path, file.IncludedBy, line_text, note};
  };
  const auto row_lengths = [&](size_t r, TableLengths<4>& lengths) {
    TableCells<4> cells;
    row_cells(r, cells);
    lengths = LengthsOf(cells);
  };
  WriteTable<4>(files.size() + 1, row_cells, row_lengths, {false, false, true, false}, out,
                [](size_t) {});
}

namespace {

/// Appends the JSON string of the display text of `bytes` to `buffer`; `display` is room
/// for a converted text. A plain cell is copied between its quotes as it is tested.
void AppendJsonCell(OutputBuffer& buffer, std::string_view bytes, std::string& display) {
  buffer.Append("\"");
  if (buffer.AppendUnmarked(bytes, PlainJsonMarks, IsPlainJsonMarked)) {
    buffer.Append("\"");
    return;
  }
  buffer.TakeBack(1);  // the string is written whole, quotes and all
  if (AsciiPrefix(bytes) == bytes.size() || IsValidUtf8(bytes)) {
    AppendJsonStringTo(buffer, bytes);
  } else {
    display.clear();
    AppendDisplayText(display, bytes);
    AppendJsonStringTo(buffer, display);
  }
}

/// The colours' texts of rows (`JsonColours`), made once for each kind and set of marks:
/// a list has few of them, and its rows take turns between them.
class JsonColoursOfRows {
 public:
  /// `JsonColours(row)`, valid while this lives.
  const std::string& Of(const ResultRow& row) {
    for (const Made& made : made_) {
      if (made.Kind == row.WrittenFor && made.Marks == row.Marks) return made.Text;
    }
    made_.push_back({row.WrittenFor, row.Marks, JsonColours(row)});
    return made_.back().Text;
  }

 private:
  struct Made {
    ListKind Kind;
    RowMarks Marks;
    std::string Text;
  };
  std::deque<Made> made_;  ///< a deque keeps the texts in place as it grows
};

}  // namespace

void WriteListJson(const ResultList& list, std::ostream& out) {
  out << "{\"list\": {\"kind\": " << JsonString(ToDisplayText(KindText(list.Kind())))
      << ", \"subject\": " << JsonString(ToDisplayText(list.Subject()))
      << ", \"caption\": " << JsonString(ToDisplayText(list.Caption()))
      << ", \"selector\": " << JsonString(ToDisplayText(SelectorEntryText(list))) << "}}\n";
  // One line per row, gathered in the output's buffer.
  OutputBuffer buffer(out);
  std::string display;
  JsonColoursOfRows colours;
  for (int32_t r = 0; r < list.RowCount(); ++r) {
    list.PrefetchRow(r + kRowsAhead);
    const ResultRow row = list.Row(r);
    buffer.Append("{\"cells\": [");
    for (size_t column = 0; column < static_cast<size_t>(ResultColumns); ++column) {
      if (column > 0) buffer.Append(", ");
      AppendJsonCell(buffer, row.Cells[column], display);
    }
    buffer.Append(colours.Of(row));
    buffer.Append(row.Marks.Has(RowMark::Callback) ? ", \"mark\": \"callback\"}" : "}");
    buffer.EndLine();
  }
}

namespace {

/// The marks column's words of rows, made again only when a row's marks differ from the
/// last ones that have words.
class MarkWordsOfRows {
 public:
  /// `MarkWords(marks)`, valid until the next call.
  std::string_view Of(RowMarks marks) {
    const RowMarks worded = WordedMarks(marks);
    if (worded == RowMarks()) return {};
    if (worded != marks_) {
      words_ = MarkWords(worded);
      marks_ = worded;
    }
    return words_;
  }

 private:
  static RowMarks WordedMarks(RowMarks marks) {
    RowMarks worded;
    for (const RowMark mark : {RowMark::NeverCalled, RowMark::OtherCase, RowMark::CalledAboveHead,
                               RowMark::Declaration, RowMark::DeclareLine, RowMark::Ambiguous}) {
      if (marks.Has(mark)) worded |= mark;
    }
    return worded;
  }
  RowMarks marks_;
  std::string words_;
};

}  // namespace

void WriteListTable(const ResultList& list, std::ostream& out) {
  out << ToDisplayText(list.Caption()) << '\n';
  MarkWordsOfRows marks;
  const auto row_cells = [&](size_t r, TableCells<ResultColumns + 1>& cells) {
    if (r == 0) {
      cells = {"Marks", ColumnHeaders[0], ColumnHeaders[1], ColumnHeaders[2], ColumnHeaders[3],
               ColumnHeaders[4]};
      return;
    }
    const ResultRow row = list.Row(static_cast<int32_t>(r - 1));
    cells = {marks.Of(row.Marks), row.Cells[0], row.Cells[1], row.Cells[2], row.Cells[3],
             row.Cells[4]};
  };
  const auto row_lengths = [&](size_t r, TableLengths<ResultColumns + 1>& lengths) {
    if (r == 0) {
      TableCells<ResultColumns + 1> header;
      row_cells(0, header);
      lengths = LengthsOf(header);
      return;
    }
    const auto row = static_cast<int32_t>(r - 1);
    const RowCellLengths cells = list.CellLengths(row);
    lengths[0] = marks.Of(list.Marks(row)).size();
    std::copy(cells.begin(), cells.end(), lengths.begin() + 1);
  };
  const auto ahead = [&](size_t r) { list.PrefetchRow(static_cast<int32_t>(r) - 1 + kRowsAhead); };
  WriteTable<ResultColumns + 1>(static_cast<size_t>(list.RowCount()) + 1, row_cells, row_lengths,
                                {false, true, false, false, false, false}, out, ahead);
}
