#include "frontend/display_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct TextCase {
  const char* bytes;
  const char* display;
};

void ExpectDisplayed(std::initializer_list<TextCase> cases) {
  for (const TextCase& c : cases) {
    SCOPED_TRACE(c.bytes);
    EXPECT_EQ(ToDisplayText(c.bytes), c.display);
  }
}

}  // namespace

TEST(DisplayText, ValidUtf8StaysUnchanged) {
  ExpectDisplayed({{"", ""},
                   {"Procedure Foo()", "Procedure Foo()"},
                   {"Datei w\xC3\xA4hlen", "Datei w\xC3\xA4hlen"},
                   {"\xE2\x82\xAC 5", "\xE2\x82\xAC 5"},
                   {"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},
                   {"\xF4\x8F\xBF\xBF", "\xF4\x8F\xBF\xBF"},
                   {"\xED\x9F\xBF", "\xED\x9F\xBF"},
                   {"\xEF\xBF\xBD", "\xEF\xBF\xBD"}});
}

TEST(DisplayText, Iso885915IsConvertedWhereItDiffersFromLatin1) {
  ExpectDisplayed({{"\xA4", "\xE2\x82\xAC"},
                   {"\xA6", "\xC5\xA0"},
                   {"\xA8", "\xC5\xA1"},
                   {"\xB4", "\xC5\xBD"},
                   {"\xB8", "\xC5\xBE"},
                   {"\xBC", "\xC5\x92"},
                   {"\xBD", "\xC5\x93"},
                   {"\xBE", "\xC5\xB8"}});
}

TEST(DisplayText, Iso885915IsConvertedLikeLatin1Elsewhere) {
  ExpectDisplayed({{"Datei w\xE4hlen", "Datei w\xC3\xA4hlen"},
                   {"\x80", "\xC2\x80"},
                   {"\xA0\xA5\xA7\xBB\xBF", "\xC2\xA0\xC2\xA5\xC2\xA7\xC2\xBB\xC2\xBF"},
                   {"\xC0\xFF", "\xC3\x80\xC3\xBF"}});
}

TEST(DisplayText, InvalidUtf8ConvertsTheWholeText) {
  ExpectDisplayed({
      {"\xC0\xAF", "\xC3\x80\xC2\xAF"},                   // overlong "/"
      {"\xE0\x80\xAF", "\xC3\xA0\xC2\x80\xC2\xAF"},       // overlong three bytes
      {"\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xC2\x80"},       // surrogate
      {"\xF4\x90\x80\x80", "\xC3\xB4\xC2\x90\xC2\x80\xC2\x80"},  // above U+10FFFF
      {"\xC3", "\xC3\x83"},                                // cut short
      {"x\xC3\xA4\xE4", "x\xC3\x83\xE2\x82\xAC\xC3\xA4"},  // UTF-8 and Latin mixed
      {"\xF5\x80", "\xC3\xB5\xC2\x80"},
  });
}

TEST(DisplayText, EveryByteOfTheUpperHalfConvertsToOneCharacter) {
  std::string all;
  for (int b = 0x80; b <= 0xFF; ++b) all += static_cast<char>(b);
  const std::string display = ToDisplayText(all);
  size_t characters = 0;
  for (const char c : display) characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  EXPECT_EQ(characters, 128u);
  EXPECT_EQ(ToDisplayText(display), display);  // the result is valid UTF-8
}

TEST(DisplayText, AppendingKeepsWhatTheTextHeldAndConvertsOnlyWhatItAdds) {
  std::string text = "\xC3\xA4 ";
  AppendDisplayText(text, "Datei w\xC3\xA4hlen");
  AppendDisplayText(text, " \xE4\xA4");
  AppendDisplayText(text, "");
  EXPECT_EQ(text, "\xC3\xA4 Datei w\xC3\xA4hlen \xC3\xA4\xE2\x82\xAC");
}
