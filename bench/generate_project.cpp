// Writes a large deterministic PureBasic-like project for the bench: a main file that
// includes the other files (some through a second level), procedures of every head form
// with bodies that call other procedures now and then, comments, strings and builtins,
// and, as real code has, lines that set variables whose names begin with "Procedure"
// (`ProcedureBrowserSort = 0`): the procedures list lists them, and their call keys are
// no identifiers. With --real-shaped it writes the real-shaped set instead
// (real_shaped_project.h).
//
//   pbst-generate-project [--real-shaped] DIR LINES PROCEDURES FILES [VARIABLES]
//
// The same arguments always give the same bytes.
#include <cstdint>
#include <cstring>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "bench/generator_common.h"
#include "bench/real_shaped_project.h"

namespace {

const char* const kWords[] = {"Load", "Save", "Draw", "Parse", "Count", "Find", "Sort", "Init"};
const char* const kHeads[] = {"Procedure.i ", "Procedure ", "Procedure.s ", "ProcedureC "};

std::string ProcedureName(size_t index) {
  return std::string(kWords[index % 8]) + "Item" + std::to_string(index);
}

std::string Lowercase(std::string text) {
  for (char& c : text) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  return text;
}

/// A line that sets a variable whose name begins with "Procedure", one of a few forms:
/// the text after its first blank gives call keys such as "=0(" or "+1(".
std::string VariableLine(Random& random, size_t index) {
  const std::string name = "Procedure" + std::string(kWords[index % 8]) + std::to_string(index);
  switch (random.Below(6)) {
    case 0: return name + " = 0";
    case 1: return name + " + 1";
    case 2: return name + "$ = \"\"";
    case 3: return name + ".i = #True";
    case 4: return name + " = ListIndex(items())";
    default: return name + " - 1 ; one level up";
  }
}

/// One line of a procedure body.
std::string BodyLine(Random& random, size_t procedures) {
  const std::string callee = ProcedureName(random.Below(procedures));
  switch (random.Below(12)) {
    case 0: return "  x = " + callee + "(a, b) + 1";
    case 1: return "  If a > 10 : b = " + callee + "(a) : EndIf";
    case 2: return "  ; look at " + callee + " again later";
    case 3: return "  s$ = \"text; with a semicolon (\" + Str(a)";
    case 4: return "  Protected total.i = 0";
    case 5: return "  For i = 0 To 10 : total + i : Next";
    case 6: return "  Debug StringField(s$, 2, \",\")";
    case 7: return random.Chance(10) ? "  " + Lowercase(callee) + "(1)"  // other letter case
                                     : "\ty = Abs(x) * Len(s$)";
    case 8: return "  *buffer = AllocateMemory(1024) ; scratch";
    case 9: return "  a = a + b : b = a - b";
    case 10: return "";
    default: return "  result = Val(\"12\") + total";
  }
}

/// Writes one procedure; `variable` is the index of the next "Procedure..." variable line
/// and advances for each one written into the body (at most `variables_left`).
void WriteProcedure(std::ofstream& out, Random& random, size_t index, size_t body_lines,
                    size_t procedures, size_t& variable, size_t variables_left) {
  out << kHeads[random.Below(4)] << ProcedureName(index) << "(a.i, b.i = 2)\n";
  for (size_t line = 0; line < body_lines; ++line) {
    if (line == 1 && variables_left > 0) {
      out << "  " << VariableLine(random, variable++) << '\n';
      --variables_left;
    } else {
      out << BodyLine(random, procedures) << '\n';
    }
  }
  out << "EndProcedure\n\n";
}

void WriteFile(const Shape& shape, size_t file, Random& random) {
  std::ofstream out(shape.dir + "/" + FileName(file), std::ios::binary);
  out << "; " << FileName(file) << ": generated for the bench\n";
  for (const size_t included : Includes(file, shape.files)) {
    out << (included % 2 ? "XIncludeFile \"" : "IncludeFile \"") << FileName(included) << "\"\n";
  }
  const size_t per_file = shape.procedures / shape.files;
  const size_t first = file * per_file;
  const size_t count = file + 1 == shape.files ? shape.procedures - first : per_file;
  // Head, end and blank line around each body.
  const size_t per_procedure = shape.lines / shape.procedures;
  const size_t body_lines = per_procedure > 3 ? per_procedure - 3 : 1;
  // The file's share of the variable lines, one in each of its first procedures.
  size_t variable = shape.variables * file / shape.files;
  const size_t variables_end = shape.variables * (file + 1) / shape.files;
  for (size_t index = first; index < first + count; ++index) {
    WriteProcedure(out, random, index, body_lines, shape.procedures, variable,
                   variables_end - variable);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const bool real_shaped = argc > 1 && std::strcmp(argv[1], "--real-shaped") == 0;
  if (real_shaped) {
    --argc;
    ++argv;
  }
  if (argc != 5 && argc != 6) {
    std::cerr << "usage: pbst-generate-project [--real-shaped] DIR LINES PROCEDURES FILES "
                 "[VARIABLES]\n";
    return 2;
  }
  const Shape shape{argv[1], std::strtoul(argv[2], nullptr, 10),
                    std::strtoul(argv[3], nullptr, 10), std::strtoul(argv[4], nullptr, 10),
                    argc == 6 ? std::strtoul(argv[5], nullptr, 10) : 0};
  if (shape.procedures == 0 || shape.files == 0 || shape.files > shape.procedures) {
    std::cerr << "pbst-generate-project: need 1 <= FILES <= PROCEDURES\n";
    return 2;
  }
  if (real_shaped) {
    WriteRealShapedProject(shape);
    return 0;
  }
  Random random(20261207);
  for (size_t file = 0; file < shape.files; ++file) WriteFile(shape, file, random);
  return 0;
}
