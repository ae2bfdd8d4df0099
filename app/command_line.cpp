#include "app/command_line.h"

#include <algorithm>
#include <limits>

#include "frontend/display_text.h"
#include "source/file_system.h"
#include "source/path_parts.h"
#include "source/recorded_main_file.h"
#include "source/text_parts.h"
#include "source/source_reader.h"

namespace {

constexpr int64_t kInt32Min = std::numeric_limits<int32_t>::min();
constexpr int64_t kInt32Max = std::numeric_limits<int32_t>::max();

// The four fields of a selection text when it has exactly three "x".
bool SplitSelection(std::string_view text, std::string_view (&fields)[4]) {
  if (std::count(text.begin(), text.end(), 'x') != 3) return false;
  for (int i = 0; i < 3; ++i) {
    const size_t x = text.find('x');
    fields[i] = text.substr(0, x);
    text.remove_prefix(x + 1);
  }
  fields[3] = text;
  return true;
}

// Byte position of the character at 0-based character position `characters` of UTF-8
// `line`; the line's length when it has fewer.
size_t CharacterOffset(std::string_view line, int64_t characters) {
  int64_t seen = 0;
  for (size_t at = 0; at < line.size(); ++at) {
    if ((static_cast<unsigned char>(line[at]) & 0xC0) == 0x80) continue;  // continues one
    if (seen++ == characters) return at;
  }
  return line.size();
}

std::string_view WithoutTrailingBlanks(std::string_view text) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

}  // namespace

int32_t SelectionField(std::string_view field) {
  bool negative = false;
  if (!field.empty() && (field[0] == '-' || field[0] == '+')) {
    negative = field[0] == '-';
    field.remove_prefix(1);
  }
  // Read up to one past the largest 32-bit value, so that the smallest one stays reachable.
  const int64_t value = LeadingDigitsValue(field, kInt32Max + 1);
  if (negative) return static_cast<int32_t>(std::max(-value, kInt32Min));
  return static_cast<int32_t>(std::min(value, kInt32Max));
}

bool IsSingleLineSelection(std::string_view text, SelectionRange& range) {
  std::string_view fields[4];
  if (SplitSelection(text, fields)) {
    range = {SelectionField(fields[0]), SelectionField(fields[1]), SelectionField(fields[2]),
             SelectionField(fields[3])};
  }
  // A selection that ends at the start of a line ends on the line before; the lowest line
  // number has no line before it and stays.
  if (range.EndColumn == 1 && range.EndLine > kInt32Min) --range.EndLine;
  if (range.StartLine == range.EndLine && range.StartColumn == range.EndColumn) return false;
  return range.EndLine == range.StartLine;
}

std::string ReadSelectedText(const std::string& path, const SelectionRange& range) {
  SourceReader reader;
  if (range.StartLine < 1 || !reader.Open(path)) return {};
  std::string line;
  // Counting the lines read up to StartLine, never past it, so the count cannot overflow.
  for (int32_t read = 0; read < range.StartLine; ++read) {
    if (reader.AtEnd()) return {};
    line = reader.ReadRawLine();
  }
  const int64_t count = int64_t{range.EndColumn} - range.StartColumn;
  const int64_t start = std::max<int64_t>(range.StartColumn, 1) - 1;
  if (count <= 0) return {};
  // The IDE counts columns in characters; a line that is no valid UTF-8 is counted in bytes.
  if (IsValidUtf8(line)) {
    const size_t first = CharacterOffset(line, start);
    return line.substr(first, CharacterOffset(line, start + count) - first);
  }
  if (start >= static_cast<int64_t>(line.size())) return {};
  return line.substr(static_cast<size_t>(start), static_cast<size_t>(count));
}

bool MainFileExists(const std::string& path) { return PathExists(path); }

std::string MainFileFromParameter(std::string_view parameter,
                                  std::string_view launch_directory) {
  const std::string_view path = WithoutTrailingBlanks(parameter);
  return path.empty() ? std::string() : AbsolutePath(launch_directory, path);
}

std::string WorkOutStartTerm(std::string_view word, std::string_view selection_text) {
  std::string term(word);
  if (!term.empty()) term += '(';
  const bool constant_wins =
      !selection_text.empty() && selection_text[0] == '#' && selection_text.size() == term.size();
  if (term.empty() || constant_wins) {
    term = selection_text;
    if (term.empty() || term.back() != '(') term += '(';
  }
  return term;
}

StartUpParameters ReadParameters(const std::vector<std::string>& parameters,
                                 std::string_view launch_directory) {
  auto parameter = [&](size_t index) {
    return index < parameters.size() ? std::string_view(parameters[index]) : std::string_view();
  };
  StartUpParameters result;
  const std::string tab = MainFileFromParameter(parameter(0), launch_directory);
  SelectionRange range;
  if (IsSingleLineSelection(parameter(1), range)) {
    result.SelectionText = ReadSelectedText(tab, range);
  }
  if (MainFileExists(tab)) {
    // The IDE names itself to the tools it starts: then parameter 1 is one of its tabs.
    const char* ide = std::getenv("PB_TOOL_IDE");
    const RecordedMain main =
        RecordMainFile(tab, IdeProjectFromEnvironment(), ide != nullptr && *ide != '\0');
    result.MainFile = main.Path;
    result.Origin = main.Origin;
  }
  result.StartTerm = WorkOutStartTerm(parameter(2), result.SelectionText);
  return result;
}
