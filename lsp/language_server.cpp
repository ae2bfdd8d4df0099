#include "lsp/language_server.h"

#include <algorithm>

#include "frontend/display_text.h"
#include "frontend/program_info.h"
#include "lsp/diagnostics.h"
#include "lsp/request_table.h"
#include "lsp/request_scope.h"
#include "lsp/uri.h"
#include "source/text_parts.h"

namespace {

Json Capabilities(PositionEncoding encoding) {
  return {{"positionEncoding", encoding == PositionEncoding::Utf8 ? "utf-8" : "utf-16"},
          {"textDocumentSync", {{"openClose", true}, {"change", 2}, {"save", {{"includeText", false}}}}},
          {"definitionProvider", true}, {"declarationProvider", true},
          {"referencesProvider", true}, {"callHierarchyProvider", true},
          {"documentSymbolProvider", true}, {"workspaceSymbolProvider", true},
          {"hoverProvider", true}, {"documentLinkProvider", {{"resolveProvider", false}}},
          {"codeActionProvider", {{"codeActionKinds", {"quickfix"}}}},
          {"renameProvider", {{"prepareProvider", true}}},
          {"completionProvider", {{"triggerCharacters", {":"}}}}};
}

bool OffersUtf8(const Json& params) {
  const Json* encodings = &params;
  for (const char* key : {"capabilities", "general", "positionEncodings"}) {
    if (!encodings->is_object() || !encodings->contains(key)) return false;
    encodings = &(*encodings)[key];
  }
  return encodings->is_array() &&
         std::find(encodings->begin(), encodings->end(), Json("utf-8")) != encodings->end();
}

/// The workspace folder: the first workspace folder, else rootUri, else rootPath.
std::string RootOf(const Json& params) {
  const Json folders = params.value("workspaceFolders", Json());
  if (folders.is_array() && !folders.empty() && folders[0].is_object()) {
    if (auto path = PathOfUri(folders[0].value("uri", ""))) return *path;
  }
  if (params.contains("rootUri") && params["rootUri"].is_string()) {
    if (auto path = PathOfUri(params["rootUri"].get<std::string>())) return *path;
  }
  return params.contains("rootPath") && params["rootPath"].is_string() ? params["rootPath"].get<std::string>() : "";
}

}  // namespace

Json LanguageServer::Initialize(const Json& params) {
  if (!params.is_object()) throw RpcFailure{InvalidParams, "initialize wants an object"};
  encoding_ = OffersUtf8(params) ? PositionEncoding::Utf8 : PositionEncoding::Utf16;
  const Json options = params.value("initializationOptions", Json());
  const Json main_file = options.is_object() ? options.value("mainFile", Json()) : Json();
  if (!main_file.is_null() && !main_file.is_string()) throw RpcFailure{InvalidParams, "mainFile is no string"};
  workspace_.Configure(RootOf(params), main_file.is_string() ? main_file.get<std::string>() : "");
  initialized_ = true;
  return {{"capabilities", Capabilities(encoding_)},
          {"serverInfo", {{"name", "pb-sourcetrek-lsp"}, {"version", ToDisplayText(ProgramVersion)}}}};
}

void LanguageServer::Handle(const ReadMessage& message) {
  if (const Json* error = std::get_if<Json>(&message)) {
    send_(*error);
  } else if (const Incoming* incoming = std::get_if<Incoming>(&message)) {
    if (incoming->IsRequest) {
      HandleRequest(*incoming);
    } else {
      HandleNotification(*incoming);
    }
  }
}

void LanguageServer::Cancelled(const Json& id) {
  send_(ErrorResponse(id, RequestCancelled, "the request was cancelled"));
}

// Errors of the params' JSON types (a string where a number belongs, a missing field) are
// the client's: InvalidParams. Anything else that escapes a handler is the server's own.
void LanguageServer::HandleRequest(const Incoming& request) {
  try {
    send_(ResultResponse(request.Id, Answer(request)));
  } catch (const RpcFailure& failure) {
    send_(ErrorResponse(request.Id, failure.Code, failure.Message));
  } catch (const Json::exception& error) {
    send_(ErrorResponse(request.Id, InvalidParams, error.what()));
  } catch (const std::exception& error) {
    send_(ErrorResponse(request.Id, InternalError, error.what()));
  }
}

Json LanguageServer::Answer(const Incoming& request) {
  if (request.Method == "initialize") {
    if (initialized_) throw RpcFailure{InvalidRequest, "initialize came twice"};
    return Initialize(request.Params);
  }
  if (!initialized_) throw RpcFailure{ServerNotInitialized, "initialize first"};
  if (shut_down_) throw RpcFailure{InvalidRequest, "the server is shut down"};
  if (request.Method == "shutdown") {
    shut_down_ = true;
    return nullptr;
  }
  const RequestRow* row = FindRequest(request.Method);
  if (row == nullptr) throw RpcFailure{MethodNotFound, "unknown method " + request.Method};
  if (!request.Params.is_object()) throw RpcFailure{InvalidParams, "params must be an object"};
  RequestScope scope{workspace_, encoding_, host_};
  return row->Answer(scope, request.Params);
}

namespace {

/// True when `line` holds nothing that the take-up reads: no include statement or
/// constant, no procedure head or end, no module or macro statement, no Declare, no "@".
bool TakeUpIgnores(std::string_view line) {
  static constexpr std::string_view kWords[] = {"include", "procedure", "module", "macro", "declare"};
  const std::string folded = FoldedName(line);
  if (folded.find_first_of("@#") != std::string::npos) return false;
  return std::none_of(std::begin(kWords), std::end(kWords),
                      [&folded](std::string_view word) { return folded.find(word) != std::string::npos; });
}

/// The text after one change (a whole text, or a range replaced); `in_place` stays true
/// while the change keeps within one line (not the first, which may hold a byte-order
/// mark) that the take-up ignores before and after.
std::string Changed(std::string text, const Json& change, PositionEncoding encoding, bool& in_place) {
  const std::string& replacement = change.at("text").get_ref<const std::string&>();
  if (!change.contains("range")) {
    in_place = false;
    return replacement;
  }
  const TextPosition from = PositionOf(change["range"].at("start"));
  const TextPosition to = PositionOf(change["range"].at("end"));
  in_place = in_place && from.Line == to.Line && from.Line > 0 &&
             replacement.find_first_of("\r\n") == std::string::npos &&
             TakeUpIgnores(LineOfText(text, from.Line));
  const size_t start = OffsetOf(text, from, encoding);
  const size_t end = std::max(start, OffsetOf(text, to, encoding));
  text.replace(start, end - start, replacement);
  in_place = in_place && TakeUpIgnores(LineOfText(text, from.Line));
  return text;
}

}  // namespace

void LanguageServer::ChangeDocument(const Json& params) {
  const std::string path = DocumentPath(params);
  const std::string* text = workspace_.DocumentText(path);
  if (text == nullptr) return;  // a change of a document that was never opened
  std::string edited = *text;
  bool in_place = true;
  for (const Json& change : params.at("contentChanges")) edited = Changed(std::move(edited), change, encoding_, in_place);
  workspace_.SetDocument(path, std::move(edited), in_place);
  changed_.insert(path);
}

void LanguageServer::HandleNotification(const Incoming& notification) {
  const std::string& method = notification.Method;
  if (method == "exit") exited_ = true;
  if (!initialized_ || !notification.Params.is_object()) return;
  const Json& params = notification.Params;
  try {
    if (method == "textDocument/didOpen") {
      const std::string path = DocumentPath(params);
      workspace_.SetDocument(path, params.at("textDocument").at("text").get<std::string>());
      workspace_.ProjectOf(path, host_);  // its project holds the files it includes from now on
      changed_.insert(path);
    } else if (method == "textDocument/didChange") {
      ChangeDocument(params);
    } else if (method == "textDocument/didClose") {
      workspace_.CloseDocument(DocumentPath(params));
    } else if (method == "textDocument/didSave") {
      changed_.insert(DocumentPath(params));
    } else if (method == "workspace/didChangeWatchedFiles") {
      all_due_ = true;
    }
  } catch (const RpcFailure&) {
  } catch (const Json::exception&) {
    // A notification gets no answer: one with bad params changes nothing.
  }
}

void LanguageServer::PublishProject(const std::string& main_file, std::map<std::string, Json> found) {
  // Every open document of the project hears of its state, none or some; so do the files
  // whose diagnostics are gone.
  std::set<std::string>& published = published_[main_file];
  for (const std::string& path : published) {
    if (found.count(path) == 0) found[path] = Json::array();
  }
  published.clear();
  for (auto& [path, diagnostics] : found) {
    if (diagnostics.is_null() || !diagnostics.empty()) published.insert(path);
    if (diagnostics.is_null()) continue;  // the client has them already
    send_(NotificationMessage("textDocument/publishDiagnostics",
                              {{"uri", UriOfPath(path)}, {"diagnostics", std::move(diagnostics)}}));
  }
}

std::set<ServedProject*> LanguageServer::DueProjects() {
  std::set<ServedProject*> due;
  for (const std::string& path : changed_) {
    ServedProject* served = workspace_.ProjectOf(path, host_);
    if (served == nullptr) throw RpcFailure{RequestCancelled, "stopped"};
    due.insert(served);
  }
  if (all_due_) {
    for (ServedProject* served : workspace_.CurrentProjects(host_)) due.insert(served);
  }
  return due;
}

// All is found before anything is sent: a stop (a message came in) leaves the diagnostics
// due, to be published after the next pause.
void LanguageServer::PublishDiagnostics() {
  std::vector<std::pair<ServedProject*, std::map<std::string, Json>>> found;
  try {
    RequestScope scope{workspace_, encoding_, host_};
    for (ServedProject* served : DueProjects()) {
      std::map<std::string, Json> files = ProjectDiagnostics(scope, *served);
      for (const std::string& path : workspace_.Documents()) {
        if (files.count(path) == 0 && ProjectFileIndex(served->State, path) >= 0) files[path] = Json::array();
      }
      found.emplace_back(served, std::move(files));
    }
    if (host_.PollStop()) return;
  } catch (const RpcFailure&) {
    return;
  }
  changed_.clear();
  all_due_ = false;
  for (auto& [served, files] : found) {
    PublishProject(served->State.MainFile, std::move(files));
    served->PublishedFindings = std::move(served->PendingFindings);
  }
}
