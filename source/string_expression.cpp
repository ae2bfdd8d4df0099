#include "source/string_expression.h"

namespace {

constexpr size_t kNone = std::string_view::npos;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool IsNameStart(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool IsNameChar(char c) { return IsNameStart(c) || (c >= '0' && c <= '9'); }

size_t SkipBlanks(std::string_view text, size_t at) {
  while (at < text.size() && IsBlank(text[at])) ++at;
  return at;
}

std::string_view TrimBlanks(std::string_view text) {
  const size_t first = SkipBlanks(text, 0);
  size_t end = text.size();
  while (end > first && IsBlank(text[end - 1])) --end;
  return text.substr(first, end - first);
}

// Length of the constant name ("#", a name, an optional "$") at `at`; 0 when none is there.
size_t ConstantLength(std::string_view text, size_t at) {
  if (at + 1 >= text.size() || text[at] != '#' || !IsNameStart(text[at + 1])) return 0;
  size_t end = at + 2;
  while (end < text.size() && IsNameChar(text[end])) ++end;
  if (end < text.size() && text[end] == '$') ++end;
  return end - at;
}

// Appends the term at `at` to `terms`; the position after it, or kNone when none is there.
// A literal has no escapes: it ends at the next double quote.
size_t ReadTerm(std::string_view text, size_t at, ExpressionTerms& terms) {
  if (at < text.size() && text[at] == '"') {
    const size_t close = text.find('"', at + 1);
    if (close == kNone) return kNone;
    terms.push_back({false, std::string(text.substr(at + 1, close - at - 1))});
    return close + 1;
  }
  const size_t length = ConstantLength(text, at);
  if (length == 0) return kNone;
  terms.push_back({true, std::string(text.substr(at, length))});
  return at + length;
}

}  // namespace

bool operator==(const ExpressionTerm& a, const ExpressionTerm& b) {
  return a.IsConstant == b.IsConstant && a.Text == b.Text;
}

std::optional<ExpressionTerms> ParseStringExpression(std::string_view text) {
  ExpressionTerms terms;
  size_t at = SkipBlanks(text, 0);
  while (true) {
    at = ReadTerm(text, at, terms);
    if (at == kNone) return std::nullopt;
    at = SkipBlanks(text, at);
    if (at == text.size()) return terms;
    if (text[at] != '+') return std::nullopt;
    at = SkipBlanks(text, at + 1);
  }
}

std::string_view RawIncludeValue(std::string_view rest) {
  bool quoted = false;
  size_t end = 0;
  for (; end < rest.size() && (quoted || rest[end] != ';'); ++end) {
    if (rest[end] == '"') quoted = !quoted;
  }
  return TrimBlanks(rest.substr(0, end));
}

std::optional<ExpressionTerms> IncludeExpression(std::string_view raw_value) {
  std::optional<ExpressionTerms> terms = ParseStringExpression(raw_value);
  if (!terms || (terms->size() == 1 && !terms->front().IsConstant)) return std::nullopt;
  return terms;
}

std::optional<ConstantDefinition> ConstantDefinitionOf(std::string_view line) {
  const size_t start = SkipBlanks(line, 0);
  const size_t length = ConstantLength(line, start);
  if (length == 0) return std::nullopt;
  const size_t equals = SkipBlanks(line, start + length);
  if (equals == line.size() || line[equals] != '=') return std::nullopt;
  std::optional<ExpressionTerms> value =
      ParseStringExpression(RawIncludeValue(line.substr(equals + 1)));
  if (!value) return std::nullopt;
  return ConstantDefinition{std::string(line.substr(start, length)), std::move(*value)};
}
