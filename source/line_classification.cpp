#include "source/line_classification.h"

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

std::string ProcLabel(int32_t line_number, std::string_view head) {
  std::string label = std::to_string(line_number);
  if (label.size() < 6) {
    label.insert(0, 6 - label.size(), ' ');
  }
  label += ' ';
  label += head;
  return label;
}

bool EnclosingProcedure::Track(std::string_view line, int32_t line_number) {
  if (IsProcedureHead(line)) {
    inside_ = true;
    label_ = style_ == LabelStyle::Padded
                 ? ProcLabel(line_number, line)
                 : std::to_string(line_number) + " " + std::string(line);
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
