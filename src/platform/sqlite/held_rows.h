// Rows of a result kept past the statement's next step, so that several can
// go into one INSERT: the values share one buffer, nothing is allocated per
// value once the buffer has grown to a batch.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct sqlite3_stmt;

namespace vmu {

class HeldRows {
 public:
  explicit HeldRows(int fields) : fields_(fields) {}

  // Keeps the first `fields` columns of the statement's current row.
  void Add(sqlite3_stmt* row);
  int size() const { return fields_ ? static_cast<int>(values_.size()) / fields_ : 0; }
  void Clear();
  // Binds the values of held row `r` to the parameters from `first` on, as
  // the row held them; the engine's code of the first failing bind.
  int Bind(sqlite3_stmt* statement, int first, int r) const;

 private:
  struct Value {
    int type;
    std::int64_t integer;
    double real;
    std::size_t offset;
    std::size_t bytes;
  };
  int fields_;
  std::vector<Value> values_;
  std::string bytes_;
};

}  // namespace vmu
