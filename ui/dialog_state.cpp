#include "ui/dialog_state.h"

namespace morven {

int32_t DialogResult = 0;

}  // namespace morven
