// Signatures. A parameter is read as the compiler writes it: an optional Array, List or
// Map keyword, an optional "*", the name, "$" or ".type", array dimensions or "()", and
// "= default". Names are read past and never kept.
#include "listings/signature.h"

#include "listings/folded_search.h"
#include "source/text_parts.h"

namespace {

std::string_view Trimmed(std::string_view text) {
  const size_t start = text.find_first_not_of(" \t");
  if (start == std::string_view::npos) return {};
  return text.substr(start, text.find_last_not_of(" \t") - start + 1);
}

/// The run of name characters of `text` from `at` on; `at` moves past it.
std::string_view NameAt(std::string_view text, size_t& at) {
  const size_t from = at;
  while (at < text.size() && IsIdentifierChar(text[at])) ++at;
  return text.substr(from, at - from);
}

/// `text` without blanks and tabs, letters outside strings folded.
std::string Unblanked(std::string_view text) {
  std::string result;
  bool in_string = false;
  for (const char c : text) {
    if (c == '"') in_string = !in_string;
    if (in_string) result += c;
    else if (c != ' ' && c != '\t') result += FoldAsciiLetter(c);
  }
  return result;
}

std::string_view KindOf(std::string_view& text) {
  for (const std::string_view kind : {"Array", "List", "Map"}) {
    if (text.size() > kind.size() && FoldedName(text.substr(0, kind.size())) == FoldedName(kind) &&
        (text[kind.size()] == ' ' || text[kind.size()] == '\t')) {
      text = Trimmed(text.substr(kind.size()));
      return kind;
    }
  }
  return {};
}

Parameter ParameterOf(std::string_view text) {
  Parameter parameter;
  parameter.Kind = std::string(KindOf(text));
  size_t at = 0;
  parameter.Pointer = !text.empty() && text[0] == '*';
  at += parameter.Pointer ? 1 : 0;
  NameAt(text, at);
  if (at < text.size() && text[at] == '$') parameter.Type = "s";
  if (at < text.size() && text[at] == '.') parameter.Type = FoldedName(NameAt(text, ++at));
  if (parameter.Type.empty() && !parameter.Pointer) parameter.Type = "i";
  int depth = 0;
  for (; at < text.size(); ++at) {
    depth += text[at] == '(' ? 1 : text[at] == ')' ? -1 : 0;
    if (depth == 0 && text[at] == '=') {
      parameter.Default = Unblanked(text.substr(at + 1));
      break;
    }
  }
  return parameter;
}

/// The texts of the parameters between the first "(" and its ")", split at the commas
/// outside strings and inner parentheses.
std::vector<std::string_view> ParameterTexts(std::string_view line) {
  std::vector<std::string_view> texts;
  const size_t open = line.find('(');
  if (open == std::string_view::npos) return texts;
  int depth = 0;
  bool in_string = false;
  size_t start = open + 1;
  for (size_t at = open; at < line.size(); ++at) {
    const char c = line[at];
    if (c == '"') in_string = !in_string;
    if (in_string) continue;
    depth += c == '(' ? 1 : c == ')' ? -1 : 0;
    if ((c == ',' && depth == 1) || (c == ')' && depth == 0)) {
      texts.push_back(Trimmed(line.substr(start, at - start)));
      start = at + 1;
    }
    if (depth == 0) break;
  }
  if (texts.size() == 1 && texts.front().empty()) texts.clear();  // "()"
  return texts;
}

std::string Numbered(std::string_view what, size_t parameter) {
  return std::string(what) + std::to_string(parameter + 1);
}

/// What differs between two parameters of number `index`; empty when nothing does.
std::string ParameterDifference(const Parameter& declare, const Parameter& head, size_t index) {
  const std::string at = Numbered("parameter ", index) + ": ";
  const auto kind = [](const Parameter& p) { return p.Kind.empty() ? std::string("plain") : p.Kind; };
  const auto star = [](const Parameter& p) { return p.Pointer ? "pointer" : "no pointer"; };
  if (declare.Kind != head.Kind) return at + kind(declare) + " vs " + kind(head);
  if (declare.Pointer != head.Pointer) return at + star(declare) + " vs " + star(head);
  if (!declare.Type.empty() && !head.Type.empty() && declare.Type != head.Type) {
    return at + "." + declare.Type + " vs ." + head.Type;
  }
  if (declare.Default != head.Default) return Numbered("default of parameter ", index);
  return {};
}

}  // namespace

Signature SignatureOf(std::string_view line) {
  Signature signature;
  line = Trimmed(line);
  size_t at = 0;
  NameAt(line, at);  // the keyword
  if (at < line.size() && line[at] == '.') signature.ReturnType = FoldedName(NameAt(line, ++at));
  if (signature.ReturnType.empty()) signature.ReturnType = "i";
  for (const std::string_view text : ParameterTexts(line)) {
    signature.Parameters.push_back(ParameterOf(text));
  }
  return signature;
}

std::string SignatureDifference(const Signature& declare, const Signature& head) {
  std::string differences;
  const auto add = [&](const std::string& difference) {
    if (difference.empty()) return;
    if (!differences.empty()) differences += ", ";
    differences += difference;
  };
  if (declare.ReturnType != head.ReturnType) add("return type");
  const size_t count = declare.Parameters.size();
  if (count != head.Parameters.size()) {
    add("number of parameters: " + std::to_string(count) + " vs " +
        std::to_string(head.Parameters.size()));
    return differences;
  }
  for (size_t index = 0; index < count; ++index) {
    add(ParameterDifference(declare.Parameters[index], head.Parameters[index], index));
  }
  return differences;
}
