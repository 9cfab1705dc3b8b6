// Step 3's check that the update folder holds exactly what step 2's
// unpacker wrote: nothing changed, added or taken away since.
#pragma once

namespace vmu {

class FrmConversie;

// True when the files match the unpacker's report (or when there is no
// package checker to hash with). Otherwise sets the failure with the
// damaged-package text and logs which file differs.
bool UnpackedFilesIntact(FrmConversie& form);

}  // namespace vmu
