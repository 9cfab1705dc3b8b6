#include "platform/sqlite/held_rows.h"

#include <sqlite3.h>

namespace vmu {

void HeldRows::Add(sqlite3_stmt* row) {
  for (int k = 0; k < fields_; ++k) {
    sqlite3_value* value = sqlite3_column_value(row, k);
    Value held{sqlite3_value_type(value), 0, 0, bytes_.size(), 0};
    switch (held.type) {
      case SQLITE_INTEGER: held.integer = sqlite3_value_int64(value); break;
      case SQLITE_FLOAT: held.real = sqlite3_value_double(value); break;
      case SQLITE_TEXT:
      case SQLITE_BLOB: {
        const void* data =
            held.type == SQLITE_TEXT ? static_cast<const void*>(sqlite3_value_text(value)) : sqlite3_value_blob(value);
        held.bytes = static_cast<std::size_t>(sqlite3_value_bytes(value));
        if (data) bytes_.append(static_cast<const char*>(data), held.bytes);
        break;
      }
      default: break;
    }
    values_.push_back(held);
  }
}

void HeldRows::Clear() {
  values_.clear();
  bytes_.clear();
}

int HeldRows::Bind(sqlite3_stmt* statement, int first, int r) const {
  for (int k = 0; k < fields_; ++k) {
    const Value& held = values_[static_cast<std::size_t>(r) * fields_ + k];
    const int index = first + k;
    int rc = SQLITE_OK;
    switch (held.type) {
      case SQLITE_INTEGER: rc = sqlite3_bind_int64(statement, index, held.integer); break;
      case SQLITE_FLOAT: rc = sqlite3_bind_double(statement, index, held.real); break;
      case SQLITE_TEXT:
        rc = sqlite3_bind_text64(statement, index, bytes_.data() + held.offset, held.bytes, SQLITE_STATIC, SQLITE_UTF8);
        break;
      case SQLITE_BLOB:
        // An empty blob stays a blob: a null pointer would bind NULL.
        rc = held.bytes ? sqlite3_bind_blob64(statement, index, bytes_.data() + held.offset, held.bytes, SQLITE_STATIC)
                        : sqlite3_bind_zeroblob(statement, index, 0);
        break;
      default: rc = sqlite3_bind_null(statement, index);
    }
    if (rc != SQLITE_OK) return rc;
  }
  return SQLITE_OK;
}

}  // namespace vmu
