#include "listings/row_location.h"

#include <algorithm>
#include <cctype>
#include <limits>

#include "source/path_parts.h"
#include "source/text_parts.h"

namespace {

// A name in double quotes: the text after the opening quote up to the next one.
std::string_view QuotedName(std::string_view file_cell) {
  const std::string_view inner = file_cell.substr(1);
  return inner.substr(0, inner.find('"'));
}

// Byte-wise equality after upper-casing each byte by the current locale's rules, so a name
// written in another letter case (a call row's file, a quoted name) still finds its file.
bool EqualIgnoringCase(std::string_view left, std::string_view right) {
  if (left.size() != right.size()) {
    return false;
  }
  for (size_t i = 0; i < left.size(); ++i) {
    if (std::toupper(static_cast<unsigned char>(left[i])) !=
        std::toupper(static_cast<unsigned char>(right[i]))) {
      return false;
    }
  }
  return true;
}

}  // namespace

std::string_view RowFileName(std::string_view file_cell) {
  const std::string_view name =
      !file_cell.empty() && file_cell.front() == '"' ? QuotedName(file_cell) : file_cell;
  return FileNamePart(name);
}

int32_t RowLineNumber(std::string_view line_cell) {
  // The "Procedures" list right-aligns its line numbers with blanks, so blanks are skipped.
  line_cell.remove_prefix(std::min(line_cell.find_first_not_of(" \t"), line_cell.size()));
  return static_cast<int32_t>(LeadingDigitsValue(line_cell, std::numeric_limits<int32_t>::max()));
}

const SourceFile* FindRowFile(const SourceFileList& files, std::string_view name) {
  if (name.empty()) {
    return nullptr;
  }
  for (const SourceFile& file : files) {
    if (EqualIgnoringCase(FileNamePart(file.Path), name)) {
      return &file;
    }
  }
  return nullptr;
}

// A row that knows its file takes it, unless the list of files has changed under it
// since (its entry there no longer has the row's file name); else the name is looked up.
RowLocation LocateRow(const ResultList& list, int32_t row, const SourceFileList& files) {
  const std::string_view name = RowFileName(list.CellText(row, ColumnFile));
  const int32_t line = RowLineNumber(list.CellText(row, ColumnLine));
  if (row < 0 || row >= list.RowCount()) return {nullptr, line};
  const uint32_t file = list.Row(row).File;
  if (file < files.size() && !name.empty() && EqualIgnoringCase(FileNamePart(files[file].Path), name)) {
    return {&files[file], line};
  }
  return {FindRowFile(files, name), line};
}
