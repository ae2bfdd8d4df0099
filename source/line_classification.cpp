#include "source/line_classification.h"

#include "source/text_parts.h"

bool IsCommentLine(std::string_view line) {
  return !line.empty() && line.front() == ';';
}

bool IsProcedureHead(std::string_view text) {
  const std::string_view start = text.substr(0, 10);
  return start == "Procedure " || start == "Procedure.";
}

bool IsProcedureEnd(std::string_view text) {
  return text.substr(0, 12) == "EndProcedure";
}

bool IsDeclareLine(std::string_view line) {
  const size_t start = line.find_first_not_of(" \t");
  // Every keyword starts with "Declare": most lines are told by their first character.
  if (start == std::string_view::npos || line[start] != 'D') return false;
  const std::string_view rest = line.substr(start);
  for (const std::string_view keyword : {"Declare", "DeclareC", "DeclareDLL", "DeclareCDLL"}) {
    const char after = rest.size() > keyword.size() ? rest[keyword.size()] : '\0';
    if (rest.substr(0, keyword.size()) == keyword && (after == ' ' || after == '.')) return true;
  }
  return false;
}

std::string ProcLabel(int32_t line_number, std::string_view head) {
  std::string label = PaddedNumber(line_number);
  label += ' ';
  label += head;
  return label;
}

std::string HeadLabel(LabelStyle style, int32_t line_number, std::string_view head) {
  if (style == LabelStyle::Padded) return ProcLabel(line_number, head);
  return std::to_string(line_number) + " " + std::string(head);
}

bool EnclosingProcedure::Track(std::string_view line, int32_t line_number) {
  if (IsProcedureHead(line)) {
    inside_ = true;
    label_ = HeadLabel(style_, line_number, line);
    return true;
  }
  // An end only clears the flag: the label keeps its text but is shown only while inside.
  if (IsProcedureEnd(line)) {
    inside_ = false;
  }
  return false;
}

std::string_view EnclosingProcedure::CurrentLabel() const {
  return inside_ ? std::string_view(label_) : std::string_view();
}

const std::string_view DeclarationKeywords[6] = {"Protected",  "Static",     "Shared",
                                                 "Procedure ", "Procedure.", "Global"};

bool IsDeclarationLine(bool in_procedure, std::string_view line) {
  const auto starts_with = [line](std::string_view prefix) {
    return line.substr(0, prefix.size()) == prefix;
  };
  // Every keyword starts with G, P or S: most lines are told by their first character.
  const char first = line.empty() ? '\0' : line.front();
  if (first != 'G' && (!in_procedure || (first != 'P' && first != 'S'))) return false;
  if (!in_procedure) return starts_with("Global");
  for (const std::string_view keyword : DeclarationKeywords) {
    if (starts_with(keyword)) return true;
  }
  return false;
}
