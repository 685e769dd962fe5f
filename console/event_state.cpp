#include "console/event_state.h"

namespace morven {

int16_t MenuCommand = 0;

}  // namespace morven
