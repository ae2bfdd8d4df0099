// String expressions as include statements and constant definitions write them: quoted
// literals and constants (#Name, #Name$) joined by "+".
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

/// One term of a string expression.
struct ExpressionTerm {
  bool IsConstant = false;  ///< true for a constant, false for a quoted literal
  std::string Text;         ///< the constant's name with "#" (and "$"), or the literal's bytes
};

/// True when both terms are of the same kind and text.
bool operator==(const ExpressionTerm& a, const ExpressionTerm& b);

/// The terms of one expression, in the order written.
using ExpressionTerms = std::vector<ExpressionTerm>;

/// The terms of `text` when all of it is one or more terms joined by "+" (blanks and tabs
/// allowed around each term); nothing otherwise.
std::optional<ExpressionTerms> ParseStringExpression(std::string_view text);

/// The value of an include statement as written: `rest` (the text after the keyword) up to
/// its first ";" outside double quotes, blanks and tabs trimmed at both ends.
std::string_view RawIncludeValue(std::string_view rest);

/// The terms of an include value written as an expression: more than one term or a
/// constant. Nothing for a plain quoted literal or a value of another shape.
std::optional<ExpressionTerms> IncludeExpression(std::string_view raw_value);

/// A string constant defined by a line `#Name = EXPR` or `#Name$ = EXPR`.
struct ConstantDefinition {
  std::string Name;        ///< with "#" (and "$")
  ExpressionTerms Value;   ///< the terms of EXPR
};

/// The definition that `line` holds (leading blanks and tabs allowed, an optional ";"
/// comment after EXPR); nothing when the line is no such definition.
std::optional<ConstantDefinition> ConstantDefinitionOf(std::string_view line);
