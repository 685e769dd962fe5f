// The table file checks, structure files and memo line breaking.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/dbase_create.h"
#include "data/dbase_error.h"
#include "data/dbase_format.h"
#include "data/dbase_memo.h"

namespace morven {
namespace {

// A table file of the given fields and record count, with room for its records.
std::string TableFile(const std::vector<NewField>& fields, uint32_t count) {
  std::string file = NewTableFile(fields, 2024, 3, 9);
  file.pop_back();  // the 0x1A
  for (int i = 0; i < 4; ++i) file[4 + static_cast<size_t>(i)] = static_cast<char>(count >> (8 * i));
  int record_length = static_cast<uint8_t>(file[10]) | (static_cast<uint8_t>(file[11]) << 8);
  file.append(static_cast<size_t>(record_length) * count, ' ');
  return file + '\x1A';
}

FormatCheck Check(const std::string& file, std::vector<FieldDescriptor>& fields) {
  TableHeader header;
  auto bytes = reinterpret_cast<const uint8_t*>(file.data());
  FormatCheck check = ParseTableHeader(bytes, file.size() < 32 ? file.size() : 32, static_cast<int64_t>(file.size()), header);
  if (check.code != 0) return check;
  size_t area = static_cast<size_t>(header.header_length - 32);
  size_t got = file.size() - 32 < area ? file.size() - 32 : area;
  return ParseDescriptors(header, bytes + 32, got, fields);
}

const std::vector<NewField> kFields = {{"NAME", 'C', 20, 0}, {"PREIS", 'N', 8, 2}, {"DATUM", 'D', 8, 0}};

TEST(TableFormat, ASoundFileGivesNamesAndOffsets) {
  std::vector<FieldDescriptor> fields;
  FormatCheck check = Check(TableFile(kFields, 3), fields);
  ASSERT_EQ(check.code, 0) << check.reason;
  ASSERT_EQ(fields.size(), 3u);
  EXPECT_EQ(fields[1].name.Str(), "PREIS");
  EXPECT_EQ(fields[1].offset, 21);
  EXPECT_EQ(fields[2].offset, 29);
  EXPECT_EQ(fields[1].decimals, 2);
  uint8_t header[32] = {3, 124, 3, 9};
  EXPECT_EQ(UpdateDateText(header).Str(), "09.03.24");
}

TEST(TableFormat, DamagedHeadersAreRefused) {
  const std::string sound = TableFile(kFields, 3);
  struct Case {
    const char* what;
    std::string file;
    int32_t code;
  };
  auto patched = [&](size_t at, std::string bytes) {
    std::string f = sound;
    f.replace(at, bytes.size(), bytes);
    return f;
  };
  const std::vector<Case> cases = {
      {"wrong version", patched(0, "\x30"), 157},
      {"truncated header", sound.substr(0, 20), 158},
      {"cut inside the descriptors", sound.substr(0, 70), 158},
      {"header length below 33", patched(8, std::string("\x20\x00", 2)), 158},
      {"negative record length", patched(10, std::string("\x00\x80", 2)), 158},
      {"more descriptors than the header has", patched(8, std::string("\xA1\x00", 2)), 158},
      {"fewer descriptors than the header has", patched(8, std::string("\x61\x00", 2)), 158},
      {"record length shorter than the fields", patched(10, std::string("\x10\x00", 2)), 158},
      {"record count beyond the end", patched(4, std::string("\x04\x00\x00\x00", 4)), 158},
      {"negative record count", patched(4, "\xFF\xFF\xFF\xFF"), 158},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<FieldDescriptor> fields;
    EXPECT_EQ(Check(c.file, fields).code, c.code);
  }
  std::vector<FieldDescriptor> fields;
  std::string without_end_marker = sound.substr(0, sound.size() - 1);
  EXPECT_EQ(Check(without_end_marker, fields).code, 0);
}

TEST(StructureFile, Lines) {
  struct Case {
    std::vector<std::string> lines;
    int32_t message;  // 0: accepted
    std::vector<std::string> described;  // name type length decimals
  };
  const std::vector<Case> cases = {
      {{"preis;n;8;2", "Name;C;30;", "DATUM;D;", "NOTIZ;M;", "OK;L;", "x;Q;5;"}, 0,
       {"PREIS N 8 2", "NAME C 30 0", "DATUM D 8 0", "NOTIZ M 10 0", "OK L 1 0", "X C 5 0"}},
      {{" kundennummer_lang ;C;5;"}, 0, {"KUNDENNUMM C 5 0"}},
      {{"\xE4rger;C;5;"}, 0, {"\xC4RGER C 5 0"}},
      {{"A;C;5;", "", "  ", "B;C;5;"}, 0, {"A C 5 0", "B C 5 0"}},
      {{"NAME;C;10"}, 603, {}},
      {{"PREIS;N;8;"}, 604, {}},
      {{"PREIS;N;8;9"}, 604, {}},
      {{"PREIS;N;8;-1"}, 604, {}},
      {{"NAME;C;300;"}, 603, {}},
      {{"NAME;C;0;"}, 603, {}},
      {{"NAME;C;abc;"}, 603, {}},
      {{"A;C;5;", "a;N;3;0"}, 602, {}},
      {{";C;5;"}, 600, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lines.front());
    ClearDbError();
    std::vector<NewField> fields;
    bool ok = ParseStructure(c.lines, fields);
    EXPECT_EQ(ok, c.message == 0);
    EXPECT_EQ(DbError.number, c.message);
    if (!ok) continue;
    std::vector<std::string> described;
    for (const NewField& f : fields)
      described.push_back(f.name + " " + f.type + " " + std::to_string(f.length) + " " + std::to_string(f.decimals));
    EXPECT_EQ(described, c.described);
  }
  std::vector<std::string> too_long;
  for (int i = 0; i < 129; ++i) too_long.push_back("F" + std::to_string(i) + ";C;255;");
  std::vector<NewField> fields;
  ClearDbError();
  EXPECT_FALSE(ParseStructure(too_long, fields));
  EXPECT_EQ(DbError.number, 603);
}

TEST(StructureFile, TextLinesEndAtCrAndCtrlZ) {
  EXPECT_EQ(TextLines("a\r\nb\rc\n\r\x1A" "d"), (std::vector<std::string>{"a", "b", "c\n"}));
  EXPECT_EQ(TextLines(""), std::vector<std::string>{});
}

std::vector<std::string> Break(const std::string& memo, int32_t& end_position, bool& ended) {
  MemoLineBreaker breaker(80);
  end_position = 0;
  ended = breaker.Feed(reinterpret_cast<const uint8_t*>(memo.data()), memo.size(), end_position);
  if (!ended) breaker.Finish();
  return breaker.lines();
}

TEST(MemoLines, BreaksAndMarks) {
  int32_t end = 0;
  bool ended = false;
  EXPECT_EQ(Break("eins\r\nzwei\r\n\x1A", end, ended), (std::vector<std::string>{"eins", "zwei"}));
  EXPECT_TRUE(ended);
  EXPECT_EQ(end, 13);
  EXPECT_EQ(Break("weich\x8D" "bruch-\x8D" "x \x8D" "y\x1A", end, ended), (std::vector<std::string>{"weich bruch-x y"}));
  EXPECT_EQ(Break("\x8D" "a\x1A", end, ended), (std::vector<std::string>{"a"}));
  EXPECT_EQ(Break("\x1A", end, ended), (std::vector<std::string>{""}));
  EXPECT_EQ(Break("a\r\n\r\n\x1A", end, ended), (std::vector<std::string>{"a", ""}));
  EXPECT_EQ(Break("ohne Ende", end, ended), (std::vector<std::string>{"ohne Ende"}));
  EXPECT_FALSE(ended);
}

TEST(MemoLines, LongLinesBreakAfterTheLastBlankOrHyphen) {
  std::string words;
  while (words.size() < 600) words += "wort" + std::to_string(words.size() % 7) + " ";
  words += "\x1A";
  int32_t end = 0;
  bool ended = false;
  std::vector<std::string> lines = Break(words, end, ended);
  std::string joined;
  for (const std::string& l : lines) {
    EXPECT_LE(l.size(), 81u);
    if (l.size() == 81) {
      EXPECT_TRUE(l.back() == ' ' || l.back() == '-');
    }
    if (&l != &lines.back()) {
      EXPECT_EQ(l.back(), ' ');
    }
    joined += l;
  }
  EXPECT_EQ(joined + "\x1A", words);
  std::vector<std::string> solid = Break(std::string(170, 'x') + "\x1A", end, ended);
  EXPECT_EQ(solid, (std::vector<std::string>{std::string(80, 'x'), std::string(80, 'x'), std::string(10, 'x')}));
  std::vector<std::string> hyphen = Break(std::string(70, 'a') + "-" + std::string(20, 'b') + "\x1A", end, ended);
  EXPECT_EQ(hyphen, (std::vector<std::string>{std::string(70, 'a') + "-", std::string(20, 'b')}));
}

TEST(MemoLines, BlockNumbers) {
  EXPECT_EQ(MemoBlockNumber("         5"), 5);
  EXPECT_EQ(MemoBlockNumber("          "), 0);
  EXPECT_EQ(MemoBlockNumber("5         "), 5);
  EXPECT_EQ(MemoBlockNumber("  12x     "), -1);
  EXPECT_EQ(MemoBlockNumber("-3"), -1);
  EXPECT_EQ(MemoBlockNumber("99999999999"), -1);
}

}  // namespace
}  // namespace morven
