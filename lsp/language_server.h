// The language server's state between messages: the lifecycle (initialize, shutdown,
// exit), the dispatch of requests through the request table with the protocol's error
// codes, the open documents, and the diagnostics that wait to be published.
#pragma once

#include <functional>
#include <map>
#include <set>
#include <string>
#include <string_view>

#include "listings/listing_host.h"
#include "lsp/json_rpc.h"
#include "lsp/positions.h"
#include "lsp/workspace.h"

/// One language server session.
class LanguageServer {
 public:
  /// Sends a message to the client.
  using Send = std::function<void(const Json&)>;

  /// A session that answers through `send` and runs listings with `host`.
  LanguageServer(Send send, ListingHost& host) : send_(std::move(send)), host_(host) {}

  /// Handles one message as read.
  void Handle(const ReadMessage& message);
  /// Answers request `id` as cancelled without running it.
  void Cancelled(const Json& id);
  /// True after the exit notification.
  bool Exited() const { return exited_; }
  /// The status to end with: 0 when shutdown came before the end, else 1.
  int ExitStatus() const { return shut_down_ ? 0 : 1; }
  /// True when documents changed since diagnostics were last published (never after shutdown).
  bool DiagnosticsDue() const { return !shut_down_ && (!changed_.empty() || all_due_); }
  /// Publishes the diagnostics of the projects of the changed documents (and clears those
  /// published before that are gone). When the host stops it, nothing is sent and they
  /// stay due.
  void PublishDiagnostics();

 private:
  void HandleRequest(const Incoming& request);
  void HandleNotification(const Incoming& notification);
  Json Initialize(const Json& params);
  Json Answer(const Incoming& request);
  void ChangeDocument(const Json& params);
  std::set<ServedProject*> DueProjects();
  void PublishProject(const std::string& main_file, std::map<std::string, Json> found);

  Send send_;
  ListingHost& host_;
  Workspace workspace_;
  PositionEncoding encoding_ = PositionEncoding::Utf16;
  bool initialized_ = false;
  bool shut_down_ = false;
  bool exited_ = false;
  std::set<std::string> changed_;    ///< documents whose projects' diagnostics are due
  bool all_due_ = false;             ///< files changed on disk: every project's are due
  /// Per project (by main file), the files that have diagnostics on the client.
  std::map<std::string, std::set<std::string>> published_;
};
