// Fuzz target: the language server's message reader and dispatcher on arbitrary bytes.
// The input is a small project (files separated as in the other targets) and, after a line
// "%%%%", the byte stream the client sends, in which "@ROOT@" stands for the project's
// folder URI. The session starts initialized on that folder. Every request that is read
// must get exactly one response with its id, and every message sent must be JSON-RPC.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "fuzz/fuzz_project.h"
#include "listings/listing_host.h"
#include "lsp/language_server.h"
#include "lsp/message_framing.h"
#include "lsp/uri.h"

namespace {

class QuietHost : public ListingHost {
 public:
  bool PollStop() override { return false; }
  void SetStopEnabled(bool) override {}
};

std::string Replaced(std::string_view text, std::string_view what, const std::string& with) {
  std::string result;
  for (size_t at = 0; at < text.size();) {
    const size_t found = text.find(what, at);
    result.append(text.substr(at, found == std::string_view::npos ? std::string_view::npos : found - at));
    if (found == std::string_view::npos) break;
    result += with;
    at = found + what.size();
  }
  return result;
}

/// Handles one body and checks that a request got exactly one response with its id.
void HandleChecked(LanguageServer& server, std::vector<Json>& sent, std::string_view body) {
  const ReadMessage message = ReadIncoming(body);
  const size_t before = sent.size();
  server.Handle(message);
  const Incoming* incoming = std::get_if<Incoming>(&message);
  if (incoming == nullptr || !incoming->IsRequest) return;
  size_t responses = 0;
  for (size_t at = before; at < sent.size(); ++at) {
    responses += !sent[at].contains("method") && sent[at]["id"] == incoming->Id;
  }
  Require(responses == 1, "a request gets one response");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string_view> halves = SplitInput(input, "\n%%%%\n", 2);
  const std::string_view stream_part = halves.size() > 1 ? halves[1] : halves[0];
  const FuzzProject project(halves.size() > 1 ? SplitInput(halves[0], FileSeparator, FuzzProject::MaxFiles)
                                              : std::vector<std::string_view>{});
  const std::string root(DirectoryPart(project.MainPath()));
  QuietHost host;
  std::vector<Json> sent;
  LanguageServer server([&sent](const Json& message) {
    Require(message.value("jsonrpc", "") == "2.0", "every message is JSON-RPC 2.0");
    SerializeMessage(message);  // must not throw on any text the project holds
    sent.push_back(message);
  }, host);
  HandleChecked(server, sent, Json{{"jsonrpc", "2.0"}, {"id", 0}, {"method", "initialize"},
                                   {"params", {{"rootUri", UriOfPath(root)}, {"capabilities", Json::object()}}}}.dump());
  std::istringstream stream(Replaced(stream_part, "@ROOT@", UriOfPath(root)));
  for (Frame frame = ReadFrame(stream); frame.End != FrameEnd::Closed && frame.End != FrameEnd::Truncated;
       frame = ReadFrame(stream)) {
    if (frame.End == FrameEnd::Message) HandleChecked(server, sent, frame.Body);
    if (server.Exited()) break;
  }
  if (server.DiagnosticsDue()) server.PublishDiagnostics();
  return 0;
}
