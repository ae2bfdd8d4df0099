// Output of the report tool. JSON is written by hand: the shapes are few and fixed.
#include "report/report_output.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <vector>

#include "listings/display_text.h"
#include "listings/row_colours.h"

namespace {

using Table = std::vector<std::vector<std::string>>;

/// Characters that a terminal shows for UTF-8 `text`: every byte that does not continue
/// a sequence.
size_t DisplayWidth(std::string_view text) {
  size_t width = 0;
  for (const char c : text) width += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return width;
}

/// Writes `table` with columns two blanks apart; `right_aligned` columns are padded in
/// front. Trailing blanks are left out.
void WriteTable(const Table& table, const std::vector<bool>& right_aligned, std::ostream& out) {
  std::vector<size_t> widths(right_aligned.size(), 0);
  for (const auto& row : table) {
    for (size_t c = 0; c < row.size(); ++c) widths[c] = std::max(widths[c], DisplayWidth(row[c]));
  }
  for (const auto& row : table) {
    std::string line;
    for (size_t c = 0; c < row.size(); ++c) {
      const std::string padding(widths[c] - DisplayWidth(row[c]), ' ');
      line += right_aligned[c] ? padding + row[c] : row[c] + padding;
      if (c + 1 < row.size()) line += "  ";
    }
    out << line.substr(0, line.find_last_not_of(' ') + 1) << '\n';
  }
}

std::string JsonColour(const std::optional<Rgb>& colour) {
  if (!colour) return "null";
  return "[" + std::to_string(colour->Red) + "," + std::to_string(colour->Green) + "," +
         std::to_string(colour->Blue) + "]";
}

/// A JSON array of the five cells' values given by `value`.
template <typename Value>
std::string JsonCells(const ResultRow& row, Value value) {
  std::string array = "[";
  for (size_t c = 0; c < row.Cells.size(); ++c) {
    array += (c == 0 ? "" : ", ") + value(row.Cells[c]);
  }
  return array + "]";
}

bool HasBackground(const ResultRow& row, Rgb colour) {
  for (const ResultCell& cell : row.Cells) {
    if (cell.Background == colour) return true;
  }
  return false;
}

}  // namespace

std::string JsonString(std::string_view text) {
  std::string json = "\"";
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
  return json + "\"";
}

std::string RowMarks(const ResultRow& row) {
  std::vector<std::string_view> marks;
  if (HasBackground(row, NeverCalledBackground)) marks.push_back("never called");
  if (row.Cells[ColumnCalls].TextColour == MarkRed) marks.push_back("other case");
  if (row.Cells[ColumnLine].Background == MarkRed) marks.push_back("called above head");
  if (HasBackground(row, TermDeclarationBandSetBackground) ||
      HasBackground(row, TermDeclarationBandClearBackground)) {
    marks.push_back("declaration");
  }
  std::string joined;
  for (const std::string_view mark : marks) joined += (joined.empty() ? "" : ", ") + std::string(mark);
  return joined;
}

void WriteFilesJson(const SourceFileList& files, std::ostream& out) {
  for (const SourceFile& file : files) {
    out << "{\"path\": " << JsonString(ToDisplayText(file.Path))
        << ", \"included_by\": " << JsonString(ToDisplayText(file.IncludedBy))
        << ", \"include_line\": " << file.IncludeLine << "}\n";
  }
}

void WriteFilesTable(const SourceFileList& files, std::ostream& out) {
  Table table{{"Path", "Included by", "Line"}};
  for (const SourceFile& file : files) {
    table.push_back({ToDisplayText(file.Path), ToDisplayText(file.IncludedBy),
                     file.IncludeLine == 0 ? "" : std::to_string(file.IncludeLine)});
  }
  WriteTable(table, {false, false, true}, out);
}

void WriteListJson(const ResultList& list, std::ostream& out) {
  out << "{\"list\": {\"kind\": " << JsonString(ToDisplayText(list.Kind))
      << ", \"subject\": " << JsonString(ToDisplayText(list.Subject))
      << ", \"caption\": " << JsonString(ToDisplayText(list.Caption))
      << ", \"selector\": " << JsonString(ToDisplayText(SelectorEntryText(list))) << "}}\n";
  for (int32_t r = 0; r < list.RowCount(); ++r) {
    const ResultRow& row = list.Row(r);
    out << "{\"cells\": "
        << JsonCells(row, [](const ResultCell& cell) { return JsonString(ToDisplayText(cell.Text)); })
        << ", \"bg\": " << JsonCells(row, [](const ResultCell& cell) { return JsonColour(cell.Background); })
        << ", \"fg\": " << JsonCells(row, [](const ResultCell& cell) { return JsonColour(cell.TextColour); })
        << "}\n";
  }
}

void WriteListTable(const ResultList& list, std::ostream& out) {
  out << ToDisplayText(list.Caption) << '\n';
  Table table{{"Marks", "Line", "Calls", "Count", "(in) Function", "in File"}};
  table.reserve(static_cast<size_t>(list.RowCount()) + 1);
  for (int32_t r = 0; r < list.RowCount(); ++r) {
    const ResultRow& row = list.Row(r);
    std::vector<std::string> cells{RowMarks(row)};
    for (const ResultCell& cell : row.Cells) cells.push_back(ToDisplayText(cell.Text));
    table.push_back(std::move(cells));
  }
  WriteTable(table, {false, true, false, false, false, false}, out);
}
