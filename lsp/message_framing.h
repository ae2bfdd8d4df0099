// The framing of the language server's messages on a byte stream: a header of
// "Content-Length: N" (and other fields, which are skipped) ended by an empty line, then N
// bytes of JSON. Sizes are bounded so that a hostile header cannot make it allocate or wait
// for more than a message can hold.
#pragma once

#include <cstddef>
#include <cstdint>
#include <istream>
#include <ostream>
#include <string>
#include <string_view>

/// Largest body that is read; a larger Content-Length is refused.
constexpr size_t MaxMessageBytes = size_t{64} << 20;

/// Largest header line; a longer one is malformed.
constexpr size_t MaxHeaderLineBytes = 4096;

/// How the reading of one message ended.
enum class FrameEnd : uint8_t {
  Message,    ///< a whole body was read
  Closed,     ///< the stream ended before a message began
  Malformed,  ///< a header without a valid Content-Length, or a line too long
  TooLarge,   ///< a Content-Length beyond `MaxMessageBytes`
  Truncated,  ///< the stream ended inside a message
};

/// What `ReadFrame` read.
struct Frame {
  FrameEnd End = FrameEnd::Closed;
  std::string Body;  ///< the body for `Message`; empty otherwise
};

/// Reads the next message from `in`. After `Malformed` or `TooLarge` the next read skips
/// what is left of the bad message up to the next "Content-Length:" field.
Frame ReadFrame(std::istream& in);

/// Writes `body` to `out` with its header and flushes.
void WriteFrame(std::ostream& out, std::string_view body);
