// The transfer that follows the conversion's checks: the control table
// TblTabels in the conversion database says which tables of the new database
// to empty and which queries on the old database fill them.
#pragma once

namespace vmu {

struct ConversionRun;

// Runs with the run's three connections open; ends by closing them and
// moving the filled new database to the old database's name inside the
// update folder. Every error goes on to the caller; rows added before it
// stay added.
void TransferTables(ConversionRun& run);

}  // namespace vmu
