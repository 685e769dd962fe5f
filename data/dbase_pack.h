#pragma once
#include <cstdint>

#include "data/dbase_table.h"

namespace morven {

// Removes the records marked deleted (0xE2) and, with memo fields, compacts the memo
// file; detaches the indexes. The record count afterwards.
int32_t PackTable(DbTable& t);

}  // namespace morven
