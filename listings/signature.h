// Procedure signatures as the compiler compares a Declare with its procedure's head:
// return type, and per parameter its kind, pointer star, base type and default value;
// never the parameters' names.
#pragma once

#include <string>
#include <string_view>
#include <vector>

/// One parameter as the compiler sees it.
struct Parameter {
  std::string Kind;     ///< "Array", "List" or "Map"; empty for a plain parameter
  bool Pointer = false;  ///< the name starts with "*"
  std::string Type;     ///< base type, letters folded, without the "."; empty when none is
                        ///< written for a pointer, "i" for another parameter without one
  std::string Default;  ///< default value without blanks (letters outside strings folded)
};

/// The signature of a head or Declare line.
struct Signature {
  std::string ReturnType;  ///< letters folded; "i" when none is written
  std::vector<Parameter> Parameters;
};

/// The signature of `line`, a head or Declare line with its comment cut off.
Signature SignatureOf(std::string_view line);

/// What differs between the signatures of a Declare and of its head, first difference
/// first, joined by ", " ("return type", "parameter 2: .s vs .i", "default of parameter
/// 3"); empty when the compiler takes them as the same.
std::string SignatureDifference(const Signature& declare, const Signature& head);
