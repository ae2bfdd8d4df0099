#include "lsp/language_server.h"

#include <gtest/gtest.h>

#include "lsp/testing/test_client.h"

namespace {

// Line numbers below are the protocol's, 0-based.
constexpr char kMain[] =
    "; the example of the protocol test\n"           // 0
    "XIncludeFile \"inc.pbi\"\n"                     // 1
    "IncludeFile \"gone.pbi\"\n"                     // 2
    "Declare Helper(x)\n"                            // 3
    "Declare Orphan()\n"                             // 4
    "Procedure Helper(x)\n"                          // 5
    "  ProcedureReturn Twice(x)\n"                   // 6
    "EndProcedure\n"                                 // 7
    "Procedure Twice(x)\n"                           // 8
    "  ProcedureReturn x * 2\n"                      // 9
    "EndProcedure\n"                                 // 10
    "Procedure Lonely()\n"                           // 11
    "EndProcedure\n"                                 // 12
    "Debug Helper(1) + Late(2)\n"                    // 13
    "s$ = \"\xC3\xBC\xF0\x9F\x98\x80\" : Helper(3)\n"  // 14: a 2-byte and a 4-byte character
    "Procedure Late(y)\n"                            // 15
    "EndProcedure\n";                                // 16

constexpr char kInclude[] =
    "DeclareModule Geo\n"                            // 0
    "  Declare Area(w)\n"                            // 1
    "EndDeclareModule\n"                             // 2
    "Module Geo\n"                                   // 3
    "  Procedure Area(w)\n"                          // 4
    "    ProcedureReturn w\n"                        // 5
    "  EndProcedure\n"                               // 6
    "EndModule\n"                                    // 7
    "x = Geo::Area(2)\n";                            // 8

/// A client initialized on a folder with main.pb and inc.pbi, main.pb open.
struct ServedExample {
  TestFolder folder;
  TestClient client;
  std::string main = folder.Write("main.pb", kMain);
  std::string include = folder.Write("inc.pbi", kInclude);

  ServedExample() {
    client.Initialize(folder.Path());
    client.Open(main, kMain);
  }
};

}  // namespace

// Every bad input gets its error code, notifications never get an answer, and the exit
// status tells whether shutdown came first.
TEST(LanguageServer, LifecycleAndBadInputGetTheProtocolsErrors) {
  TestFolder folder;
  TestClient client;
  EXPECT_EQ(client.ErrorCode("textDocument/hover", At(folder.Path() + "x.pb", 0, 0)), ServerNotInitialized);
  EXPECT_TRUE(client.Notify("textDocument/didOpen", Json::object()).empty());
  const Json capabilities = client.Initialize(folder.Path())["capabilities"];
  EXPECT_EQ(capabilities["positionEncoding"], "utf-16");
  EXPECT_TRUE(capabilities["callHierarchyProvider"].get<bool>());
  EXPECT_EQ(client.ErrorCode("initialize", Json::object()), InvalidRequest);
  EXPECT_EQ(client.ErrorCode("textDocument/unknown", Json::object()), MethodNotFound);
  EXPECT_TRUE(client.Notify("$/unknownNotification", Json::object()).empty());
  const std::vector<Json> unparsable = client.SendBody("{\"jsonrpc\": \"2.0\", \"id\": 1, ");
  ASSERT_EQ(unparsable.size(), 1u);
  EXPECT_EQ(unparsable[0]["error"]["code"], ParseError);
  EXPECT_TRUE(unparsable[0]["id"].is_null());
  const std::vector<Json> not_utf8 = client.SendBody("{\"jsonrpc\":\"2.0\",\"id\":2,\"method\":\"x\",\"params\":{\"t\":\"\xFF\"}}");
  EXPECT_EQ(not_utf8.at(0)["error"]["code"], ParseError);
  EXPECT_EQ(client.SendBody("{\"id\": 3, \"method\": \"shutdown\"}").at(0)["error"]["code"], InvalidRequest);
  EXPECT_EQ(client.SendBody("{\"jsonrpc\":\"2.0\",\"id\":{},\"method\":\"shutdown\"}").at(0)["error"]["code"], InvalidRequest);
  EXPECT_EQ(client.ErrorCode("textDocument/definition", {{"textDocument", {{"uri", 7}}}}), InvalidParams);
  EXPECT_EQ(client.ErrorCode("textDocument/definition", At(folder.Path() + "x.pb", -1, 0)), InvalidParams);
  EXPECT_EQ(client.ErrorCode("textDocument/definition", {{"textDocument", {{"uri", "http://x/y.pb"}}}, {"position", {{"line", 0}, {"character", 0}}}}), InvalidParams);
  EXPECT_EQ(client.ErrorCode("textDocument/references", Json::array()), InvalidParams);
  EXPECT_TRUE(client.SendBody("{\"jsonrpc\":\"2.0\",\"id\":9,\"result\":null}").empty());  // a response is ignored
  EXPECT_EQ(client.Result("shutdown", nullptr), nullptr);
  EXPECT_EQ(client.ErrorCode("textDocument/hover", At(folder.Path() + "x.pb", 0, 0)), InvalidRequest);
  EXPECT_FALSE(client.Server().Exited());
  client.Notify("exit", nullptr);
  EXPECT_TRUE(client.Server().Exited());
  EXPECT_EQ(client.Server().ExitStatus(), 0);
  TestClient abrupt;
  abrupt.Notify("exit", nullptr);
  EXPECT_EQ(abrupt.Server().ExitStatus(), 1);
}

// definition, declaration, references and documentLink answer from the listings' rows:
// module rules decide the qualified call, include lines lead to their files, a position
// past the end names nothing.
TEST(LanguageServer, NavigationRequestsLeadToHeadsDeclaresCallsAndIncludedFiles) {
  ServedExample served;
  TestClient& client = served.client;
  EXPECT_EQ(Places(client.Result("textDocument/definition", At(served.main, 13, 8))), std::vector<std::string>{"main.pb:5"});
  EXPECT_EQ(Places(client.Result("textDocument/definition", At(served.main, 1, 3))), std::vector<std::string>{"inc.pbi:0"});
  EXPECT_EQ(client.Result("textDocument/definition", At(served.main, 2, 3)), nullptr);  // gone.pbi
  EXPECT_EQ(Places(client.Result("textDocument/definition", At(served.include, 8, 6))), std::vector<std::string>{"inc.pbi:4"});
  EXPECT_EQ(client.Result("textDocument/definition", At(served.main, 400, 3)), nullptr);
  EXPECT_EQ(client.Result("textDocument/definition", At(served.main, 13, 400)), nullptr);
  EXPECT_EQ(Places(client.Result("textDocument/declaration", At(served.main, 5, 12))), std::vector<std::string>{"main.pb:3"});
  EXPECT_EQ(Places(client.Result("textDocument/references", At(served.main, 5, 12))),
            (std::vector<std::string>{"main.pb:13", "main.pb:14"}));
  Json with_declaration = At(served.main, 13, 7);
  with_declaration["context"] = {{"includeDeclaration", true}};
  EXPECT_EQ(Places(client.Result("textDocument/references", with_declaration)),
            (std::vector<std::string>{"main.pb:5", "main.pb:3", "main.pb:13", "main.pb:14"}));
  // The call after a 2-byte and a 4-byte character: UTF-16 counts them as 1 and 2 units.
  const Json reference = client.Result("textDocument/references", At(served.main, 13, 7))[1];
  EXPECT_EQ(reference["range"]["start"]["character"], 13);
  const Json links = client.Result("textDocument/documentLink", Document(served.main));
  ASSERT_EQ(links.size(), 1u);
  EXPECT_EQ(links[0]["target"], UriOfPath(served.include));
  EXPECT_EQ(links[0]["range"]["start"]["line"], 1);
}

// The call hierarchy: callers with the enclosing procedure or the main code, callees from
// the callees listing, the main code's own calls.
TEST(LanguageServer, CallHierarchyNamesCallersCalleesAndTheMainCode) {
  ServedExample served;
  TestClient& client = served.client;
  const Json items = client.Result("textDocument/prepareCallHierarchy", At(served.main, 8, 11));
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0]["name"], "Twice");
  const Json incoming = client.Result("callHierarchy/incomingCalls", {{"item", items[0]}});
  ASSERT_EQ(incoming.size(), 1u);
  EXPECT_EQ(incoming[0]["from"]["name"], "Helper");
  EXPECT_EQ(incoming[0]["fromRanges"][0]["start"], (Json{{"line", 6}, {"character", 18}}));
  const Json helper = client.Result("textDocument/prepareCallHierarchy", At(served.main, 13, 8))[0];
  const Json callers = client.Result("callHierarchy/incomingCalls", {{"item", helper}});
  ASSERT_EQ(callers.size(), 1u);
  EXPECT_EQ(callers[0]["from"]["name"], "main code");
  EXPECT_EQ(callers[0]["fromRanges"].size(), 2u);
  const Json outgoing = client.Result("callHierarchy/outgoingCalls", {{"item", helper}});
  ASSERT_EQ(outgoing.size(), 1u);
  EXPECT_EQ(outgoing[0]["to"]["name"], "Twice");
  const Json main_code = client.Result("callHierarchy/outgoingCalls", {{"item", callers[0]["from"]}});
  std::vector<std::string> callees;
  for (const Json& call : main_code) callees.push_back(call["to"]["name"]);
  EXPECT_EQ(callees, (std::vector<std::string>{"Helper", "Late"}));
  EXPECT_EQ(client.ErrorCode("callHierarchy/incomingCalls", {{"item", {{"name", "x"}}}}), InvalidParams);
}

// The outline, the workspace's symbols, completion and hover come from the procedure index
// and the calls and unused listings.
TEST(LanguageServer, SymbolsCompletionAndHoverDescribeTheProceduresOfTheProject) {
  ServedExample served;
  TestClient& client = served.client;
  const Json outline = client.Result("textDocument/documentSymbol", Document(served.include));
  ASSERT_EQ(outline.size(), 1u);
  EXPECT_EQ(outline[0]["name"], "Geo");
  EXPECT_EQ(outline[0]["children"][0]["name"], "Area");
  EXPECT_EQ(client.Result("textDocument/documentSymbol", Document(served.main)).size(), 4u);
  const Json symbols = client.Result("workspace/symbol", {{"query", "gar"}});
  ASSERT_EQ(symbols.size(), 1u);
  EXPECT_EQ(symbols[0]["name"], "Geo::Area");
  EXPECT_EQ(client.Result("workspace/symbol", {{"query", "ELP"}})[0]["name"], "Helper");
  client.Change(served.main, Json::array({Replacing(RangeOf(16, 0, 16, 0), "x = Geo::A\nLo")}));
  const Json qualified = client.Result("textDocument/completion", At(served.main, 16, 10));
  ASSERT_EQ(qualified.size(), 1u);
  EXPECT_EQ(qualified[0]["label"], "Area");
  const Json plain = client.Result("textDocument/completion", At(served.main, 17, 2));
  ASSERT_EQ(plain.size(), 1u);
  EXPECT_EQ(plain[0]["detail"], "Procedure Lonely()");
  const std::string lonely = client.Result("textDocument/hover", At(served.main, 11, 12))["contents"]["value"];
  EXPECT_NE(lonely.find("main.pb:12, 0 calls, never called"), std::string::npos) << lonely;
  const std::string helper = client.Result("textDocument/hover", At(served.main, 13, 8))["contents"]["value"];
  EXPECT_NE(helper.find("2 calls"), std::string::npos) << helper;
  EXPECT_NE(helper.find("Declare Helper(x)"), std::string::npos) << helper;
}

// Diagnostics for each finding of the checks and for the include of no file; the quick
// fix inserts the Declare check's lines after the main file's leading comment.
TEST(LanguageServer, DiagnosticsAndTheQuickFixFollowTheChecks) {
  ServedExample served;
  TestClient& client = served.client;
  client.Open(served.include, kInclude);
  ASSERT_TRUE(client.Server().DiagnosticsDue());
  client.Host.StopWhen = [] { return true; };  // a message came in: nothing is sent, all stays due
  client.Server().PublishDiagnostics();
  EXPECT_TRUE(client.Diagnostics().empty());
  EXPECT_TRUE(client.Server().DiagnosticsDue());
  client.Server().PublishDiagnostics();
  EXPECT_FALSE(client.Server().DiagnosticsDue());
  std::map<std::string, Json> published = client.Diagnostics();
  ASSERT_EQ(published.count(served.include), 1u);  // an open document without findings hears so
  EXPECT_TRUE(published[served.include].empty());
  std::vector<std::string> found;
  for (const Json& diagnostic : published[served.main]) {
    found.push_back(std::to_string(diagnostic["range"]["start"]["line"].get<int>()) + " " +
                    std::to_string(diagnostic["severity"].get<int>()) + " " + diagnostic["message"].get<std::string>());
  }
  EXPECT_EQ(found, (std::vector<std::string>{"11 4 never called", "4 3 orphan Declare: no procedure of this name",
                                             "8 2 Declare missing: called above its head",
                                             "15 2 Declare missing: called above its head",
                                             "2 2 the include names no readable file: " + served.folder.Path() + "gone.pbi"}));
  EXPECT_EQ(published[served.main][0]["tags"], Json::array({1}));
  Json asked = Document(served.main);
  asked["range"] = RangeOf(0, 0, 0, 0);
  asked["context"] = {{"diagnostics", Json::array()}};
  const Json actions = client.Result("textDocument/codeAction", asked);
  ASSERT_EQ(actions.size(), 1u);
  EXPECT_EQ(actions[0]["title"], "Add missing Declares");
  const Json edit = actions[0]["edit"]["changes"][UriOfPath(served.main)][0];
  EXPECT_EQ(edit["range"]["start"]["line"], 1);
  EXPECT_EQ(edit["newText"], ";main.pb\nDeclare Late(y)\nDeclare Twice(x)\n");
  // Once the Declares stand there, the warnings go and the fix is offered no more.
  client.Open(served.main, std::string(kMain).insert(35, "Declare Twice(x)\nDeclare Late(y)\n"));
  const size_t before = client.Sent.size();
  client.Server().PublishDiagnostics();
  EXPECT_EQ(client.Diagnostics(before)[served.main].size(), 3u);
  EXPECT_EQ(client.Result("textDocument/codeAction", {{"textDocument", {{"uri", UriOfPath(served.main)}}}}).size(), 0u);
}

/// An example whose include has the findings "never called" for Spare and Spare2, sent;
/// then main.pb is edited to call Spare.
void SendSpareFindingsThenCallSpare(ServedExample& served) {
  served.folder.Write("inc.pbi", std::string(kInclude) + "Procedure Spare()\nEndProcedure\n"
                                                         "Procedure Spare2()\nEndProcedure\n");
  served.client.Server().PublishDiagnostics();
  ASSERT_EQ(served.client.Diagnostics()[served.include].size(), 2u);
  const size_t before = served.client.Sent.size();
  served.client.Open(served.main, std::string(kMain) + "; no finding changes\n");
  served.client.Server().PublishDiagnostics();
  EXPECT_EQ(served.client.Diagnostics(before).count(served.main), 1u);  // open
  EXPECT_EQ(served.client.Diagnostics(before).count(served.include), 0u);
  served.client.Open(served.main, std::string(kMain) + "Spare()\n");
}

// Diagnostics go again to the open documents and to the files whose findings changed; the
// others keep what they were sent, also when a stop came after the finding, before the
// sending.
TEST(LanguageServer, DiagnosticsAreSentAgainWhereTheyChangedOrTheDocumentIsOpen) {
  ServedExample counted;
  SendSpareFindingsThenCallSpare(counted);
  const int64_t polls = counted.client.Host.Polls;
  counted.client.Server().PublishDiagnostics();
  const int64_t last_poll = counted.client.Host.Polls - polls;
  ServedExample served;
  SendSpareFindingsThenCallSpare(served);
  served.client.Host.StopAtPoll = served.client.Host.Polls + last_poll;
  const size_t stopped = served.client.Sent.size();
  served.client.Server().PublishDiagnostics();
  ASSERT_EQ(served.client.Sent.size(), stopped);
  served.client.Server().PublishDiagnostics();
  const std::map<std::string, Json> sent = served.client.Diagnostics(stopped);
  ASSERT_EQ(sent.count(served.include), 1u);
  ASSERT_EQ(sent.at(served.include).size(), 1u);
  EXPECT_EQ(sent.at(served.include)[0]["range"]["start"]["line"], 11);  // Spare2 only
}

// Rename changes the head, the Declares and every call, qualified ones too; a name the
// project does not define and a new name that is none are refused.
TEST(LanguageServer, RenameEditsEveryPlaceOfTheProcedureOrSaysWhyNot) {
  ServedExample served;
  TestClient& client = served.client;
  const Json prepared = client.Result("textDocument/prepareRename", At(served.main, 13, 8));
  EXPECT_EQ(prepared["placeholder"], "Helper");
  Json params = At(served.main, 13, 8);
  params["newName"] = "Assist";
  const Json changes = client.Result("textDocument/rename", params)["changes"];
  std::vector<std::string> places;
  for (const Json& edit : changes[UriOfPath(served.main)]) {
    EXPECT_EQ(edit["newText"], "Assist");
    places.push_back(std::to_string(edit["range"]["start"]["line"].get<int>()) + ":" +
                     std::to_string(edit["range"]["start"]["character"].get<int>()));
  }
  EXPECT_EQ(places, (std::vector<std::string>{"3:8", "5:10", "13:6", "14:13"}));
  Json area = At(served.include, 4, 14);
  area["newName"] = "Surface";
  EXPECT_EQ(client.Result("textDocument/rename", area)["changes"][UriOfPath(served.include)].size(), 3u);
  EXPECT_EQ(client.ErrorCode("textDocument/prepareRename", At(served.main, 9, 20)), RequestFailed);
  params["newName"] = "no name";
  EXPECT_EQ(client.ErrorCode("textDocument/rename", params), InvalidParams);
}

// Open documents are the editor's text (full and incremental changes), closed ones the
// disk's, and a file changed on disk is read again at the next request.
TEST(LanguageServer, DocumentsAreTheEditorsTextUntilClosedAndTheDisksAfter) {
  ServedExample served;
  TestClient& client = served.client;
  client.Change(served.main, Json::array({Replacing(RangeOf(12, 12, 13, 0), "\nLonely()\n")}));
  EXPECT_EQ(Places(client.Result("textDocument/references", At(served.main, 11, 12))), std::vector<std::string>{"main.pb:13"});
  // An edit within a line that the take-up ignores, then one that renames a head.
  client.Change(served.main, Json::array({Replacing(RangeOf(14, 18, 14, 25), "Lonely()")}));
  EXPECT_EQ(Places(client.Result("textDocument/references", At(served.main, 11, 12))),
            (std::vector<std::string>{"main.pb:13", "main.pb:14"}));
  client.Change(served.main, Json::array({Replacing(RangeOf(11, 10, 11, 16), "Alone")}));
  EXPECT_EQ(Places(client.Result("textDocument/definition", At(served.main, 13, 1))), std::vector<std::string>{});
  client.Change(served.main, Json::array({{{"text", "Lonely()\nProcedure Lonely()\nEndProcedure\n"}}}));
  EXPECT_EQ(Places(client.Result("textDocument/definition", At(served.main, 0, 1))), std::vector<std::string>{"main.pb:1"});
  client.Notify("textDocument/didClose", Document(served.main));
  EXPECT_EQ(Places(client.Result("textDocument/definition", At(served.main, 13, 8))), std::vector<std::string>{"main.pb:5"});
  served.folder.Write("inc.pbi", std::string("\n\n") + kInclude);
  EXPECT_EQ(Places(client.Result("textDocument/definition", At(served.main, 13, 8))), std::vector<std::string>{"main.pb:5"});
  const Json outline = client.Result("textDocument/documentSymbol", Document(served.include));
  EXPECT_EQ(outline[0]["children"][0]["range"]["start"]["line"], 6);
}

// A cancelled request (its listing sees Stop) is answered with RequestCancelled; the next
// request runs as usual. UTF-8 positions when the client offers them.
TEST(LanguageServer, CancelledRequestsAndUtf8Positions) {
  TestFolder folder;
  const std::string main = folder.Write("main.pb", kMain);
  folder.Write("inc.pbi", kInclude);
  TestClient client;
  const Json offer = {{"general", {{"positionEncodings", {"utf-16", "utf-8"}}}}};
  EXPECT_EQ(client.Initialize(folder.Path(), Json::object(), offer)["capabilities"]["positionEncoding"], "utf-8");
  client.Host.StopWhen = [] { return true; };
  EXPECT_EQ(client.ErrorCode("textDocument/references", At(main, 13, 7)), RequestCancelled);
  const Json references = client.Result("textDocument/references", At(main, 13, 7));
  ASSERT_EQ(references.size(), 2u);
  EXPECT_EQ(references[1]["range"]["start"]["character"], 16);  // bytes: 2 + 4 for the characters
}
