#pragma once
// The posted actions on Qt's event loop: Post() queues a call of Dispatch(),
// which runs once the current event handler has returned.
#include "core/posted_actions.h"

namespace kvf {

// The queue of the program's frame; its scheduling is a queued call on the
// application object (an application must exist before the first Post).
TPostedActions& QtPostedActions();

}  // namespace kvf
