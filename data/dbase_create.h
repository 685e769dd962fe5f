#pragma once
// Creating a table (0xF9) from a structure file: a text file with one field per line,
// written as name;type;length;decimals — for example PREIS;N;8;2, NAME;C;30; or
// DATUM;D;. A part is the text up to the next ";"; without a further ";" the part is
// empty and the rest of the line stays for the next part. The decimals are the rest.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "data/dbase_format.h"

namespace morven {

// The fields the lines describe; false at the first line in error (DbError: 801
// duplicate name, 802 bad length, 803 bad decimals). Blank lines describe nothing.
bool ParseStructure(const std::vector<std::string>& lines, std::vector<NewField>& fields);

// Creates the table file (and, with memo fields, its memo file) from the structure
// file. False when it failed (DbError says why); then no file was created.
bool CreateTable(std::string_view table_name, std::string_view structure_name);

// The lines of a text file as the runtime reads them: a line ends at CR (an LF after
// it is skipped), a Ctrl-Z ends the file.
std::vector<std::string> TextLines(std::string_view data);

}  // namespace morven
