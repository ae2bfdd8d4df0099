// The report tool's subcommands, all in one table: each takes up the main file as "Open"
// does and then prints one listing.
#include "report/report_command.h"

#include <sys/stat.h>

#include <algorithm>

#include "listings/all_procedure_calls.h"
#include "listings/declare_check.h"
#include "listings/declares.h"
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

namespace {

constexpr std::string_view Usage =
    "usage: pb-sourcetrek-report [--json] [--find-main] LISTING MAINFILE [TEXT], LISTING one "
    "of files, procedures, calls NAME, all-calls, declares, terms TERM, lookup TEXT, unused, "
    "declare-check [--fix]";

/// The state of one run: the taken-up project, its lists and how to print them.
struct ReportSession {
  Project project;
  ListHistory history;
  ReportHost host;
  bool json = false;
  bool option = false;  ///< the listing's own option was given
  std::ostream& out;
};

void Print(ReportSession& session, const ResultList& list) {
  if (session.json) {
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
  if (session.json) {
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
  if (session.option) {
    session.out << ToDisplayText(DeclaresText(missing));
  } else {
    Print(session, list);
  }
}

/// Whether a listing takes a text argument after MAINFILE.
enum class TextArgument { None, Any, NotEmpty };

struct Subcommand {
  std::string_view Name;
  TextArgument Text;
  std::string_view OwnOption;  ///< an option of its own that may follow the listing; "" for none
  void (*Run)(ReportSession& session, std::string_view text);
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
  if (subcommand == nullptr || left != wanted) {
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
  ReportSession session{{}, {}, {}, request->Json, request->OptionGiven, out};
  TakeUpProject(session.project, main_file,
                session.history.OpenResultList(ListKind::Procedures, "Procedures"), session.host);
  FindSubcommand(request->Listing)->Run(session, request->Text);
  return 0;
}
