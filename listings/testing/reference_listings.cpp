#include "listings/testing/reference_listings.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <optional>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include "listings/address_taken.h"
#include "listings/call_matching.h"
#include "listings/declares.h"
#include "listings/listing_rows.h"
#include "listings/procedures_list.h"
#include "listings/term_matching.h"
#include "listings/term_search.h"
#include "source/include_statement.h"
#include "source/line_classification.h"
#include "source/module_lines.h"
#include "source/path_parts.h"
#include "source/source_reader.h"
#include "source/text_parts.h"

namespace {

/// The module state of one line, names in lower case.
struct ReferenceLineModules {
  std::string Module;
  bool Declaring = false;
  std::vector<std::string> Uses;
};

/// The module state of every line, per file in list order; `Used` when any line holds a
/// module statement (else the rules are not applied at all).
struct ReferenceModules {
  bool Used = false;
  std::vector<std::vector<ReferenceLineModules>> Files;
};

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

bool Contains(const std::vector<std::string>& texts, const std::string& text) {
  return std::find(texts.begin(), texts.end(), text) != texts.end();
}

/// The procedure index's entries of one file, their "callback" left to the caller; the
/// names whose address a line of the file takes go into `addressed`.
void ReferenceHeadsOfFile(const Project& project, size_t file,
                          std::vector<std::pair<std::string, std::string>>& heads,
                          FoldedNames& addressed) {
  SourceReader reader;
  const std::string& path = project.SourceFiles[file].Path;
  if (!reader.Open(path)) return;
  std::string module;
  for (int32_t number = 1; !reader.AtEnd(); ++number) {
    const std::string line = ReadSourceLine(reader);
    const ModuleLine statement = ClassifyModuleLine(line);
    if (statement.Statement == ModuleStatement::Module ||
        statement.Statement == ModuleStatement::DeclareModule) {
      module = std::string(statement.Name);
    }
    if (statement.Statement == ModuleStatement::EndModule ||
        statement.Statement == ModuleStatement::EndDeclareModule) {
      module.clear();
    }
    CollectAddressTaken(line, addressed);
    const std::string_view head = ListedHeadText(line);
    if (head.empty()) continue;
    heads.emplace_back(head, "|" + std::string(FileNamePart(path)) + "|" + std::to_string(number) +
                                 "|" + module + "|" + std::to_string(file) + "|");
  }
}

/// Reads every file again and notes, line by line, the state after the line's statement.
ReferenceModules ReferenceReadModules(const Project& project) {
  ReferenceModules modules;
  SourceReader reader;
  for (const SourceFile& file : project.SourceFiles) {
    modules.Files.emplace_back();
    if (!reader.Open(file.Path)) continue;
    ReferenceLineModules state;
    while (!reader.AtEnd()) {
      const std::string line = ReadSourceLine(reader);
      const ModuleLine statement = ClassifyModuleLine(line);
      const std::string name = Lower(statement.Name);
      if (statement.Statement != ModuleStatement::None) modules.Used = true;
      if (statement.Statement == ModuleStatement::Module) state = {name, false, state.Uses};
      if (statement.Statement == ModuleStatement::DeclareModule) state = {name, true, state.Uses};
      if (statement.Statement == ModuleStatement::EndModule ||
          statement.Statement == ModuleStatement::EndDeclareModule) {
        state = {"", false, state.Uses};
      }
      if (statement.Statement == ModuleStatement::UseModule && !Contains(state.Uses, name)) {
        state.Uses.push_back(name);
      }
      if (statement.Statement == ModuleStatement::UnuseModule && Contains(state.Uses, name)) {
        state.Uses.erase(std::find(state.Uses.begin(), state.Uses.end(), name));
      }
      modules.Files.back().push_back(state);
    }
    reader.Close();
  }
  return modules;
}

/// What a reference pass counts: every call of the name, or the calls of one module's
/// procedure ("" for the procedure without module).
struct ReferenceTarget {
  bool Any = true;
  std::string Module;
};

/// The modules (lower case, "" for none) whose procedure named `name` a call calls;
/// `declaring` for a Declare line in a DeclareModule block, which names its module's.
std::vector<std::string> ReferenceCallees(const Project& project, const std::string& name,
                                          const std::string& before,
                                          const ReferenceLineModules& state, bool declaring) {
  std::vector<std::string> having;
  for (const ProcedureEntry& entry : project.Procedures) {
    const std::string key = CallKeyFromHead(entry.HeadText);
    if (Lower(key.substr(0, key.size() - 1)) == name) having.push_back(Lower(entry.Module));
  }
  static const std::regex qualified("([A-Za-z0-9_]+)[ \t]*::[ \t]*$");
  std::smatch match;
  if (declaring || std::regex_search(before, match, qualified)) {
    const std::string module = declaring ? state.Module : Lower(match[1].str());
    return Contains(having, module) ? std::vector<std::string>{module} : std::vector<std::string>{};
  }
  if (!state.Module.empty() && Contains(having, state.Module)) return {state.Module};
  if (Contains(having, "")) return {""};
  std::vector<std::string> used;
  for (const std::string& module : state.Uses) {
    if (Contains(having, module)) used.push_back(module);
  }
  return used;
}

/// The result of the reference call test on one line: +1, -1 or 0, and whether the call
/// that counted has several callees.
struct ReferenceCall {
  int Found = 0;
  bool Ambiguous = false;
};

/// Every place where the key stands, letter case ignored, after a separator or at the
/// start, is tried in turn; the first one that calls the target counts, and the exact
/// case is looked for from just after the place tried before it.
ReferenceCall ReferenceFindCall(const Project& project, const ReferenceModules& modules,
                                const std::string& line, const std::string& key,
                                const ReferenceTarget& target, const ReferenceLineModules& state,
                                std::string_view raw) {
  if (!modules.Used) return {FindCall(line, key), false};
  const bool declaring = state.Declaring && IsDeclareLine(raw);
  const std::string lower_key = Lower(key);
  size_t search_start = 0;
  for (size_t p = 0; p + key.size() <= line.size() && !key.empty(); ++p) {
    if (Lower(line.substr(p, key.size())) != lower_key) continue;
    const bool separated = p == 0 || CallSeparators.find(line[p - 1]) != std::string_view::npos;
    if (separated) {
      const std::vector<std::string> callees = ReferenceCallees(
          project, lower_key.substr(0, lower_key.size() - 1), line.substr(0, p), state,
          declaring);
      if (target.Any || Contains(callees, target.Module)) {
        return {line.find(key, search_start) == std::string::npos ? -1 : +1, callees.size() > 1};
      }
    }
    search_start = p + 1;
  }
  return {};
}

/// The straightforward procedure-call pass; collects the procedures called above their
/// head into `candidates`. Returns true when the user stopped the run.
bool ReferenceListEveryProcedure(const Project& project, ResultList& list, ListingHost& host,
                                 DeclareCandidates& candidates) {
  const StopEnabled stop(host);
  // The inside flag lives for the whole run: a file that ends inside a procedure body
  // leaves it set for the next file and for the next procedure.
  EnclosingProcedure enclosing(LabelStyle::Bare);
  const ReferenceModules modules = ReferenceReadModules(project);
  SourceReader reader;
  for (const ProcedureEntry& entry : project.Procedures) {
    ProcedureTally tally;
    const int32_t procedure_row = AddProcedureRow(list, entry);
    const std::string key = CallKeyFromHead(entry.HeadText);
    const ReferenceTarget target{false, Lower(entry.Module)};
    for (size_t file = 0; file < project.SourceFiles.size(); ++file) {
      enclosing.StartFile();
      if (!reader.Open(project.SourceFiles[file].Path)) continue;
      const RowFile file_name{FileNamePart(project.SourceFiles[file].Path), static_cast<uint32_t>(file)};
      for (int32_t line_number = 1; !reader.AtEnd();
           line_number = NextLineNumber(line_number)) {
        const std::string read = ReadSourceLine(reader);
        const std::string line = NormalizeCallLine(read, key);
        if (!IsCommentLine(line) && !enclosing.Track(line, line_number)) {
          const ReferenceCall call = ReferenceFindCall(
              project, modules, line, key, target,
              modules.Used ? modules.Files[file][line_number - 1] : ReferenceLineModules(), read);
          const int found = call.Found;
          const bool declare = IsDeclareLine(read);
          if (found != 0) {
            AddCallRow(list, line_number, line, found, enclosing.CurrentLabel(), file_name,
                       (declare ? RowMarks(RowMark::DeclareLine) : RowMarks()) |
                           AmbiguityMark(call.Ambiguous));
          }
          // A Declare line is listed, but it neither counts nor asks for a Declare.
          tally.Calls += found != 0 && !declare;
          tally.CalledAboveHead |= found != 0 && !declare && line_number < entry.LineNumber;
          tally.Declared |= found != 0 && declare;
        }
        // The stopped procedure keeps no count, marks or closing row.
        if (host.PollStop()) return true;
      }
      reader.Close();
    }
    FinishProcedure(list, procedure_row, tally);
    if (tally.CalledAboveHead && !tally.Declared) candidates.push_back({entry.HeadText, entry.FileName});
  }
  return false;
}

}  // namespace

ListingResult ReferenceListAllProcedureCalls(Project& project, ResultList& list,
                                             ListingHost& host) {
  project.Candidates.clear();
  ListingResult result;
  if (ReferenceListEveryProcedure(project, list, host, project.Candidates)) {
    result.End = ListingEnd::Stopped;
  }
  result.DeclareText = DeclaresText(project.Candidates);
  return result;
}

int32_t ReferenceListProcedureCalls(const Project& project, ResultList& list,
                                    ListingHost& host, std::string_view name,
                                    bool without_module) {
  const StopEnabled stop(host);
  const ReferenceModules modules = ReferenceReadModules(project);
  std::string key = CallKeyFromName(name);
  ReferenceTarget target;
  const size_t colons = std::string(name).substr(0, std::string(name).find('(')).find("::");
  if (modules.Used && colons != std::string::npos) {
    std::string module(name.substr(0, colons));
    module.erase(std::remove(module.begin(), module.end(), ' '), module.end());
    target = {false, Lower(module)};
    key = CallKeyFromName(name.substr(colons + 2));
  } else if (modules.Used && without_module) {
    target = {false, ""};
  }
  EnclosingProcedure enclosing(LabelStyle::Padded);
  FileBands bands(true);
  SourceReader reader;
  for (size_t file = 0; file < project.SourceFiles.size(); ++file) {
    enclosing.StartFile();
    if (!reader.Open(project.SourceFiles[file].Path)) continue;
    const RowFile file_name{FileNamePart(project.SourceFiles[file].Path), static_cast<uint32_t>(file)};
    for (int32_t line_number = 1; !reader.AtEnd(); line_number = NextLineNumber(line_number)) {
      const std::string raw = ReadSourceLine(reader);
      const std::string line = NormalizeCallLine(raw, key);
      if (!IsCommentLine(line) && !enclosing.Track(line, line_number)) {
        const ReferenceCall call = ReferenceFindCall(
            project, modules, line, key, target,
            modules.Used ? modules.Files[file][line_number - 1] : ReferenceLineModules(), raw);
        const int found = call.Found;
        if (found != 0) {
          const RowMarks band = bands.RowOf(list, file) | AmbiguityMark(call.Ambiguous);
          AddCallRow(list, line_number, line, found, enclosing.CurrentLabel(), file_name, band);
        }
      }
      if (host.PollStop()) return 0;
    }
    reader.Close();
  }
  return list.RowCount();
}

namespace {

/// The row text of a line: leading tabs, then blanks, then tabs removed, in that order.
std::string_view TrimRowText(std::string_view line) {
  return WithoutLeading(WithoutLeading(WithoutLeading(line, '\t'), ' '), '\t');
}

}  // namespace

void ReferenceListTermMatches(const Project& project, ResultList& list, ListingHost& host,
                              std::string_view term) {
  const StopEnabled stop(host);
  EnclosingProcedure enclosing(LabelStyle::Padded);
  FileBands bands(true);
  SourceReader reader;
  for (size_t file = 0; file < project.SourceFiles.size(); ++file) {
    enclosing.StartFile();
    if (!reader.Open(project.SourceFiles[file].Path)) continue;
    const RowFile file_name{FileNamePart(project.SourceFiles[file].Path), static_cast<uint32_t>(file)};
    for (int32_t line_number = 1; !reader.AtEnd(); line_number = NextLineNumber(line_number)) {
      // The raw line, since the row keeps a blank that follows a leading tab.
      const std::string raw = reader.ReadRawLine();
      const std::string_view line = TrimRowText(raw);
      if (!IsCommentLine(line)) {
        enclosing.Track(line, line_number);
        const TermMatch match = MatchTerm(line, term);
        if (match.Result != 0) {
          const RowMarks band = bands.RowOf(list, file);
          AddMatchRow(list, line_number, line, match, enclosing.Inside(), enclosing.CurrentLabel(),
                      file_name, band);
        }
      }
      if (host.PollStop()) return;
    }
    reader.Close();
  }
}

namespace {

using Texts = std::vector<std::string>;
/// A term as (is a constant, text).
using Term = std::pair<bool, std::string>;
using Terms = std::vector<Term>;
/// Every definition in order: constant name, terms.
using Definitions = std::vector<std::pair<std::string, Terms>>;

bool IsNameByte(char c, bool first) {
  return std::isalpha(static_cast<unsigned char>(c)) || c == '_' ||
         (!first && std::isdigit(static_cast<unsigned char>(c)));
}

/// `text` as terms joined by "+", read character by character; nothing for any other text.
std::optional<Terms> ReferenceTerms(std::string_view text) {
  Terms terms;
  size_t at = 0;
  const auto skip_blanks = [&] { while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at; };
  while (true) {
    skip_blanks();
    if (at < text.size() && text[at] == '"') {
      const size_t close = text.find('"', at + 1);
      if (close == std::string_view::npos) return std::nullopt;
      terms.emplace_back(false, std::string(text.substr(at + 1, close - at - 1)));
      at = close + 1;
    } else if (at + 1 < text.size() && text[at] == '#' && IsNameByte(text[at + 1], true)) {
      size_t end = at + 2;
      while (end < text.size() && IsNameByte(text[end], false)) ++end;
      if (end < text.size() && text[end] == '$') ++end;
      terms.emplace_back(true, std::string(text.substr(at, end - at)));
      at = end;
    } else {
      return std::nullopt;
    }
    skip_blanks();
    if (at == text.size()) return terms;
    if (text[at] != '+') return std::nullopt;
    ++at;
  }
}

/// The text after a keyword up to its first ";" outside quotes, blanks and tabs trimmed.
std::string_view ReferenceRawValue(std::string_view rest) {
  bool quoted = false;
  size_t end = 0;
  while (end < rest.size() && (quoted || rest[end] != ';')) quoted ^= rest[end++] == '"';
  rest = rest.substr(0, end);
  while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t')) rest.remove_prefix(1);
  while (!rest.empty() && (rest.back() == ' ' || rest.back() == '\t')) rest.remove_suffix(1);
  return rest;
}

/// The value of `keyword` in the head of `line` as terms, when it is an expression.
std::optional<Terms> ReferenceExpression(std::string_view line, std::string_view keyword) {
  const size_t at = line.substr(0, line.find(':')).find(keyword);
  if (at == std::string_view::npos) return std::nullopt;
  std::optional<Terms> terms = ReferenceTerms(ReferenceRawValue(line.substr(at + keyword.size())));
  if (!terms || (terms->size() == 1 && !terms->front().first)) return std::nullopt;
  return terms;
}

/// An include statement from its first non-blank to the end of its value.
std::string ReferenceWritten(std::string_view line) {
  const size_t at = line.substr(0, line.find(':')).find("IncludeFile");
  const std::string_view raw = ReferenceRawValue(line.substr(at + 11));
  const size_t first = line.find_first_not_of(" \t");
  return std::string(line.substr(first, static_cast<size_t>(raw.data() + raw.size() - line.data()) - first));
}

std::optional<std::string> ReferenceBuiltIn(const std::string& name, const std::string& file) {
  const std::map<std::string, std::string> built_ins = {
      {"#PB_Compiler_Home", DefaultCompilerHome()},
      {"#PB_Compiler_FilePath", std::string(DirectoryPart(file))},
      {"#PB_Compiler_File", file},
      {"#PS", "/"}, {"#PS$", "/"}, {"#NPS", "\\"}, {"#NPS$", "\\"}};
  const auto found = built_ins.find(name);
  if (found == built_ins.end()) return std::nullopt;
  return found->second;
}

/// Every value of `terms`, each constant expanded through every definition that does not
/// use a constant on `path`; nothing when a constant is unknown.
std::optional<Texts> ReferenceValues(const Terms& terms, const Definitions& definitions,
                                     const std::string& file, const Texts& path) {
  Texts values{""};
  for (const auto& [constant, text] : terms) {
    Texts options;
    if (!constant) {
      options.push_back(text);
    } else if (const auto built_in = ReferenceBuiltIn(text, file)) {
      options.push_back(*built_in);
    } else {
      bool known = false;
      for (const auto& [name, value] : definitions) {
        if (name != text) continue;
        known = true;
        if (std::find(path.begin(), path.end(), name) != path.end()) continue;
        Texts deeper = path;
        deeper.push_back(name);
        const auto expanded = ReferenceValues(value, definitions, file, deeper);
        if (expanded) options.insert(options.end(), expanded->begin(), expanded->end());
      }
      if (!known) return std::nullopt;
    }
    Texts combined;
    for (const std::string& value : values) {
      for (const std::string& option : options) combined.push_back(value + option);
    }
    values = std::move(combined);
  }
  return values;
}

bool ReferenceHasKind(const std::string& path, mode_t kind) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && (info.st_mode & S_IFMT) == kind;
}

/// The entries of `folder` in byte order, read afresh.
Texts ReferenceEntries(const std::string& folder) {
  Texts names;
  if (DIR* directory = ::opendir(folder.empty() ? "." : folder.c_str())) {
    while (const dirent* entry = ::readdir(directory)) {
      const std::string name = entry->d_name;
      if (name != "." && name != "..") names.push_back(name);
    }
    ::closedir(directory);
  }
  std::sort(names.begin(), names.end());
  return names;
}

/// A path written for Windows as found on disk: as written, else with "/" for "\", else
/// with each missing component replaced by the first entry of its folder that is equal to
/// it in lower case; nothing when it names no `kind` so.
std::optional<std::string> ReferenceOnDisk(const std::string& path, mode_t kind) {
  if (ReferenceHasKind(path, kind)) return path;
  std::string forward = path;
  std::replace(forward.begin(), forward.end(), '\\', '/');
  if (ReferenceHasKind(forward, kind)) return forward;
  std::string found;
  size_t start = 0;
  for (size_t end = 0; end != std::string::npos; start = end + 1) {
    end = forward.find('/', start);
    const std::string part = forward.substr(start, end == std::string::npos ? end : end - start);
    struct stat info {};
    const bool kept = part.empty() || part == "." || part == ".." || ::stat((found + part).c_str(), &info) == 0;
    std::optional<std::string> match = kept ? std::optional(part) : std::nullopt;
    for (const std::string& name : kept ? Texts() : ReferenceEntries(found)) {
      if (!match && Lower(name) == Lower(part)) match = name;
    }
    if (!match) return std::nullopt;
    found += *match + (end == std::string::npos ? "" : "/");
  }
  return ReferenceHasKind(found, kind) ? std::optional(found) : std::nullopt;
}

/// `name`, a folder from the main folder, as written when it is one, else as found on disk.
std::optional<std::string> ReferenceFolder(const std::string& name, const std::string& from_main) {
  const std::optional<std::string> found = ReferenceOnDisk(from_main, S_IFDIR);
  return found && *found == from_main ? std::optional(name) : found;
}

std::string ReferenceIdentity(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return "path:" + path;
  return "inode:" + std::to_string(info.st_dev) + ":" + std::to_string(info.st_ino);
}

/// One scan with `definitions`: breadth first, a file on its own include chain is left
/// out, an XIncludeFile of a listed file too.
SourceFileList ReferenceScanOnce(const std::string& main_path, const Definitions& definitions) {
  const std::string main_folder(DirectoryPart(main_path));
  const auto from_main = [&](const std::string& path) {
    return !path.empty() && path.front() == '/' ? path : main_folder + path;
  };
  SourceFileList files{{main_path, "", 0, ""}};
  std::vector<size_t> parents{0};
  std::string include_path;
  const auto resolve = [&](const std::string& name, const std::string& including) {
    if (name.find('/') != std::string::npos) return from_main(name);
    if (include_path.empty()) return from_main(std::string(DirectoryPart(including)) + name);
    return from_main(include_path + "/" + name);
  };
  // The first of the first 64 values of an expression that `exists`, or nothing.
  const auto first_existing = [&](const Terms& terms, const std::string& file, auto exists) {
    const std::optional<Texts> values = ReferenceValues(terms, definitions, file, {});
    std::optional<std::string> found;
    for (size_t v = 0; values && v < values->size() && v < 64 && !found; ++v) {
      found = exists((*values)[v]);
    }
    return found;
  };
  SourceReader reader;
  for (size_t cursor = 0; cursor < files.size() && files.size() < MaxSourceFiles; ++cursor) {
    const std::string including = files[cursor].Path;
    if (!reader.Open(including)) continue;
    for (int32_t line_number = 1; !reader.AtEnd() && files.size() < MaxSourceFiles; ++line_number) {
      const std::string line = ReadSourceLine(reader);
      if (IsCommentLine(line)) continue;
      if (const auto directory = IncludePathValue(line, DefaultCompilerHome())) {
        include_path = *directory;
        if (const auto terms = ReferenceExpression(line, "IncludePath")) {
          const auto evaluated = first_existing(*terms, including, [&](const std::string& name) {
            return ReferenceFolder(name, from_main(name));
          });
          if (evaluated) include_path = *evaluated;
        } else if (!directory->empty()) {
          include_path = ReferenceFolder(*directory, from_main(*directory)).value_or(*directory);
        }
      }
      const auto statement = IncludeFileValue(line);
      if (!statement) continue;
      SourceFile file{resolve(statement->Name, including), std::string(FileNamePart(including)),
                      line_number, ""};
      if (const auto terms = ReferenceExpression(line, "IncludeFile")) {
        const auto evaluated = first_existing(*terms, including, [&](const std::string& name) {
          return ReferenceOnDisk(resolve(name, including), S_IFREG);
        });
        if (evaluated) {
          file.Path = *evaluated;
        } else {
          file.Unresolved = ReferenceWritten(line);
        }
      } else {
        file.Path = ReferenceOnDisk(file.Path, S_IFREG).value_or(file.Path);
      }
      const std::string identity = ReferenceIdentity(file.Path);
      bool skip = false;
      for (size_t up = cursor;; up = parents[up]) {
        skip = skip || ReferenceIdentity(files[up].Path) == identity;
        if (up == 0) break;
      }
      for (size_t listed = 0; statement->Once && listed < files.size(); ++listed) {
        skip = skip || ReferenceIdentity(files[listed].Path) == identity;
      }
      if (skip) continue;
      files.push_back(std::move(file));
      parents.push_back(cursor);
    }
    reader.Close();
  }
  return files;
}

/// The definitions of every readable file of `files`, in list order, then line order,
/// repeated ones and those of built-in constants left out.
Definitions ReferenceDefinitions(const SourceFileList& files) {
  Definitions definitions;
  SourceReader reader;
  for (const SourceFile& file : files) {
    if (!reader.Open(file.Path)) continue;
    while (!reader.AtEnd()) {
      const std::string line = ReadSourceLine(reader);
      const size_t start = line.find_first_not_of(" \t");
      const size_t equals = line.find('=');
      if (start == std::string::npos || line[start] != '#' || equals == std::string::npos) continue;
      std::string name = line.substr(start, equals - start);
      name.erase(name.find_last_not_of(" \t") + 1);
      const auto name_terms = ReferenceTerms(name);
      const auto value = ReferenceTerms(ReferenceRawValue(line.substr(equals + 1)));
      if (!name_terms || name_terms->size() != 1 || !value ||
          ReferenceBuiltIn(name, "")) {
        continue;
      }
      const std::pair<std::string, Terms> definition{name, *value};
      if (std::find(definitions.begin(), definitions.end(), definition) == definitions.end()) {
        definitions.push_back(definition);
      }
    }
    reader.Close();
  }
  return definitions;
}

bool SameFileList(const SourceFileList& a, const SourceFileList& b) {
  if (a.size() != b.size()) return false;
  for (size_t f = 0; f < a.size(); ++f) {
    if (a[f].Path != b[f].Path || a[f].IncludedBy != b[f].IncludedBy ||
        a[f].IncludeLine != b[f].IncludeLine) {
      return false;
    }
  }
  return true;
}

}  // namespace

SourceFileList ReferenceScanIncludes(const std::string& main_path) {
  SourceFileList files = ReferenceScanOnce(main_path, {});
  for (int scan = 2; scan <= MaxIncludeScans; ++scan) {
    SourceFileList next = ReferenceScanOnce(main_path, ReferenceDefinitions(files));
    const bool settled = SameFileList(files, next);
    files = std::move(next);
    if (settled) break;
  }
  return files;
}

namespace {

/// `line` without leading blanks and tabs, its string literals emptied and its comment cut.
std::string CheckText(std::string_view line) {
  static const std::regex literal("\"[^\"]*(\"|$)");
  std::string text = std::regex_replace(std::string(line), literal, "\"\"");
  text = text.substr(0, text.find(';'));
  return text.substr(std::min(text.find_first_not_of(" \t"), text.size()));
}

/// The end keyword of the block that `text` opens; empty for none.
std::string BlockEnd(const std::string& text) {
  static const std::regex opener("^(Macro|Structure|Interface|Import)C?\\b");
  std::smatch match;
  if (!std::regex_search(text, match, opener)) {
    return "";
  }
  if (match[1] != "Import" && match.length(0) != match.length(1)) return "";
  return "End" + std::string(match[1]);
}

/// True when a statement after a ":" is the word `end`.
bool EndsAfterColon(const std::string& text, const std::string& end) {
  static const std::regex statement(":[ \t]*(End\\w*)");
  for (auto match = std::sregex_iterator(text.begin(), text.end(), statement);
       match != std::sregex_iterator(); ++match) {
    if ((*match)[1] == end) return true;
  }
  return false;
}

/// True when `text` starts with the word `end`.
bool StartsWithEnd(const std::string& text, const std::string& end) {
  static const std::regex statement("^(End\\w*)");
  std::smatch match;
  return std::regex_search(text, match, statement) && match[1] == end;
}

}  // namespace

std::vector<std::vector<ReferenceCheckLine>> ReferenceCheckLines(const Project& project) {
  const std::regex head("^Procedure(C|DLL|CDLL)?(\\.\\w+)?[ \t]+\\w+[ \t]*\\(");
  const std::regex prototype("^PrototypeC?\\b");
  std::vector<std::vector<ReferenceCheckLine>> files;
  SourceReader reader;
  for (const SourceFile& file : project.SourceFiles) {
    std::vector<ReferenceCheckLine>& lines = files.emplace_back();
    if (!reader.Open(file.Path)) continue;
    std::string block_end;
    int32_t body = 0;
    while (!reader.AtEnd()) {
      const std::string text = CheckText(ReadSourceLine(reader));
      ReferenceCheckLine& line = lines.emplace_back();
      const int32_t number = static_cast<int32_t>(lines.size());
      line.BodyHead = body;
      if (!block_end.empty()) {
        const bool ends = StartsWithEnd(text, block_end);
        line.NoCall = ends || block_end != "EndMacro";
        line.InMacro = !line.NoCall;
        if (ends) block_end.clear();
      } else if (std::regex_search(text, prototype)) {
        line.NoCall = true;
      } else if (!BlockEnd(text).empty()) {
        line.NoCall = true;
        if (!EndsAfterColon(text, BlockEnd(text))) block_end = BlockEnd(text);
      } else if (std::regex_search(text, head)) {
        line.Head = true;
        line.BodyHead = 0;
        body = EndsAfterColon(text, "EndProcedure") ? 0 : number;
      } else if (body != 0 && StartsWithEnd(text, "EndProcedure")) {
        line.BodyHead = body = 0;
      } else if (EndsAfterColon(text, "EndProcedure")) {
        body = 0;
      }
    }
    reader.Close();
  }
  return files;
}

std::vector<std::string> ReferenceProcedureIndex(const Project& project) {
  std::vector<std::pair<std::string, std::string>> heads;
  FoldedNames addressed;
  for (size_t file = 0; file < project.SourceFiles.size(); ++file) {
    ReferenceHeadsOfFile(project, file, heads, addressed);
  }
  std::vector<std::string> entries;
  for (const auto& [head, rest] : heads) {
    entries.push_back(head + rest + (addressed.count(FoldedProcedureName(head)) > 0 ? "callback" : ""));
  }
  return entries;
}
