// The argument reader on literal and quoted arguments: contexts, separators, escapes,
// literal types and the errors it raises. Error mode -1 keeps every box away.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/argument_reader.h"
#include "core/number_text.h"
#include "core/program_state.h"
#include "core/registers.h"
#include "errors/run_error.h"

namespace morven {
namespace {

class ArgumentReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ErrorMode = -1;
    ErrorState = 0;
    LastErrorNumber = 0;
    ProgramLoaded = true;
    CommandToken = 0x40;
    Decimals = 6;
    NumberWidth = 0;
  }
  void SetLine(const std::string& text) {
    line_ = text;
    RestOfLine = line_;
  }
  std::string line_;
};

struct Item {
  std::string text;
  char separator;
  bool list_end;
};

TEST_F(ArgumentReaderTest, ListContextSplitsAtCommaSemicolonAndPlus) {
  SetLine("1,2;3+4");
  std::vector<Item> items;
  do {
    ReadArgument('p', kKindAny);
    items.push_back({StringValue.Str(), ArgSeparator, ArgListEnd});
  } while (!ArgListEnd && items.size() < 10);
  ASSERT_EQ(items.size(), 4u);
  EXPECT_EQ(items[0].text, "1");
  EXPECT_EQ(items[0].separator, ',');
  EXPECT_EQ(items[1].separator, ';');
  EXPECT_EQ(items[2].text, "3");
  EXPECT_EQ(items[2].separator, ';');  // "+" reports itself as ";"
  EXPECT_EQ(items[3].text, "4");
  EXPECT_EQ(items[3].separator, ' ');
  EXPECT_TRUE(items[3].list_end);
  EXPECT_EQ(std::string(RestOfLine), "4");  // the last item stays in the line
}

TEST_F(ArgumentReaderTest, ContextsEndTheArgumentAtTheirCharacter) {
  struct Case {
    std::string line;
    char context;
    std::string value;
    std::string rest;
  } cases[] = {
      {"12,34", ',', "12", "34"},
      {"\"a,b\",7", ',', "a,b", "7"},
      {"5)rest", ')', "5", "rest"},
      {"1:2", ':', "1", "2"},
      {"(1=2)=4", '=', "(1=2)", "4"},
      {"3]=4", '=', "3]=4", ""},  // after a stray "]" nothing matches
      {"7=]9", '=', "7", "9"},  // a "]" right after the separator goes too
      {"1,2,3", ' ', "1,2,3", ""},
      {"42", ',', "42", ""},  // no separator: the whole rest
  };
  for (const Case& c : cases) {
    SetLine(c.line);
    ReadArgument(c.context, kKindAny);
    EXPECT_EQ(StringValue.Str(), c.value) << c.line;
    EXPECT_EQ(std::string(RestOfLine), c.rest) << c.line;
  }
}

TEST_F(ArgumentReaderTest, QuotedStringEscapes) {
  struct Case {
    std::string literal;
    uint8_t kind;
    std::string value;
  } cases[] = {
      {R"("a\\n")", kKindAny, "a\\n"},
      {R"("a\n")", kKindAny, "a\r"},
      {R"("C:\.new")", kKindAny, "C:\\new"},
      {R"("x\ay\tz")", kKindAny, "x\by\tz"},
      {R"("C:\new")", kKindRawString, "C:\\new"},
      {R"("\\\\srv")", kKindRawString, "\\\\srv"},
      {R"("\q")", kKindAny, "\\q"},  // unknown sequences stay
      {"\"", kKindAny, ""},          // a lone quote is an empty string
      {"\"\"", kKindAny, ""},
  };
  for (const Case& c : cases) {
    SetLine(c.literal);
    ReadArgument(' ', c.kind);
    EXPECT_EQ(StringValue.Str(), c.value) << c.literal;
    EXPECT_EQ(ValueType, kTypeString) << c.literal;
  }
}

TEST_F(ArgumentReaderTest, QuotedStringKeepsTheNumericRegisters) {
  SetLine("1.5");
  ReadArgument(' ', kKindAny);
  SetLine("\"abc\"");
  ReadArgument(' ', kKindString);
  EXPECT_EQ(IntValue, 1);
  EXPECT_DOUBLE_EQ(FloatValue, 1.5);
}

TEST_F(ArgumentReaderTest, NumberLiterals) {
  struct Case {
    std::string text;
    uint8_t type;
    int32_t long_value;
    double float_value;
  } cases[] = {
      {"1E3", kTypeLong, 1, 1000.0},
      {"1.5", kTypeFloat, 1, 1.5},
      {"-2.7", kTypeFloat, -2, -2.7},
      {"42", kTypeLong, 42, 42.0},
      {" 7", kTypeLong, 7, 7.0},
      {"1e-2", kTypeLong, 1, 0.01},  // upper-cased to 1E-2 first
  };
  for (const Case& c : cases) {
    SetLine(c.text);
    ReadArgument(' ', kKindAny);
    EXPECT_EQ(ValueType, c.type) << c.text;
    EXPECT_EQ(LongValue, c.long_value) << c.text;
    EXPECT_EQ(IntValue, c.long_value) << c.text;
    EXPECT_DOUBLE_EQ(FloatValue, c.float_value) << c.text;
    EXPECT_EQ(ErrorState, 0) << c.text;
  }
}

TEST_F(ArgumentReaderTest, TextThatIsNoNumberWarnsAndStaysAString) {
  for (std::string text : {"12ABC", "1.5 ", "", "-"}) {
    ErrorState = 0;
    LastErrorNumber = 0;
    SetLine(text);
    ReadArgument('p', kKindAny);
    EXPECT_EQ(ValueType, kTypeString) << text;
    EXPECT_EQ(ErrorState, 1) << text;
    EXPECT_EQ(LastErrorNumber, 214) << text;
  }
}

TEST_F(ArgumentReaderTest, MinusContextCutsAtALeadingMinus) {
  SetLine("-5-3");
  ReadArgument('-', kKindAny);
  EXPECT_EQ(StringValue.Str(), "");
  EXPECT_EQ(LastErrorNumber, 214);
  EXPECT_EQ(std::string(RestOfLine), "5-3");
}

TEST_F(ArgumentReaderTest, EmptyLineOutsideTheListContextIsTooFewParameters) {
  SetLine("");
  EXPECT_THROW(ReadArgument(',', kKindAny), StatementAbandoned);
  EXPECT_EQ(LastErrorNumber, 212);
  EXPECT_EQ(ErrorState, 2);
}

TEST_F(ArgumentReaderTest, KindMismatchIsWrongParameterType) {
  struct Case {
    std::string text;
    uint8_t kind;
    bool fails;
  } cases[] = {
      {"\"x\"", kKindNumber, true}, {"5", kKindString, true}, {"5", kKindRawString, true},
      {"5", kKindNumber, false},     {"\"x\"", kKindString, false}, {"\"x\"", kKindAny, false},
  };
  for (const Case& c : cases) {
    LastErrorNumber = 0;
    SetLine(c.text);
    if (c.fails) {
      EXPECT_THROW(ReadArgument(' ', c.kind), StatementAbandoned) << c.text;
      EXPECT_EQ(LastErrorNumber, 216) << c.text;
    } else {
      EXPECT_NO_THROW(ReadArgument(' ', c.kind)) << c.text;
    }
  }
}

}  // namespace
}  // namespace morven
