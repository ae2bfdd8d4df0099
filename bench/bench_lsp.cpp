// Times the language server as an editor meets it, through its standard input and output:
// the first references request after initialize (the take-up included), then, after a
// one-line edit of the file that holds a procedure, definition, references and incoming
// calls of that procedure, and the republished diagnostics of the edit. The edits come
// once the opened document's first diagnostics are published (also timed), as when a user
// opens a file and starts typing.
//
//   pbst-bench-lsp SERVER MAINFILE NAME REPETITIONS
//
// SERVER may be a command line (split at blanks), so that a wrapper can measure memory.
#include <ext/stdio_filebuf.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "bench/bench_timing.h"
#include "lsp/json_rpc.h"
#include "lsp/message_framing.h"
#include "lsp/uri.h"
#include "source/path_parts.h"

namespace {

/// A server process with pipes to its standard input and output.
class ServerProcess {
 public:
  explicit ServerProcess(const std::string& command);
  ~ServerProcess();
  /// Sends `message`.
  void Send(const Json& message);
  /// Reads messages until one satisfies `done`; returns it.
  template <typename Done>
  Json ReadUntil(Done done) {
    for (;;) {
      const Frame frame = ReadFrame(*in_);
      if (frame.End != FrameEnd::Message) throw std::runtime_error("the server ended");
      Json message = Json::parse(frame.Body);
      if (done(message)) return message;
    }
  }

 private:
  pid_t pid_ = -1;
  std::unique_ptr<__gnu_cxx::stdio_filebuf<char>> in_buffer_;
  std::unique_ptr<std::istream> in_;
  FILE* out_ = nullptr;
};

ServerProcess::ServerProcess(const std::string& command) {
  int to_server[2];
  int from_server[2];
  if (::pipe(to_server) != 0 || ::pipe(from_server) != 0) std::abort();
  pid_ = ::fork();
  if (pid_ == 0) {
    ::dup2(to_server[0], 0);
    ::dup2(from_server[1], 1);
    ::close(to_server[1]);
    ::close(from_server[0]);
    std::vector<std::string> words;
    std::istringstream split(command);
    for (std::string word; split >> word;) words.push_back(word);
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    ::execv(argv[0], argv.data());
    std::_Exit(127);
  }
  ::close(to_server[0]);
  ::close(from_server[1]);
  out_ = ::fdopen(to_server[1], "w");
  in_buffer_ = std::make_unique<__gnu_cxx::stdio_filebuf<char>>(from_server[0], std::ios::in);
  in_ = std::make_unique<std::istream>(in_buffer_.get());
}

// Its input ends, and what it still writes (diagnostics nobody waits for) is read to the
// end, so that it ends by itself and a wrapper sees its whole run.
ServerProcess::~ServerProcess() {
  std::fclose(out_);
  while (in_->ignore(1 << 16)) {
  }
  int status = 0;
  ::waitpid(pid_, &status, 0);
}

void ServerProcess::Send(const Json& message) {
  const std::string body = message.dump();
  std::fprintf(out_, "Content-Length: %zu\r\n\r\n%s", body.size(), body.c_str());
  std::fflush(out_);
}

/// The file, 0-based line and column of the head of procedure `name` in the files beside
/// `main_file`.
struct Place {
  std::string Path;
  int Line = -1;
  int Column = 0;
  std::string Text;  ///< the whole file
};

Place HeadOf(const std::string& main_file, const std::string& name) {
  const std::string folder(DirectoryPart(main_file));
  for (int file = 0; file < 100000; ++file) {
    const std::string path = file == 0 ? main_file : folder + "/" + "part" + std::to_string(file) + ".pbi";
    std::ifstream in(path);
    if (!in) continue;
    std::stringstream text;
    text << in.rdbuf();
    std::istringstream lines(text.str());
    int number = 0;
    for (std::string line; std::getline(lines, line); ++number) {
      const size_t at = line.find(" " + name + "(");
      if (line.rfind("Procedure", 0) == 0 && at != std::string::npos) {
        return {path, number, static_cast<int>(at + 1), text.str()};
      }
    }
  }
  return {};
}

Json Request(int id, const std::string& method, const Json& params) {
  return {{"jsonrpc", "2.0"}, {"id", id}, {"method", method}, {"params", params}};
}

/// Sends request `id` and waits for its response; returns the milliseconds.
double TimeRequest(ServerProcess& server, int id, const std::string& method, const Json& params) {
  const double start = NowMs();
  server.Send(Request(id, method, params));
  server.ReadUntil([id](const Json& message) { return message.value("id", Json()) == id; });
  return NowMs() - start;
}

}  // namespace

namespace {

/// One session's measurements, appended to `times` by name.
struct Session {
  ServerProcess& Server;
  Place Head;
  std::string Uri;
  int Id = 1;
  int Version = 1;
  bool Spaced = false;

  Json At() const {
    return {{"textDocument", {{"uri", Uri}}}, {"position", {{"line", Head.Line}, {"character", Head.Column}}}};
  }
  /// Appends or removes a blank at the end of the line after the head, as a keystroke does.
  void Edit() {
    Spaced = !Spaced;
    std::istringstream lines(Head.Text);
    std::string line;
    for (int number = 0; number <= Head.Line + 1; ++number) std::getline(lines, line);
    const int length = static_cast<int>(line.size());
    const Json start = {{"line", Head.Line + 1}, {"character", length}};
    const Json end = {{"line", Head.Line + 1}, {"character", Spaced ? length : length + 1}};
    Server.Send({{"jsonrpc", "2.0"}, {"method", "textDocument/didChange"},
                 {"params", {{"textDocument", {{"uri", Uri}, {"version", ++Version}}},
                             {"contentChanges", {{{"range", {{"start", start}, {"end", end}}},
                                                  {"text", Spaced ? " " : ""}}}}}}});
  }
  double EditThenCallHierarchy() {
    Edit();
    const double start = NowMs();
    const int prepare = Id++;
    Server.Send(Request(prepare, "textDocument/prepareCallHierarchy", At()));
    const Json items = Server.ReadUntil([prepare](const Json& m) { return m.value("id", Json()) == prepare; })["result"];
    TimeRequest(Server, Id++, "callHierarchy/incomingCalls", {{"item", items.at(0)}});
    return NowMs() - start;
  }
  double EditThenDiagnostics() {
    Edit();
    return Diagnostics();
  }
  /// Milliseconds until the diagnostics of the document are published.
  double Diagnostics() {
    const double start = NowMs();
    Server.ReadUntil([this](const Json& m) {
      return m.value("method", "") == "textDocument/publishDiagnostics" && m["params"]["uri"] == Uri;
    });
    return NowMs() - start;
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::cerr << "usage: pbst-bench-lsp SERVER MAINFILE NAME REPETITIONS\n";
    return 2;
  }
  const std::string main_file = argv[2];
  const Place head = HeadOf(main_file, argv[3]);
  if (head.Line < 0) {
    std::cerr << "pbst-bench-lsp: no head of " << argv[3] << " beside " << main_file << "\n";
    return 2;
  }
  std::vector<double> first, open_diagnostics, definition, references, hierarchy, diagnostics;
  for (int repetition = 0; repetition < std::atoi(argv[4]); ++repetition) {
    ServerProcess server(argv[1]);
    Session session{server, head, UriOfPath(head.Path)};
    server.Send(Request(session.Id++, "initialize", {{"rootUri", UriOfPath(std::string(DirectoryPart(main_file)))},
        {"capabilities", Json::object()}, {"initializationOptions", {{"mainFile", main_file}}}}));
    server.ReadUntil([](const Json& m) { return m.value("id", Json()) == 1; });
    first.push_back(TimeRequest(server, session.Id++, "textDocument/references", session.At()));
    server.Send({{"jsonrpc", "2.0"}, {"method", "textDocument/didOpen"},
                 {"params", {{"textDocument", {{"uri", session.Uri}, {"languageId", "purebasic"}, {"version", 1}, {"text", head.Text}}}}}});
    open_diagnostics.push_back(session.Diagnostics());
    TimeRequest(server, session.Id++, "textDocument/definition", session.At());  // the open settled
    session.Edit();
    definition.push_back(TimeRequest(server, session.Id++, "textDocument/definition", session.At()));
    session.Edit();
    references.push_back(TimeRequest(server, session.Id++, "textDocument/references", session.At()));
    hierarchy.push_back(session.EditThenCallHierarchy());
    diagnostics.push_back(session.EditThenDiagnostics());
    server.Send(Request(session.Id++, "shutdown", nullptr));
    server.Send({{"jsonrpc", "2.0"}, {"method", "exit"}});
  }
  PrintTimes("lsp-first-references", first);
  PrintTimes("lsp-open-diagnostics", open_diagnostics);
  PrintTimes("lsp-edit-definition", definition);
  PrintTimes("lsp-edit-references", references);
  PrintTimes("lsp-edit-call-hierarchy", hierarchy);
  PrintTimes("lsp-edit-diagnostics", diagnostics);
  return 0;
}
