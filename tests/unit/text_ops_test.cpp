#include <gtest/gtest.h>

#include <string>

#include "core/text_ops.h"

namespace morven {
namespace {

TEST(FindTopLevel, SkipsQuotesParenthesesBracketsAndFunctionCalls) {
  // name, a quoted string with a comma, a function call with two arguments, final comma
  const std::string text = "A$,\"x,y\",@\x81" "1,2),";
  size_t first = FindTopLevel(',', text);
  EXPECT_EQ(first, 3u);
  std::string rest = text.substr(first);
  size_t second = FindTopLevel(',', rest);
  EXPECT_EQ(rest.substr(0, second - 1), "\"x,y\"");
  std::string tail = rest.substr(second);
  EXPECT_EQ(FindTopLevel(',', tail), tail.size());
}

TEST(FindTopLevel, Cases) {
  struct Case {
    char ch;
    std::string text;
    size_t position;
  } cases[] = {
      {',', "", 0},
      {',', "abc", 0},
      {',', "(a,b),c", 6},
      {',', "A[1,2],3", 7},
      {',', "a),b", 0},           // after a stray ")" nothing matches
      {',', "\"unterminated,", 0},
      {'(', "(x", 1},             // the test comes before the counting
      {':', "@\x22:\":x", 0},     // a code byte that is a quote opens a quote
  };
  for (const Case& c : cases) EXPECT_EQ(FindTopLevel(c.ch, c.text), c.position) << c.text;
}

TEST(ReplaceAll, ReplacementsAreNotSearchedAgainAndTheResultIsCut) {
  EXPECT_EQ(ReplaceAll("aaa", "a", "aa").Str(), "aaaaaa");
  EXPECT_EQ(ReplaceAll("abcabc", "bc", "").Str(), "aa");
  EXPECT_EQ(ReplaceAll("xyz", "q", "r").Str(), "xyz");
  EXPECT_EQ(ReplaceAll(std::string(200, 'a'), "a", "bb").length, 255);
}

TEST(TrimBlanks, RemovesBytesBelow0x21) {
  EXPECT_EQ(TrimBlanks(" \t\r\nab c\x01 "), "ab c");
  EXPECT_EQ(TrimBlanks("   "), "");
}

TEST(UpperText, MapsTheAnsiLettersOnly) {
  ShortString s(std::string("az\xE0\xF6\xF7\xF8\xFE\xFF\xDF" "1!"));
  UpperText(s);
  EXPECT_EQ(s.Str(), std::string("AZ\xC0\xD6\xF7\xD8\xDE\xFF\xDF" "1!"));
}

}  // namespace
}  // namespace morven
