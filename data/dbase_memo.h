#pragma once
// Memo files (.DBT): blocks of 512 bytes. Block 0 is the header: bytes 0..3 hold the
// next free block number, the rest is zero. A memo fills consecutive blocks from the
// block number its memo field holds as text: lines ended by CR LF, then one 0x1A; the
// rest of its last block is zero. A new memo file is the header (next free block 1)
// and one 0x1A byte.
#include <cstdint>
#include <string>
#include <vector>

#include "data/dbase_table.h"

namespace morven {

constexpr int32_t kMemoBlockSize = 512;
constexpr uint8_t kMemoEnd = 0x1A;
constexpr uint8_t kSoftBreak = 0x8D;

// Turns memo bytes into lines: LF is dropped, CR ends a line, 0x1A ends the line (when
// one was begun after the last CR) and the memo, a soft line break (0x8D) becomes one blank unless the line is empty or ends
// in a blank or "-". A line longer than the wrap width is broken after its last blank
// or "-" (or after wrap width characters when it has none).
class MemoLineBreaker {
 public:
  explicit MemoLineBreaker(int32_t wrap_width) : wrap_(wrap_width < 1 ? 1 : wrap_width) {}
  // Takes one block's bytes; true when the memo's 0x1A was among them. end_position is
  // then its 1-based position in the block.
  bool Feed(const uint8_t* bytes, size_t count, int32_t& end_position);
  // The line begun but not ended (a memo without 0x1A at the end of the file).
  void Finish();
  std::vector<std::string>& lines() { return lines_; }

 private:
  void EndLine();
  void Track(uint8_t c);
  int32_t wrap_;
  bool after_line_end_ = false;  // the last byte ended a line (CR, and LF after it)
  std::string line_;
  std::vector<std::string> lines_;
};

// The memo of the named field into the StringList (0x47): the memo result, or -1 for
// a field that is not a memo field.
int32_t ReadMemoField(DbTable& t, std::string_view field_name);
// The StringList as the memo of the named field (0x48): 1 written, 0 not.
int32_t WriteMemoField(DbTable& t, std::string_view field_name);

// Copies the memo starting at `block` of one memo file to the end of another (used by
// packing). new_block: where it starts there. False on an I/O failure or a block
// outside the source (DbError says which).
bool CopyMemo(BufferedFile& from, std::string_view from_name, int32_t block, BufferedFile& to,
              std::string_view to_name, int32_t& new_block);

// Writes a memo file header with the given next free block.
bool WriteMemoHeader(BufferedFile& file, std::string_view name, int32_t next_free);
// The file's size in whole or begun blocks.
int32_t MemoFileBlocks(const BufferedFile& file);

// The block number a memo field's text holds: blanks, then digits; -1 when the text is
// not such a number (an empty text is 0).
int64_t MemoBlockNumber(std::string_view text);

}  // namespace morven
