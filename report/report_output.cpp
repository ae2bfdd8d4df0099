// Output of the report tool. JSON is written by hand: the shapes are few and fixed.
#include "report/report_output.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <vector>

#include "frontend/display_text.h"
#include "listings/row_colours.h"

namespace {

/// Characters that a terminal shows for UTF-8 `text`: every byte that does not continue
/// a sequence.
size_t DisplayWidth(std::string_view text) {
  size_t width = text.size();
  size_t at = 0;
  // Eight bytes without a high bit, most of a source, hold no continuation byte.
  for (uint64_t eight = 0; at + 8 <= text.size(); at += 8) {
    std::memcpy(&eight, text.data() + at, 8);
    if ((eight & 0x8080808080808080u) != 0) break;
  }
  for (; at < text.size(); ++at) width -= (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80;
  return width;
}

/// Writes a table of `rows` rows with columns two blanks apart; `right_aligned` columns are
/// padded in front. `append_cell(row, column, line)` appends a cell's display text to
/// `line`, `cell_width(row, column)` gives its `DisplayWidth`. Cells are made for the
/// second pass only, straight into the line, rather than kept, so a long list costs no
/// table of copies; trailing blanks are left out.
template <typename AppendCell, typename CellWidth>
void WriteTable(size_t rows, AppendCell append_cell, CellWidth cell_width,
                const std::vector<bool>& right_aligned, std::ostream& out) {
  std::vector<size_t> widths(right_aligned.size(), 0);
  for (size_t r = 0; r < rows; ++r) {
    for (size_t c = 0; c < widths.size(); ++c) widths[c] = std::max(widths[c], cell_width(r, c));
  }
  std::string line;
  for (size_t r = 0; r < rows; ++r) {
    line.clear();
    for (size_t c = 0; c < widths.size(); ++c) {
      if (right_aligned[c]) line.append(widths[c] - cell_width(r, c), ' ');
      const size_t start = line.size();
      append_cell(r, c, line);
      // The last column's padding would only be cut off again with the trailing blanks.
      const bool last = c + 1 == widths.size();
      if (!right_aligned[c] && !last) {
        line.append(widths[c] - DisplayWidth(std::string_view(line).substr(start)), ' ');
      }
      if (!last) line += "  ";
    }
    line.erase(line.find_last_not_of(' ') + 1);
    line += '\n';
    out.write(line.data(), static_cast<std::streamsize>(line.size()));
  }
}

/// The `append_cell` of `WriteTable` for a `cell_text(row, column, text)` that puts a
/// cell's display text into `text`.
template <typename CellText>
auto AppendedText(CellText cell_text) {
  return [cell_text, text = std::string()](size_t r, size_t c, std::string& line) mutable {
    cell_text(r, c, text);
    line += text;
  };
}

/// The width of a cell's display text, measured on the text itself.
template <typename CellText>
auto MeasuredWidth(CellText cell_text) {
  return [cell_text, text = std::string()](size_t r, size_t c) mutable {
    cell_text(r, c, text);
    return DisplayWidth(text);
  };
}

/// `DisplayWidth(ToDisplayText(bytes))` without making the text: valid UTF-8 stands as it
/// is, any other byte becomes one character.
size_t DisplayWidthOfBytes(std::string_view bytes) {
  return IsValidUtf8(bytes) ? DisplayWidth(bytes) : bytes.size();
}

/// Puts the display text of `bytes` into `text`.
void SetDisplayText(std::string& text, std::string_view bytes) {
  text.clear();
  AppendDisplayText(text, bytes);
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

void AppendJsonString(std::string& json, std::string_view text) {
  json += '"';
  for (const char c : text) {
    switch (c) {
      case '"': json += "\\\""; break;
      case '\\': json += "\\\\"; break;
      case '\n': json += "\\n"; break;
      case '\r': json += "\\r"; break;
      case '\t': json += "\\t"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
          json += escaped;
        } else {
          json += c;
        }
    }
  }
  json += '"';
}

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
  constexpr std::string_view Header[] = {"Path", "Included by", "Line", "Note"};
  const auto cell_text = [&](size_t r, size_t c, std::string& text) {
    if (r == 0) {
      text = Header[c];
      return;
    }
    const SourceFile& file = files[r - 1];
    if (c == 0) SetDisplayText(text, file.Path);
    if (c == 1) SetDisplayText(text, file.IncludedBy);
    if (c == 2) text = file.IncludeLine == 0 ? "" : std::to_string(file.IncludeLine);
    if (c == 3) SetDisplayText(text, FileNote(file, read[r - 1]));
  };
  // Without notes the table keeps its three columns.
  bool noted = false;
  for (size_t f = 0; f < files.size(); ++f) noted = noted || !FileNote(files[f], read[f]).empty();
  WriteTable(files.size() + 1, AppendedText(cell_text), MeasuredWidth(cell_text),
             noted ? std::vector<bool>{false, false, true, false} : std::vector<bool>{false, false, true},
             out);
}

void WriteListJson(const ResultList& list, std::ostream& out) {
  out << "{\"list\": {\"kind\": " << JsonString(ToDisplayText(KindText(list.Kind())))
      << ", \"subject\": " << JsonString(ToDisplayText(list.Subject()))
      << ", \"caption\": " << JsonString(ToDisplayText(list.Caption()))
      << ", \"selector\": " << JsonString(ToDisplayText(SelectorEntryText(list))) << "}}\n";
  // One line per row, made in one buffer; rows of the same marks share their colours' text.
  std::string line;
  std::string display;
  std::string colours_text;
  std::optional<std::pair<ListKind, RowMarks>> coloured;
  for (int32_t r = 0; r < list.RowCount(); ++r) {
    const ResultRow& row = list.Row(r);
    line = "{\"cells\": [";
    for (size_t column = 0; column < static_cast<size_t>(ResultColumns); ++column) {
      if (column > 0) line += ", ";
      display.clear();
      AppendDisplayText(display, row.Cells[column]);
      AppendJsonString(line, display);
    }
    if (coloured != std::make_pair(row.WrittenFor, row.Marks)) {
      colours_text = JsonColours(row);
      coloured = std::make_pair(row.WrittenFor, row.Marks);
    }
    line += colours_text;
    line += row.Marks.Has(RowMark::Callback) ? ", \"mark\": \"callback\"}\n" : "}\n";
    out.write(line.data(), static_cast<std::streamsize>(line.size()));
  }
}

void WriteListTable(const ResultList& list, std::ostream& out) {
  out << ToDisplayText(list.Caption()) << '\n';
  // The table asks for the cells of a row one after the other: the row is looked up once.
  ResultRow row;
  size_t row_held = 0;
  const auto row_at = [&](size_t r) -> const ResultRow& {
    if (row_held != r) row = list.Row(static_cast<int32_t>(r - 1));
    row_held = r;
    return row;
  };
  const auto cell_text = [&](size_t r, size_t c, std::string& text) {
    if (r == 0) {
      text = c == 0 ? "Marks" : ColumnHeaders[c - 1];
    } else {
      text = MarkWords(row_at(r).Marks);
    }
  };
  const auto append_cell = [&, text = std::string()](size_t r, size_t c, std::string& line) mutable {
    if (r > 0 && c > 0) {
      AppendDisplayText(line, row_at(r).Cells[c - 1]);
      return;
    }
    cell_text(r, c, text);
    line += text;
  };
  const auto cell_width = [&](size_t r, size_t c) {
    if (r == 0 || c == 0) return MeasuredWidth(cell_text)(r, c);
    return DisplayWidthOfBytes(row_at(r).Cells[c - 1]);
  };
  WriteTable(static_cast<size_t>(list.RowCount()) + 1, append_cell, cell_width,
             {false, true, false, false, false, false}, out);
}
