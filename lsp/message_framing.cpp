#include "lsp/message_framing.h"

#include <optional>

namespace {

/// One header line without its CR LF (a bare LF is taken as well); nullopt at the end of
/// the stream before any byte; `too_long` set for a line beyond the bound, of which only
/// the last bytes are kept: the next message's header may stand at its end.
std::optional<std::string> ReadHeaderLine(std::istream& in, bool& too_long) {
  std::string line;
  bool any = false;
  for (int c = in.get(); c != std::char_traits<char>::eof(); c = in.get()) {
    any = true;
    if (c == '\n') break;
    line.push_back(static_cast<char>(c));
    if (line.size() > 2 * MaxHeaderLineBytes) line.erase(0, line.size() - MaxHeaderLineBytes);
    too_long = too_long || line.size() > MaxHeaderLineBytes;
  }
  if (!any) return std::nullopt;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

bool EqualsFolded(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    const auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (fold(a[i]) != fold(b[i])) return false;
  }
  return true;
}

/// The value of a Content-Length field: digits only, at most one more than the bound (so
/// 10 GB, a sign or a fraction never converts into a usable size). -1 when malformed.
int64_t ContentLength(std::string_view value) {
  while (!value.empty() && (value.front() == ' ' || value.front() == '\t')) value.remove_prefix(1);
  while (!value.empty() && (value.back() == ' ' || value.back() == '\t')) value.remove_suffix(1);
  if (value.empty() || value.size() > 12) return -1;
  int64_t length = 0;
  for (const char c : value) {
    if (c < '0' || c > '9') return -1;
    length = length * 10 + (c - '0');
  }
  return length;
}

/// The header: the Content-Length, or -1 for a malformed header, -2 for a closed stream.
int64_t ReadHeader(std::istream& in, bool& any_line) {
  int64_t length = -1;
  bool malformed = false;
  for (;;) {
    bool too_long = false;
    std::optional<std::string> line = ReadHeaderLine(in, too_long);
    if (!line) return any_line ? -1 : -2;
    if (line->empty() && !too_long) {
      if (!any_line) continue;  // blank lines between messages are harmless
      return malformed ? -1 : length;
    }
    any_line = true;
    // The body of a message whose length was unusable or too large runs into the next
    // header on one line: the next message starts at its field name.
    const size_t next = line->find("Content-Length:");
    if (next != std::string::npos && (next > 0 || too_long)) {
      line->erase(0, next);
      malformed = false;
      too_long = line->size() > MaxHeaderLineBytes;
    }
    const size_t colon = line->find(':');
    if (too_long || colon == std::string::npos) {
      malformed = true;
    } else if (EqualsFolded(std::string_view(*line).substr(0, colon), "Content-Length")) {
      length = ContentLength(std::string_view(*line).substr(colon + 1));
      malformed = malformed || length < 0;
    }
  }
}

}  // namespace

Frame ReadFrame(std::istream& in) {
  bool any_line = false;
  const int64_t length = ReadHeader(in, any_line);
  if (length == -2) return {FrameEnd::Closed, {}};
  if (length < 0) return {FrameEnd::Malformed, {}};
  // Told at once, not after its bytes came: a sender that waits for the answer before it
  // sends more would wait for ever. Its body is skipped as the next header is looked for.
  if (static_cast<uint64_t>(length) > MaxMessageBytes) return {FrameEnd::TooLarge, {}};
  Frame frame{FrameEnd::Message, std::string(static_cast<size_t>(length), '\0')};
  in.read(frame.Body.data(), length);
  if (in.gcount() != length) return {FrameEnd::Truncated, {}};
  return frame;
}

void WriteFrame(std::ostream& out, std::string_view body) {
  out << "Content-Length: " << body.size() << "\r\n\r\n" << body;
  out.flush();
}
