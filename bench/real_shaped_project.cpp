// The real-shaped set. Its proportions are those that bench/measure_shape.awk measures on
// bench/real_shaped_sample.pb: of every 200 body lines 25 are blank, 6 comments, 16
// ProcedureReturn lines (4 of them with a call), 2 long lines with many calls, 18 lines
// that call one procedure, 4 that call two, 4 three, 3 four and 1 five to eight, 32 lines
// that call builtins only and the rest plain statements. Two in five calls go to a few
// hundred shared names (3 in 140 of the procedures). Every tenth file is a module whose
// procedures the other files call as "Mod::Name(", each file starts with a structure of
// "Procedure..." fields, and main code that calls procedures stands between procedures
// and at the end of the main file.
#include "bench/real_shaped_project.h"

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

namespace {

const char* const kVerbs[] = {"Update", "Load", "Save", "Draw", "Parse", "Count",
                              "Find",   "Sort", "Get",  "Set",  "Refresh", "Open"};
const char* const kNouns[] = {"Browser", "Item", "Panel", "Status", "Setting",
                              "File",    "Tree", "Gadget", "Menu", "Toolbar"};
const char* const kHeads[] = {"Procedure.i ", "Procedure ", "Procedure.s ", "ProcedureC "};
const char* const kDeclares[] = {"Declare.i ", "Declare ", "Declare.s ", "DeclareC "};

/// Builtin lines; their builtins are also the last tokens of the "Procedure..." variables'
/// call keys, as in real code, so those keys have many candidate lines.
const char* const kBuiltinLines[] = {
    "  AddGadgetItem(gadget, -1, items() + Chr(10) + Str(Len(items())))",
    "  SetGadgetText(#Gadget_Status, Str(count) + \" items\")",
    "  If ListSize(items()) > 0 And GetGadgetState(gadget) >= 0",
    "  n = Len(s$) + Val(Mid(s$, 2, 3))",
    "  total + Len(items())",
    "  key$ = LCase(Trim(key$))",
    "  StatusBarText(0, 0, text$)",
    "  SortList(items(), #PB_Sort_Ascending | #PB_Sort_NoCase)"};
const char* const kPlainLines[] = {
    "  If gadget > 10", "  EndIf", "  Next", "  Protected i, total.q", "  Select menu",
    "  Case gadget", "  EndSelect", "  ForEach items()", "  Wend", "  a = a + b : b = a - b",
    "  state\\Count + 1", "  Else"};
const char* const kVariableTails[] = {" = 0", " + 1", " = GetGadgetState(gadget)",
                                      " = ListSize(items())", " = Len(s$)", "$ = LCase(key$)"};

/// Where the procedures are and how calls of them are written.
struct Layout {
  const Shape& shape;
  size_t per_file = 1;
  size_t shared = 1;  ///< names that two in five calls go to
};

std::string Name(size_t index) {
  const std::string verb = kVerbs[index % 12];
  const std::string noun = kNouns[(index / 12) % 10];
  return (index % 7 == 3 ? noun + "_" + verb : verb + noun) + std::to_string(index);
}

bool IsModuleFile(size_t file) { return file % 10 == 5; }

size_t FileOf(const Layout& layout, size_t index) {
  return std::min(index / layout.per_file, layout.shape.files - 1);
}

/// A call of procedure `index` from file `file`, with its arguments.
std::string Call(const Layout& layout, size_t index, size_t file, const std::string& arguments) {
  const size_t home = FileOf(layout, index);
  const std::string module = IsModuleFile(home) && home != file ? "Mod" + std::to_string(home) + "::" : "";
  return module + Name(index) + "(" + arguments + ")";
}

size_t Callee(const Layout& layout, Random& random) {
  const size_t procedures = layout.shape.procedures;
  if (random.Chance(40)) return random.Below(layout.shared) * procedures / layout.shared;
  return random.Below(procedures);
}

std::string CallOf(const Layout& layout, Random& random, size_t file) {
  return Call(layout, Callee(layout, random), file, random.Chance(50) ? "gadget" : "i, #True");
}

/// A line that calls `count` procedures, in one of the forms real lines have.
std::string ManyCallsLine(const Layout& layout, Random& random, size_t file, size_t count) {
  std::string line = count > 1 && random.Chance(50) ? "  If " : "  x = ";
  const char* const joint = line[2] == 'I' ? " And " : " + ";
  for (size_t call = 0; call < count; ++call) {
    line += (call ? joint : "") + CallOf(layout, random, file);
  }
  if (count == 1 && random.Chance(10)) {  // another letter case now and then
    for (char& c : line) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  }
  return line;
}

std::string LongLine(const Layout& layout, Random& random, size_t file) {
  std::string line = "  ProcedureReturn \"Item \" + Str(index + 1)";
  const size_t length = 200 + random.Below(250);
  while (line.size() < length) {
    line += random.Chance(50) ? " + \", sorted \" + " + CallOf(layout, random, file)
                              : " + \" of \" + Str(Len(items())) + \" (\" + items() + \")\"";
  }
  return line;
}

std::string BodyLine(const Layout& layout, Random& random, size_t file) {
  const uint64_t kind = random.Below(200);
  if (kind < 25) return "";
  if (kind < 28) return "  ; keep the sort column that " + Name(Callee(layout, random)) + " had";
  if (kind < 31) return "  ; see the manual first";
  if (kind < 43) return "  ProcedureReturn result";
  if (kind < 47) return "  ProcedureReturn " + CallOf(layout, random, file);
  if (kind < 49) return LongLine(layout, random, file);
  if (kind < 67) return ManyCallsLine(layout, random, file, 1);
  if (kind < 71) return ManyCallsLine(layout, random, file, 2);
  if (kind < 75) return ManyCallsLine(layout, random, file, 3);
  if (kind < 78) return ManyCallsLine(layout, random, file, 4);
  if (kind < 79) return ManyCallsLine(layout, random, file, 5 + random.Below(4));
  if (kind < 111) return kBuiltinLines[random.Below(8)];
  return kPlainLines[random.Below(12)];
}

std::string VariableLine(Random& random, size_t variable) {
  return "  Procedure" + std::string(kNouns[variable % 10]) + "Sort" + std::to_string(variable) +
         kVariableTails[random.Below(6)];
}

/// Writes one procedure with `body_lines` lines; the first body line sets a "Procedure..."
/// variable while `variables_left` allows.
void WriteProcedure(std::ofstream& out, const Layout& layout, Random& random, size_t index,
                    size_t body_lines, size_t& variable, size_t& variables_left) {
  const size_t file = FileOf(layout, index);
  out << kHeads[index % 4] << Name(index) << "(gadget, i.i = 0)\n";
  for (size_t line = 0; line < body_lines; ++line) {
    if (line == 1 && variables_left > 0) {
      out << VariableLine(random, variable++) << '\n';
      --variables_left;
    } else {
      out << BodyLine(layout, random, file) << '\n';
    }
  }
  out << "EndProcedure\n\n";
}

/// Main code between procedures: a few lines outside every body that call procedures.
void WriteMainCode(std::ofstream& out, const Layout& layout, Random& random, size_t file,
                   size_t lines) {
  for (size_t line = 0; line < lines; ++line) {
    out << (random.Chance(50) ? "If " + CallOf(layout, random, file) + " : " +
                                    CallOf(layout, random, file) + " : EndIf"
                              : CallOf(layout, random, file))
        << '\n';
  }
}

void WriteStructure(std::ofstream& out, size_t file) {
  out << "Structure BrowserState" << file << "\n"
      << "  ProcedureBrowserScroll" << file << ".l\n"
      << "  ProcedureBrowserSort" << file << ".i\n"
      << "  Title$\n  Count.i\nEndStructure\n\n";
}

void WriteDeclareModule(std::ofstream& out, size_t file, size_t first, size_t count) {
  out << "DeclareModule Mod" << file << "\n";
  for (size_t index = first; index < first + count; ++index) {
    out << "  " << kDeclares[index % 4] << Name(index) << "(gadget, i.i = 0)\n";
  }
  out << "EndDeclareModule\n\nModule Mod" << file << "\n";
}

void WriteFile(const Layout& layout, size_t file, Random& random) {
  const Shape& shape = layout.shape;
  std::ofstream out(shape.dir + "/" + FileName(file), std::ios::binary);
  out << "; " << FileName(file) << ": generated for the bench, real-shaped\n";
  for (const size_t included : Includes(file, shape.files)) {
    out << (included % 2 ? "XIncludeFile \"" : "IncludeFile \"") << FileName(included) << "\"\n";
  }
  WriteStructure(out, file);
  const size_t first = file * layout.per_file;
  const size_t count = file + 1 == shape.files ? shape.procedures - first : layout.per_file;
  if (IsModuleFile(file)) WriteDeclareModule(out, file, first, count);
  const size_t per_procedure = shape.lines / shape.procedures;
  const size_t body_lines = per_procedure > 3 ? per_procedure - 3 : 1;
  size_t variable = shape.variables * file / shape.files;
  size_t variables_left = shape.variables * (file + 1) / shape.files - variable;
  for (size_t index = first; index < first + count; ++index) {
    WriteProcedure(out, layout, random, index, body_lines, variable, variables_left);
    if (random.Chance(3)) WriteMainCode(out, layout, random, file, 2 + random.Below(3));
  }
  if (IsModuleFile(file)) out << "EndModule\n";
  if (file == 0) WriteMainCode(out, layout, random, file, 12);
}

}  // namespace

void WriteRealShapedProject(const Shape& shape) {
  const Layout layout{shape, shape.procedures / shape.files,
                      std::max<size_t>(1, shape.procedures * 3 / 140)};
  Random random(20261208);
  for (size_t file = 0; file < shape.files; ++file) WriteFile(layout, file, random);
}
