#include "lsp/server_loop.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <set>
#include <thread>

#include "lsp/language_server.h"
#include "lsp/message_framing.h"

namespace {

/// The host of the server's listings: Stop is a cancellation of the running request.
class CancelHost : public ListingHost {
 public:
  bool PollStop() override { return stop.load(std::memory_order_relaxed); }
  void SetStopEnabled(bool) override {}
  std::atomic<bool> stop{false};
};

/// What the reader hands the loop, and the cancellations it saw.
class Inbox {
 public:
  /// Queues a message, or records a cancellation (stopping the request when it runs).
  void Put(ReadMessage message, CancelHost& host);
  /// Marks the end of the input.
  void Close();
  /// Waits up to `wait` for a message; false when none came (or the input ended: `Closed`).
  bool Take(ReadMessage& message, std::chrono::milliseconds wait);
  /// True once the input ended and every message was taken.
  bool Closed();
  /// Sets `id` running; true when it was cancelled before it ran.
  bool Start(const Json& id);
  /// No request runs.
  void Finish();
  /// While diagnostics are found, any message that comes in stops them.
  void SetPublishing(bool publishing);

 private:
  std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<ReadMessage> messages_;
  std::set<std::string> cancelled_;
  std::string running_;
  bool publishing_ = false;
  bool closed_ = false;
};

void Inbox::Put(ReadMessage message, CancelHost& host) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (publishing_) host.stop = true;
  const Incoming* incoming = std::get_if<Incoming>(&message);
  if (incoming != nullptr && incoming->Method == "$/cancelRequest") {
    const std::string id = incoming->Params.is_object() ? incoming->Params.value("id", Json()).dump() : "";
    if (!id.empty() && id == running_) host.stop = true;
    if (cancelled_.size() >= 1024) cancelled_.clear();  // ids of requests answered long ago
    cancelled_.insert(id);
    return;
  }
  messages_.push_back(std::move(message));
  ready_.notify_one();
}

void Inbox::Close() {
  std::lock_guard<std::mutex> lock(mutex_);
  closed_ = true;
  ready_.notify_one();
}

bool Inbox::Take(ReadMessage& message, std::chrono::milliseconds wait) {
  std::unique_lock<std::mutex> lock(mutex_);
  ready_.wait_for(lock, wait, [this] { return !messages_.empty() || closed_; });
  if (messages_.empty()) return false;
  message = std::move(messages_.front());
  messages_.pop_front();
  return true;
}

bool Inbox::Closed() {
  std::lock_guard<std::mutex> lock(mutex_);
  return closed_ && messages_.empty();
}

bool Inbox::Start(const Json& id) {
  std::lock_guard<std::mutex> lock(mutex_);
  running_ = id.dump();
  return cancelled_.erase(running_) != 0;
}

void Inbox::Finish() {
  std::lock_guard<std::mutex> lock(mutex_);
  running_.clear();
}

void Inbox::SetPublishing(bool publishing) {
  std::lock_guard<std::mutex> lock(mutex_);
  publishing_ = publishing;
}

/// The reader thread's work: every message of `in` into the inbox, then its end. A bad
/// frame is answered with an error (id null), as JSON-RPC does for a message it cannot read.
void ReadMessages(std::istream& in, Inbox& inbox, CancelHost& host) {
  for (;;) {
    Frame frame = ReadFrame(in);
    if (frame.End == FrameEnd::Closed || frame.End == FrameEnd::Truncated) break;
    if (frame.End == FrameEnd::Malformed) {
      inbox.Put(ErrorResponse(nullptr, ParseError, "a malformed message header"), host);
    } else if (frame.End == FrameEnd::TooLarge) {
      inbox.Put(ErrorResponse(nullptr, InvalidRequest, "a message larger than the server reads"), host);
    } else {
      inbox.Put(ReadIncoming(frame.Body), host);
    }
  }
  inbox.Close();
}

/// Handles one message; a request runs with a Stop that only its cancellation sets.
void Dispatch(LanguageServer& server, Inbox& inbox, CancelHost& host, const ReadMessage& message) {
  const Incoming* incoming = std::get_if<Incoming>(&message);
  if (incoming == nullptr || !incoming->IsRequest) {
    server.Handle(message);
    return;
  }
  host.stop = false;
  if (inbox.Start(incoming->Id)) {
    server.Cancelled(incoming->Id);
  } else {
    server.Handle(message);
  }
  inbox.Finish();
  host.stop = false;
}

/// What the reader thread and the loop share; the reader may outlive the loop.
struct Shared {
  Inbox inbox;
  CancelHost host;
  std::atomic<bool> reader_done{false};
};

}  // namespace

int ServeLanguageClient(std::istream& in, std::ostream& out) {
  auto shared = std::make_shared<Shared>();
  LanguageServer server([&out](const Json& message) { WriteFrame(out, SerializeMessage(message)); },
                        shared->host);
  std::thread reader([shared, &in] {
    ReadMessages(in, shared->inbox, shared->host);
    shared->reader_done = true;
  });
  while (!server.Exited()) {
    ReadMessage message;
    const bool due = server.DiagnosticsDue();
    if (shared->inbox.Take(message, due ? DiagnosticsDelay : std::chrono::milliseconds(1000))) {
      Dispatch(server, shared->inbox, shared->host, message);
    } else if (due) {
      // Diagnostics give way to whatever the editor asks meanwhile.
      shared->host.stop = false;
      shared->inbox.SetPublishing(true);
      server.PublishDiagnostics();
      shared->inbox.SetPublishing(false);
      shared->host.stop = false;
    } else if (shared->inbox.Closed()) {
      break;
    }
  }
  // After exit the reader may wait on an input that never ends: it is left to the process end.
  if (shared->reader_done) {
    reader.join();
  } else {
    reader.detach();
  }
  return server.ExitStatus();
}
