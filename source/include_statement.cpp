#include "source/include_statement.h"

#include <algorithm>

namespace {

constexpr std::string_view kIncludePath = "IncludePath";
constexpr std::string_view kIncludeFile = "IncludeFile";
constexpr std::string_view kCompilerHome = "#PB_Compiler_Home";

// Index of `keyword` in the text before the first ":" of `line`; npos when absent.
size_t FindInHead(std::string_view line, std::string_view keyword) {
  const std::string_view head = line.substr(0, line.find(':'));
  return head.find(keyword);
}

void RemoveAll(std::string& text, char unwanted) {
  text.erase(std::remove(text.begin(), text.end(), unwanted), text.end());
}

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
}

std::string_view TrimBlanksAndTabs(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) {
    return {};
  }
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The value after a keyword: quotes removed, cut before the first ";", then blanks and tabs
// trimmed at both ends, so a comment after the name leaves no blank behind.
std::string CleanValue(std::string_view rest) {
  std::string value(rest);
  RemoveAll(value, '"');
  value.resize(std::min(value.find(';'), value.size()));
  return std::string(TrimBlanksAndTabs(value));
}

}  // namespace

std::optional<std::string> IncludePathValue(std::string_view line,
                                            std::string_view compiler_home) {
  const size_t at = FindInHead(line, kIncludePath);
  if (at == std::string_view::npos) {
    return std::nullopt;
  }
  std::string value = CleanValue(line.substr(at + kIncludePath.size()));
  ReplaceAll(value, kCompilerHome, compiler_home);
  RemoveAll(value, '+');
  RemoveAll(value, ' ');
  return value;
}

std::optional<IncludeFileStatement> IncludeFileValue(std::string_view line) {
  const size_t at = FindInHead(line, kIncludeFile);
  if (at == std::string_view::npos) {
    return std::nullopt;
  }
  IncludeFileStatement statement;
  statement.Name = CleanValue(line.substr(at + kIncludeFile.size()));
  statement.Once = at > 0 && line[at - 1] == 'X';
  if (statement.Name.empty()) {
    return std::nullopt;
  }
  const std::string_view raw = RawIncludeValue(line.substr(at + kIncludeFile.size()));
  statement.Expression = IncludeExpression(raw);
  const size_t first = line.find_first_not_of(" \t");
  statement.Written = line.substr(first, static_cast<size_t>(raw.data() + raw.size() - line.data()) - first);
  return statement;
}

std::optional<ExpressionTerms> IncludePathExpression(std::string_view line) {
  const size_t at = FindInHead(line, kIncludePath);
  if (at == std::string_view::npos) {
    return std::nullopt;
  }
  return IncludeExpression(RawIncludeValue(line.substr(at + kIncludePath.size())));
}
