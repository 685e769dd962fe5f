#pragma once
// Field access in the record buffer: lookup by name and number, the current-field
// values the lookups leave, reading and putting field texts, and the code-page
// conversion of field texts while the console shows the OEM font.
#include <cstdint>
#include <string_view>

#include "core/short_string.h"
#include "data/dbase_table.h"

namespace morven {

// The index of the field with that name, or -1. The name is upper-cased (ASCII letters
// only) and loses its trailing blanks; stored names are compared as they are.
int FindField(const DbTable& t, std::string_view name);

// A successful lookup sets the current-field values from the descriptor; a failed one
// sets the type to a blank and the others to 0 or empty.
void SelectField(DbTable& t, int index);
void ForgetField(DbTable& t);

// The field's bytes in the buffer, exactly its length.
std::string_view FieldBytes(const DbTable& t, int index);
// Fills the field with blanks and copies the value in from the left, cut to its length.
void PutFieldBytes(DbTable& t, int index, std::string_view value);

// True while field texts are stored in the OEM code page: the console's text font 1.
bool OemFieldText();
// OEM to ANSI (field texts read) and ANSI to OEM (values and search texts handed in),
// when `convert`.
ShortString FieldTextToProgram(std::string_view text, bool convert);
ShortString ProgramTextToField(std::string_view text, bool convert);

}  // namespace morven
