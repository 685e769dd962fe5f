#pragma once

namespace morven {

// The line is a call of a user procedure: the target line follows the token as two
// bytes, then the arguments.
void CallUserProcedure();

}  // namespace morven
