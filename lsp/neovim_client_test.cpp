// The server through a real client: Neovim's built-in LSP client, headless, on the example
// project, each answer checked against the report tool's listing of the same question.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "lsp/json_rpc.h"
#include "source/testing/test_folder.h"

namespace {

using Lines = std::vector<std::string>;

/// The standard output of `command`, run by the shell.
std::string Output(const std::string& command) {
  std::string output;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return output;
  char buffer[4096];
  for (size_t read; (read = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, read);
  ::pclose(pipe);
  return output;
}

Lines Split(const std::string& text) {
  Lines lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

/// "path:line" of each line of the report tool's --grep output of `listing` `name`, sorted.
Lines ReportPlaces(const std::string& listing, const std::string& name = "") {
  Lines places;
  for (const std::string& line : Split(Output(std::string(PBST_REPORT_TOOL) + " --grep " + listing + " " +
                                              PBST_EXAMPLES + "main.pb " + name))) {
    places.push_back(line.substr(0, line.find(": ")));
  }
  std::sort(places.begin(), places.end());
  return places;
}

/// The "path:line" of the client's lines that start with `kind` (its last word but one
/// for lines with a name or message), sorted.
Lines ClientPlaces(const Lines& lines, const std::string& kind) {
  Lines places;
  for (const std::string& line : lines) {
    if (line.rfind(kind + " ", 0) != 0) continue;
    std::istringstream words(line.substr(kind.size() + 1));
    std::string word;
    while (words >> word && word.find(':') == std::string::npos) {}
    places.push_back(word);
  }
  std::sort(places.begin(), places.end());
  return places;
}

/// "path:line" of the rows of the report tool's `listing` whose Count cell says something
/// (the checks' findings), by its JSON output; sorted.
Lines ReportFindings(const std::string& listing) {
  Lines places;
  const std::string examples = PBST_EXAMPLES;
  for (const std::string& line : Split(Output(std::string(PBST_REPORT_TOOL) + " --json " + listing + " " + examples + "main.pb"))) {
    const Json row = Json::parse(line);
    if (!row.contains("cells") || row["cells"][2] == "" || row["cells"][0] == "") continue;
    const std::string file = row["cells"][4];
    const std::string folder = file == "main.pb" ? examples : examples + "include/";
    places.push_back(folder + file + ":" + std::string(row["cells"][0]).substr(std::string(row["cells"][0]).find_first_not_of(' ')));
  }
  std::sort(places.begin(), places.end());
  return places;
}

/// The places of the heads of procedure `name` among the report tool's procedures.
Lines HeadPlaces(const std::string& name) {
  Lines heads;
  for (const std::string& place : ReportPlaces("procedures")) {
    const std::string line = place.substr(place.rfind(':') + 1);
    const std::string path = place.substr(0, place.rfind(':'));
    if (Output("sed -n " + line + "p " + path).find(" " + name + "(") != std::string::npos) heads.push_back(place);
  }
  return heads;
}

/// The places of the client's document symbols of main.pb, sorted.
Lines SymbolPlaces(const Lines& answers) {
  Lines symbols;
  for (const std::string& line : answers) {
    if (line.rfind("symbol ", 0) != 0) continue;
    symbols.push_back(std::string(PBST_EXAMPLES) + "main.pb:" + line.substr(line.rfind(' ') + 1));
  }
  std::sort(symbols.begin(), symbols.end());
  return symbols;
}

}  // namespace

TEST(NeovimClient, AnswersOnTheExampleAreTheReportToolsListings) {
  TestFolder folder;
  const std::string out = folder.Path() + "answers.txt";
  const std::string command = "cd " + folder.Path() + " && PBST_LSP_SERVER=" + PBST_LSP_SERVER +
                              " PBST_EXAMPLES=" + PBST_EXAMPLES + " PBST_OUT=" + out +
                              " timeout 120 nvim --headless --clean -c 'luafile " PBST_NEOVIM_CLIENT "' 2>&1";
  const std::string said = Output(command);
  std::ifstream in(out);
  std::stringstream read;
  read << in.rdbuf();
  const Lines answers = Split(read.str());
  ASSERT_FALSE(answers.empty()) << "Neovim (Debian's neovim, see scripts/install-deps) said: " << said;
  EXPECT_EQ(answers.back(), "end") << said;
  for (const std::string& line : answers) EXPECT_NE(line.rfind("error ", 0), 0u) << line;
  // AddItem: its head among the procedures, its calls, and the same calls as its callers'.
  const Lines head = HeadPlaces("AddItem");
  EXPECT_EQ(ClientPlaces(answers, "definition"), head);
  EXPECT_EQ(ClientPlaces(answers, "reference"), ReportPlaces("calls", "AddItem"));
  EXPECT_EQ(ClientPlaces(answers, "incoming"), ReportPlaces("calls", "AddItem"));
  EXPECT_EQ(ClientPlaces(answers, "outgoing"), ReportPlaces("callees", "Main"));
  Lines renamed = ReportPlaces("calls", "AddItem");
  renamed.insert(renamed.end(), head.begin(), head.end());
  std::sort(renamed.begin(), renamed.end());
  EXPECT_EQ(ClientPlaces(answers, "rename"), renamed);
  Lines main_heads;
  for (const std::string& place : ReportPlaces("procedures")) {
    if (place.rfind(std::string(PBST_EXAMPLES) + "main.pb:", 0) == 0) main_heads.push_back(place);
  }
  EXPECT_EQ(SymbolPlaces(answers), main_heads);
  // Diagnostics: the unused listing's and the Declare check's findings (the Declare check
  // names a missing Declare's procedure head and a differing Declare's line).
  Lines findings = ReportFindings("unused");
  const Lines declares = ReportFindings("declare-check");
  findings.insert(findings.end(), declares.begin(), declares.end());
  std::sort(findings.begin(), findings.end());
  EXPECT_EQ(ClientPlaces(answers, "diagnostic"), findings);
}
