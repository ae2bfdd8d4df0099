// The report tool's subcommands, all in one table: each takes up the main file as "Open"
// does and then prints one listing.
#include "report/report_command.h"

#include <sys/stat.h>

#include <algorithm>

#include "listings/all_procedure_calls.h"
#include "listings/declare_check.h"
#include "listings/declares.h"
#include "listings/call_graph.h"
#include "listings/call_tree.h"
#include "listings/callees.h"
#include "listings/display_text.h"
#include "listings/list_history.h"
#include "listings/lookup.h"
#include "listings/procedure_calls.h"
#include "listings/project.h"
#include "listings/project_text.h"
#include "listings/take_up.h"
#include "listings/term_search.h"
#include "listings/unused.h"
#include "report/report_host.h"
#include "source/path_parts.h"
#include "source/recorded_main_file.h"
#include "report/report_output.h"
#include "report/tree_output.h"

namespace {

constexpr std::string_view Usage =
    "usage: pb-sourcetrek-report [--json] [--find-main] LISTING MAINFILE [TEXT], LISTING one "
    "of files, procedures, calls NAME, all-calls, declares, terms TERM, lookup TEXT, unused, "
    "declare-check [--fix], callees NAME; pb-sourcetrek-report [--json|--dot] [--find-main] "
    "tree MAINFILE NAME [--callers] [--depth N]";

/// The state of one run: the taken-up project, its lists and how to print them.
struct ReportSession {
  Project project;
  ListHistory history;
  ReportHost host;
  const ReportRequest& request;
  std::ostream& out;
};

void Print(ReportSession& session, const ResultList& list) {
  if (session.request.Json) {
    WriteListJson(list, session.out);
  } else {
    WriteListTable(list, session.out);
  }
}

/// Opens a list of `kind` about `subject`, has `fill` write its rows and prints it.
template <typename Fill>
void PrintNewList(ReportSession& session, ListKind kind, std::string_view subject, Fill fill) {
  ResultList& list = session.history.OpenResultList(kind, subject);
  fill(list);
  Print(session, list);
}

void RunFiles(ReportSession& session, std::string_view) {
  // Read as every listing reads them, so "not read" is what the listings met.
  ProjectText text;
  text.Load(session.project.SourceFiles, session.host);
  if (session.request.Json) {
    WriteFilesJson(session.project.SourceFiles, text.Files(), session.out);
  } else {
    WriteFilesTable(session.project.SourceFiles, text.Files(), session.out);
  }
}

void RunProcedures(ReportSession& session, std::string_view) {
  Print(session, session.history.At(0));
}

void RunCalls(ReportSession& session, std::string_view name) {
  // A name that is not empty always gives a procedure.
  const std::string procedure =
      ProcedureToList(session.project, nullptr, name).value_or(ProcedureChoice()).Name;
  PrintNewList(session, ListKind::ProcedureCalls, procedure, [&](ResultList& list) {
    ListProcedureCalls(session.project, list, session.host, procedure);
  });
}

void RunAllCalls(ReportSession& session, std::string_view) {
  PrintNewList(session, ListKind::AllProcedureCalls, "All Procedure-Calls...",
               [&](ResultList& list) {
                 ListAllProcedureCalls(session.project, list, session.host);
               });
}

void RunDeclares(ReportSession& session, std::string_view) {
  ResultList& list =
      session.history.OpenResultList(ListKind::AllProcedureCalls, "All Procedure-Calls...");
  ListAllProcedureCalls(session.project, list, session.host);
  // As the clipboard receives it: CR LF kept, converted as one text.
  session.out << ToDisplayText(session.host.Clipboard());
}

void RunTerms(ReportSession& session, std::string_view term) {
  PrintNewList(session, ListKind::Terms, term, [&](ResultList& list) {
    ListTermMatches(session.project, list, session.host, term);
  });
}

// An empty text looks up nothing: the list on show stays the "Procedures" list.
void RunLookup(ReportSession& session, std::string_view text) {
  const std::optional<ProcedureChoice> procedure = ProcedureToList(session.project, nullptr, text);
  if (!procedure) {
    Print(session, *session.history.Current());
    return;
  }
  PrintNewList(session, ListKind::ProcedureCalls, procedure->Name, [&](ResultList& list) {
    LookUpProcedureOrTerm(session.project, list, session.host, text);
  });
}

void RunUnused(ReportSession& session, std::string_view) {
  PrintNewList(session, ListKind::Unused, "Unused", [&](ResultList& list) {
    ListUnused(session.project, list, session.host);
  });
}

// With --fix, the Declare lines to add instead of the list, as the declares listing
// writes them (CR LF kept).
void RunDeclareCheck(ReportSession& session, std::string_view) {
  DeclareCandidates missing;
  ResultList& list = session.history.OpenResultList(ListKind::DeclareCheck, "Declare check");
  ListDeclareCheck(session.project, list, session.host, missing);
  if (session.request.OptionGiven) {
    session.out << ToDisplayText(DeclaresText(missing));
  } else {
    Print(session, list);
  }
}

// A name that is not empty always gives a procedure.
void RunCallees(ReportSession& session, std::string_view name) {
  const ProcedureChoice procedure =
      ProcedureToList(session.project, nullptr, name).value_or(ProcedureChoice());
  PrintNewList(session, ListKind::Callees, procedure.Name, [&](ResultList& list) {
    ListCallees(session.project, list, session.host, procedure.Name, procedure.WithoutModule);
  });
}

TreeDirection DirectionOf(const ReportRequest& request) {
  return request.Callers ? TreeDirection::Callers : TreeDirection::Callees;
}

/// The trees of every head of the procedure `name`, one after the other.
std::vector<TreeNode> TreesOf(const Project& project, const CallGraph& graph,
                              std::string_view name, const ReportRequest& request) {
  const ProcedureChoice procedure =
      ProcedureToList(project, nullptr, name).value_or(ProcedureChoice());
  std::vector<TreeNode> nodes;
  for (const int32_t head :
       HeadsNamed(project.Procedures, procedure.Name, procedure.WithoutModule)) {
    const std::vector<TreeNode> tree =
        BuildCallTree(graph, head, DirectionOf(request), request.Depth);
    nodes.insert(nodes.end(), tree.begin(), tree.end());
  }
  return nodes;
}

void RunTree(ReportSession& session, std::string_view name) {
  ProjectText text;
  CallGraph graph;
  text.Load(session.project.SourceFiles, session.host);
  graph.Build(text, session.project.Procedures, session.host);
  const std::vector<TreeNode> nodes = TreesOf(session.project, graph, name, session.request);
  const ProcedureIndex& procedures = session.project.Procedures;
  if (session.request.Dot) {
    WriteTreeDot(nodes, DirectionOf(session.request), procedures, text, session.out);
  } else if (session.request.Json) {
    WriteTreeJson(nodes, procedures, text, session.out);
  } else {
    WriteTreeText(nodes, procedures, text, session.out);
  }
}

/// Whether a listing takes a text argument after MAINFILE.
enum class TextArgument { None, Any, NotEmpty };

struct Subcommand {
  std::string_view Name;
  TextArgument Text;
  std::string_view OwnOption;  ///< an option of its own that may follow the listing; "" for none
  void (*Run)(ReportSession& session, std::string_view text);
  bool TreeOptions = false;  ///< takes --dot before it and --callers, --depth N after it
};

constexpr Subcommand Subcommands[] = {
    {"files", TextArgument::None, "", RunFiles},
    {"procedures", TextArgument::None, "", RunProcedures},
    {"calls", TextArgument::NotEmpty, "", RunCalls},
    {"all-calls", TextArgument::None, "", RunAllCalls},
    {"declares", TextArgument::None, "", RunDeclares},
    {"terms", TextArgument::Any, "", RunTerms},
    {"lookup", TextArgument::Any, "", RunLookup},
    {"unused", TextArgument::None, "", RunUnused},
    {"declare-check", TextArgument::None, "--fix", RunDeclareCheck},
    {"callees", TextArgument::NotEmpty, "", RunCallees},
    {"tree", TextArgument::NotEmpty, "", RunTree, true},
};

const Subcommand* FindSubcommand(std::string_view name) {
  for (const Subcommand& subcommand : Subcommands) {
    if (subcommand.Name == name) return &subcommand;
  }
  return nullptr;
}

/// The options that may stand, in any order, before LISTING.
struct Option {
  std::string_view Name;
  bool ReportRequest::*Flag;
};

constexpr Option Options[] = {
    {"--json", &ReportRequest::Json},
    {"--find-main", &ReportRequest::FindMain},
    {"--dot", &ReportRequest::Dot},
};

const Option* FindOption(std::string_view name) {
  for (const Option& option : Options) {
    if (option.Name == name) return &option;
  }
  return nullptr;
}

// Removes `option` from `words` after the listing's name; true when it stood there.
bool TakeOption(std::vector<std::string>& words, std::string_view option) {
  if (option.empty()) return false;
  const auto found = std::find(words.begin() + 1, words.end(), option);
  if (found == words.end()) return false;
  words.erase(found);
  return true;
}

bool IsRegularFile(const std::string& path) {
  struct stat status {};
  return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

}  // namespace

namespace {

/// Reads the options after a tree's NAME into `request`; false with `error` for any other
/// argument or a depth that is no number from 1 to `MaxTreeDepth`.
bool ParseTreeOptions(const std::vector<std::string>& options, ReportRequest& request,
                      std::string& error) {
  for (size_t next = 0; next < options.size(); ++next) {
    if (options[next] == "--callers") {
      request.Callers = true;
      continue;
    }
    const bool depth = options[next] == "--depth" && next + 1 < options.size();
    const std::string& value = depth ? options[++next] : options[next];
    if (!depth || value.empty() || value.size() > 2 ||
        value.find_first_not_of("0123456789") != std::string::npos ||
        std::stoi(value) < 1 || std::stoi(value) > MaxTreeDepth) {
      error = "tree takes --callers and --depth N (N from 1 to " + std::to_string(MaxTreeDepth) +
              "), not " + value + "; " + std::string(Usage);
      return false;
    }
    request.Depth = std::stoi(value);
  }
  return true;
}

}  // namespace

std::optional<ReportRequest> ParseReportArguments(const std::vector<std::string>& arguments,
                                                  std::string& error) {
  ReportRequest request;
  size_t next = 0;
  for (const Option* option; next < arguments.size() && (option = FindOption(arguments[next])); ++next) {
    request.*(option->Flag) = true;
  }
  std::vector<std::string> words(arguments.begin() + static_cast<std::ptrdiff_t>(next), arguments.end());
  const Subcommand* subcommand = words.empty() ? nullptr : FindSubcommand(words[0]);
  if (subcommand != nullptr) request.OptionGiven = TakeOption(words, subcommand->OwnOption);
  const size_t left = words.size();
  const size_t wanted = subcommand && subcommand->Text != TextArgument::None ? 3 : 2;
  const bool tree = subcommand && subcommand->TreeOptions;
  if (subcommand == nullptr || left < wanted || (left > wanted && !tree) ||
      (request.Dot && (!tree || request.Json))) {
    error = std::string(Usage);
    return std::nullopt;
  }
  request.Listing = words[0];
  request.MainFile = words[1];
  if (wanted == 3) request.Text = words[2];
  if (subcommand->Text == TextArgument::NotEmpty && request.Text.empty()) {
    error = request.Listing + " needs a name that is not empty; " + std::string(Usage);
    return std::nullopt;
  }
  const std::vector<std::string> options(words.begin() + static_cast<std::ptrdiff_t>(wanted),
                                         words.end());
  if (!ParseTreeOptions(options, request, error)) return std::nullopt;
  return request;
}

int RunReport(const std::vector<std::string>& arguments, std::string_view launch_dir,
              std::ostream& out, std::ostream& err) {
  std::string error;
  const std::optional<ReportRequest> request = ParseReportArguments(arguments, error);
  if (!request) {
    err << "pb-sourcetrek-report: " << error << '\n';
    return 2;
  }
  const std::string given = AbsolutePath(launch_dir, request->MainFile);
  if (!IsRegularFile(given)) {
    err << "pb-sourcetrek-report: no such main file: " << given << '\n';
    return 2;
  }
  // With --find-main the file given is any file of the project, as an IDE tab is.
  const std::string main_file =
      request->FindMain ? RecordedMainFile(given, IdeProjectFromEnvironment()) : given;
  ReportSession session{{}, {}, {}, *request, out};
  TakeUpProject(session.project, main_file,
                session.history.OpenResultList(ListKind::Procedures, "Procedures"), session.host);
  FindSubcommand(request->Listing)->Run(session, request->Text);
  return 0;
}
