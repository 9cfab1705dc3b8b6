// Memo and OLE values: a 12-byte reference in the row to the bytes, which
// lie in the row itself, in one row of another page, or in a chain of them.
#pragma once

#include <string>
#include <string_view>

#include "platform/mdb/libmdb.h"

namespace vmu {

// The whole value, however long; false when the reference or a page of the
// chain is damaged. Uses the handle's second page buffer only.
bool ReadLongValue(MdbHandle* mdb, std::string_view field, std::string& out);

}  // namespace vmu
