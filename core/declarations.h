#pragma once
// The name parser shared by the declaration commands.
#include "core/short_string.h"

namespace morven {

struct DeclaredName {
  ShortString name;        // upper case, suffix included
  ShortString dimensions;  // the text between the brackets of a named array, or empty
};

// Consumes one name of a comma-separated declaration list from RestOfLine; sets
// ArgListEnd at the last name. Raises 122 or 123 for names it does not accept.
DeclaredName ParseDeclaredName();

}  // namespace morven
