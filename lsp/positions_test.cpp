#include "lsp/positions.h"

#include <gtest/gtest.h>

#include "lsp/uri.h"

// "ü" is two bytes and one UTF-16 unit, "😀" four bytes and two units, a byte that starts
// no sequence (Latin-1 "é") one of each; a column inside a character goes to its start.
TEST(Positions, ColumnsCountUtf16UnitsOrBytesAndInvalidBytesOnce) {
  const std::string line = "a\xC3\xBC\xF0\x9F\x98\x80\xE9z";
  EXPECT_EQ(ColumnOfByte(line, 3, PositionEncoding::Utf16), 2u);
  EXPECT_EQ(ColumnOfByte(line, 7, PositionEncoding::Utf16), 4u);
  EXPECT_EQ(ColumnOfByte(line, 8, PositionEncoding::Utf16), 5u);
  EXPECT_EQ(ColumnOfByte(line, 99, PositionEncoding::Utf16), 6u);
  EXPECT_EQ(ColumnOfByte(line, 8, PositionEncoding::Utf8), 8u);
  EXPECT_EQ(ByteOfColumn(line, 4, PositionEncoding::Utf16), 7u);
  EXPECT_EQ(ByteOfColumn(line, 3, PositionEncoding::Utf16), 3u);  // inside the surrogate pair
  EXPECT_EQ(ByteOfColumn(line, 5, PositionEncoding::Utf16), 8u);
  EXPECT_EQ(ByteOfColumn(line, 500, PositionEncoding::Utf16), line.size());
  EXPECT_EQ(ByteOfColumn("\xF0\x9F", 1, PositionEncoding::Utf16), 1u);  // a cut-off sequence
}

// Lines end at LF, CR LF or a lone CR, as the protocol counts them; offsets past the end
// are clamped, so an edit there appends.
TEST(Positions, LinesAndOffsetsFollowTheProtocolsLineEnds) {
  const std::string text = "one\r\ntwo\rthree\nfour";
  const TextLines lines(text);
  ASSERT_EQ(lines.Count(), 4u);
  EXPECT_EQ(lines.Line(1), "two");
  EXPECT_EQ(lines.Line(2), "three");
  EXPECT_EQ(lines.Line(4), "");
  EXPECT_EQ(LineOfText(text, 3), "four");
  EXPECT_EQ(TextLines("a\n").Count(), 2u);
  EXPECT_EQ(OffsetOf(text, {1, 1}, PositionEncoding::Utf16), 6u);
  EXPECT_EQ(OffsetOf(text, {2, 99}, PositionEncoding::Utf16), 14u);
  EXPECT_EQ(OffsetOf(text, {9, 0}, PositionEncoding::Utf16), text.size());
}

TEST(Uri, FileUrisAndPathsConvertBothWays) {
  EXPECT_EQ(PathOfUri("file:///home/a%20b/m%C3%BC.pb"), "/home/a b/m\xC3\xBC.pb");
  EXPECT_EQ(PathOfUri("file://localhost/x.pb"), "/x.pb");
  EXPECT_EQ(PathOfUri("http://x/y.pb"), std::nullopt);
  EXPECT_EQ(PathOfUri("file://host/x.pb"), std::nullopt);
  EXPECT_EQ(PathOfUri("file:///x%2"), std::nullopt);
  EXPECT_EQ(PathOfUri("file:///x%00y"), std::nullopt);
  EXPECT_EQ(UriOfPath("/a b/#1/m\xC3\xBC.pb"), "file:///a%20b/%231/m%C3%BC.pb");
  EXPECT_EQ(PathOfUri(UriOfPath("/a%b?c")), "/a%b?c");
}
