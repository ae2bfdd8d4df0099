#include "lsp/message_framing.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

/// The ends (and bodies) of every frame of `input`, up to the end of the stream.
std::vector<std::string> Frames(const std::string& input) {
  std::istringstream in(input);
  std::vector<std::string> frames;
  for (;;) {
    const Frame frame = ReadFrame(in);
    if (frame.End == FrameEnd::Closed) break;
    const char* names[] = {"message ", "closed", "malformed", "too large", "truncated"};
    frames.push_back(names[static_cast<int>(frame.End)] + frame.Body);
    if (frame.End == FrameEnd::Truncated) break;
  }
  return frames;
}

}  // namespace

TEST(MessageFraming, ReadsBodiesOfTheirLengthWhateverElseTheHeaderSays) {
  EXPECT_EQ(Frames("Content-Length: 2\r\n\r\n{}Content-Length: 3\r\n\r\n[1]"),
            (std::vector<std::string>{"message {}", "message [1]"}));
  EXPECT_EQ(Frames("content-length:2\nContent-Type: application/vscode-jsonrpc; charset=utf-8\n\n{}"),
            (std::vector<std::string>{"message {}"}));
  EXPECT_EQ(Frames("\r\nContent-Length: 0\r\n\r\n"), (std::vector<std::string>{"message "}));
  std::ostringstream out;
  WriteFrame(out, "{\"a\":\"\xC3\xBC\"}");
  EXPECT_EQ(out.str(), "Content-Length: 10\r\n\r\n{\"a\":\"\xC3\xBC\"}");
}

// A bad header is reported and the reader finds the next message; a huge or negative
// length never allocates or waits for its bytes; an end inside a message is told.
TEST(MessageFraming, BadHeadersAreReportedAndTheNextMessageIsFound) {
  const std::string next = "Content-Length: 2\r\n\r\n{}";
  EXPECT_EQ(Frames("Content-Type: x\r\n\r\n" + next), (std::vector<std::string>{"malformed", "message {}"}));
  EXPECT_EQ(Frames("no colon here\r\n\r\n" + next), (std::vector<std::string>{"malformed", "message {}"}));
  EXPECT_EQ(Frames("Content-Length: -5\r\n\r\n{\"id\":1}" + next), (std::vector<std::string>{"malformed", "message {}"}));
  EXPECT_EQ(Frames("Content-Length: 2x\r\n\r\n" + next), (std::vector<std::string>{"malformed", "message {}"}));
  EXPECT_EQ(Frames("Content-Length: 99999999999999999999\r\n\r\n" + next), (std::vector<std::string>{"malformed", "message {}"}));
  EXPECT_EQ(Frames("Content-Length: 10000000000\r\n\r\n{\"id\":1}" + next), (std::vector<std::string>{"too large", "message {}"}));
  EXPECT_EQ(Frames("Content-Length: " + std::to_string(MaxMessageBytes + 1) + "\r\n\r\n" +
                   std::string(MaxMessageBytes + 1, ' ') + next),
            (std::vector<std::string>{"too large", "message {}"}));
  EXPECT_EQ(Frames(std::string(MaxHeaderLineBytes * 4, 'x') + "\r\n\r\n" + next),
            (std::vector<std::string>{"malformed", "message {}"}));
  EXPECT_EQ(Frames("Content-Length: 5\r\n\r\n{}"), (std::vector<std::string>{"truncated"}));
  EXPECT_EQ(Frames("Content-Length: 5"), (std::vector<std::string>{"malformed"}));
}
