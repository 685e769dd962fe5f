#pragma once
// What a table does with its NDX indexes: computing keys from key expressions,
// attaching and creating index files, and keeping the master index up to date.
#include <cstdint>
#include <string_view>

#include "core/short_string.h"
#include "data/dbase_table.h"

namespace morven {

// The key of a record for a key expression: terms separated by "+" (every "+", also
// inside quotes). A term naming a field adds the field's bytes; a term beginning with a
// double quote adds its text without the quotes and trailing blanks; an empty term adds
// nothing. Any other term is code 601 (when report) and adds nothing. False when a
// term was refused. The key is cut at 255 bytes.
bool ComputeKey(const DbTable& t, std::string_view expression, const uint8_t* record, ShortString& key,
                bool report);

// The field a key-expression term names (ASCII letters upper-cased, blanks around it
// removed), or -1.
int FieldOfTerm(const DbTable& t, std::string_view term);

// Closes every attached index; afterwards no index is active.
void DetachIndexes(DbTable& t);

// Attaches the index files named in the list (split at blanks and commas; ".NDX" is
// added to each name); the first becomes the master. False when any failed.
bool AttachIndexes(DbTable& t, std::string_view names);

// Creates file name + ".NDX" from the key expression over every record of the table,
// and attaches it as the only index.
bool CreateIndex(DbTable& t, std::string_view expression, std::string_view name);

// After record n was written (asked for as requested): enters the buffer's key into
// the master index. old_record: the record's bytes before the write, when known.
void EnterMasterKey(DbTable& t, int32_t n, int32_t requested, const uint8_t* old_record);

}  // namespace morven
