#pragma once
// The main window's procedure: window messages become the event state.
#include <cstdint>

#include "platform/message_queue.h"

namespace morven {

// The procedure of class "FENSTER"; with DialogNavigation chosen at creation, its
// dialog variant.
int32_t MainWindowProcedure(const platform::Message& message);

}  // namespace morven
