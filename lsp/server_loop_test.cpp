#include "lsp/server_loop.h"

#include <gtest/gtest.h>

#include <list>
#include <sstream>

#include "lsp/json_rpc.h"
#include "lsp/message_framing.h"
#include "lsp/uri.h"
#include "source/testing/test_folder.h"

namespace {

std::string Framed(const Json& message) {
  std::ostringstream out;
  WriteFrame(out, message.dump());
  return out.str();
}

Json Message(int id, const std::string& method, const Json& params) {
  Json message = {{"jsonrpc", "2.0"}, {"method", method}, {"params", params}};
  if (id > 0) message["id"] = id;
  return message;
}

/// Runs the server on `input`; the messages it wrote, and its exit status in `status`.
std::vector<Json> Serve(const std::string& input, int& status) {
  // After "exit" the server leaves its reader to the process end, still reading the rest
  // of the input: the input is never destroyed, as the standard input is not in the
  // server, or the reader would read a stream gone (a later test's, or one that the
  // process's end destroys while the reader still runs).
  static auto& inputs = *new std::list<std::istringstream>;
  std::istringstream& in = inputs.emplace_back(input);
  std::ostringstream out;
  status = ServeLanguageClient(in, out);
  std::istringstream written(out.str());
  std::vector<Json> messages;
  for (Frame frame = ReadFrame(written); frame.End == FrameEnd::Message; frame = ReadFrame(written)) {
    messages.push_back(Json::parse(frame.Body));
  }
  return messages;
}

}  // namespace

// On the streams: bad frames are answered and skipped, a request cancelled before it runs
// is answered as cancelled, diagnostics come once the input pauses, and the end of the
// input ends the server (with status 1, as no shutdown came).
TEST(ServerLoop, ServesTheStreamUntilItEnds) {
  TestFolder folder;
  const std::string main = folder.Write("main.pb", "Procedure Unused()\nEndProcedure\n");
  const std::string uri = UriOfPath(main);
  const std::string input =
      Framed(Message(1, "initialize", {{"rootUri", UriOfPath(folder.Path())}, {"capabilities", Json::object()}})) +
      "Content-Length: nine\r\n\r\n" +
      Framed(Message(0, "textDocument/didOpen", {{"textDocument", {{"uri", uri}, {"languageId", "purebasic"},
                                                                   {"version", 1}, {"text", "Procedure Unused()\nEndProcedure\n"}}}})) +
      Framed(Message(0, "$/cancelRequest", {{"id", 2}})) +
      Framed(Message(2, "textDocument/documentSymbol", {{"textDocument", {{"uri", uri}}}})) +
      Framed(Message(3, "textDocument/documentSymbol", {{"textDocument", {{"uri", uri}}}}));
  int status = -1;
  const std::vector<Json> written = Serve(input, status);
  EXPECT_EQ(status, 1);
  ASSERT_EQ(written.size(), 5u);
  EXPECT_EQ(written[1]["error"]["code"], ParseError);
  EXPECT_EQ(written[2]["id"], 2);
  EXPECT_EQ(written[2]["error"]["code"], RequestCancelled);
  EXPECT_EQ(written[3]["result"][0]["name"], "Unused");
  EXPECT_EQ(written[4]["method"], "textDocument/publishDiagnostics");
  EXPECT_EQ(written[4]["params"]["diagnostics"][0]["message"], "never called");
}

TEST(ServerLoop, ShutdownAndExitEndWithStatusZero) {
  const std::string input = Framed(Message(1, "initialize", {{"capabilities", Json::object()}})) +
                            Framed(Message(2, "shutdown", nullptr)) + Framed(Message(0, "exit", nullptr)) +
                            Framed(Message(3, "shutdown", nullptr));
  int status = -1;
  const std::vector<Json> written = Serve(input, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(written.size(), 2u);  // nothing after exit is read
}
