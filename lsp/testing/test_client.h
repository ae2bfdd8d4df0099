// A language client for tests: talks to a `LanguageServer` in process, message by message,
// and keeps what the server sent.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "listings/testing/listing_test_support.h"
#include "lsp/language_server.h"
#include "lsp/uri.h"

/// A client of one in-process server.
class TestClient {
 public:
  TestClient() : server_([this](const Json& message) { Sent.push_back(message); }, Host) {}

  /// Sends `body` as it stands; returns what the server sent in answer.
  std::vector<Json> SendBody(std::string_view body) {
    const size_t before = Sent.size();
    server_.Handle(ReadIncoming(body));
    return {Sent.begin() + static_cast<std::ptrdiff_t>(before), Sent.end()};
  }
  /// Sends request `method`; returns the response (null when none came).
  Json Request(std::string_view method, const Json& params) {
    const Json message = {{"jsonrpc", "2.0"}, {"id", ++id_}, {"method", std::string(method)}, {"params", params}};
    for (const Json& sent : SendBody(message.dump())) {
      if (sent.contains("id") && sent["id"] == id_) return sent;
    }
    return nullptr;
  }
  /// The result of request `method`; fails the test on an error.
  Json Result(std::string_view method, const Json& params) {
    const Json response = Request(method, params);
    EXPECT_TRUE(response.contains("result")) << method << ": " << response.dump();
    return response.value("result", Json());
  }
  /// The error code of request `method`; 0 when it succeeded.
  int ErrorCode(std::string_view method, const Json& params) {
    const Json response = Request(method, params);
    return response.contains("error") ? response["error"]["code"].get<int>() : 0;
  }
  /// Sends notification `method`.
  std::vector<Json> Notify(std::string_view method, const Json& params) {
    return SendBody(Json{{"jsonrpc", "2.0"}, {"method", std::string(method)}, {"params", params}}.dump());
  }
  /// initialize (workspace `root`, `options` as initializationOptions) and initialized.
  Json Initialize(const std::string& root, const Json& options = Json::object(), const Json& capabilities = Json::object()) {
    const Json result = Result("initialize", {{"rootUri", UriOfPath(root)}, {"capabilities", capabilities},
                                              {"initializationOptions", options}});
    Notify("initialized", Json::object());
    return result;
  }
  /// Opens `path` with `text`.
  void Open(const std::string& path, const std::string& text) {
    Notify("textDocument/didOpen", {{"textDocument", {{"uri", UriOfPath(path)}, {"languageId", "purebasic"},
                                                      {"version", 1}, {"text", text}}}});
  }
  /// Sends didChange of `path` with `changes` (a list of content changes).
  void Change(const std::string& path, const Json& changes) {
    Notify("textDocument/didChange", {{"textDocument", {{"uri", UriOfPath(path)}, {"version", 2}}},
                                      {"contentChanges", changes}});
  }
  /// The publishDiagnostics notifications sent since `from`, by path.
  std::map<std::string, Json> Diagnostics(size_t from = 0) const {
    std::map<std::string, Json> found;
    for (size_t at = from; at < Sent.size(); ++at) {
      if (Sent[at].value("method", "") != "textDocument/publishDiagnostics") continue;
      found[*PathOfUri(Sent[at]["params"]["uri"].get<std::string>())] = Sent[at]["params"]["diagnostics"];
    }
    return found;
  }

  /// The server itself.
  LanguageServer& Server() { return server_; }

  RecordingHost Host;
  std::vector<Json> Sent;

 private:
  LanguageServer server_;
  int id_ = 0;
};

/// Params of a request at `line` and `character` of `path`.
inline Json At(const std::string& path, int line, int character) {
  return {{"textDocument", {{"uri", UriOfPath(path)}}}, {"position", {{"line", line}, {"character", character}}}};
}

/// Params that name the document `path`.
inline Json Document(const std::string& path) { return {{"textDocument", {{"uri", UriOfPath(path)}}}}; }

/// "file:line" (line 0-based, as the protocol counts) of each Location of `locations`.
inline std::vector<std::string> Places(const Json& locations) {
  std::vector<std::string> places;
  for (const Json& location : locations) {
    const std::string path = *PathOfUri(location["uri"].get<std::string>());
    places.push_back(path.substr(path.rfind('/') + 1) + ":" + std::to_string(location["range"]["start"]["line"].get<int>()));
  }
  return places;
}

/// A Range from `line`:`character` to `end_line`:`end_character`.
inline Json RangeOf(int line, int character, int end_line, int end_character) {
  return {{"start", {{"line", line}, {"character", character}}},
          {"end", {{"line", end_line}, {"character", end_character}}}};
}

/// A content change that replaces `range` with `text`.
inline Json Replacing(const Json& range, const std::string& text) {
  return {{"range", range}, {"text", text}};
}
