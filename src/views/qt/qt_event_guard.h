// The boundary between Qt's event handlers and the logic: nothing the logic
// throws may cross into Qt.
#pragma once

#include <functional>

namespace vmu {

// Runs one call of the logic from an event handler (or from main before the
// event loop). ProgramEnded ends the event loop; any other error is shown in
// a message box and the program keeps running. True when the call ran to
// its end.
bool RunGuarded(const std::function<void()>& call);

// Records that the program ends now and leaves the event loop (when one
// runs): the wizard window has closed.
void NoteProgramEnded();

// True once the logic has ended the program; main then does not start (or
// leaves) the event loop.
bool ProgramHasEnded();

}  // namespace vmu
