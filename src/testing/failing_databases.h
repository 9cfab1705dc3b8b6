// A database engine whose databases open but fail every query, and fail to
// close as well: for an error that comes after the conversion's own error.
#pragma once

#include <memory>
#include <string>

#include "platform/database.h"
#include "platform/error.h"

namespace vmu::testing {

inline constexpr int kQueryFails = 3001;
inline constexpr int kCloseFails = 3002;

class FailingDatabases : public Databases {
 public:
  std::unique_ptr<Connection> NewConnection() override {
    ++made;
    return std::make_unique<FailingConnection>();
  }

  int made = 0;

 private:
  class FailingConnection : public Connection {
   public:
    void Open(const std::string&) override { open_ = true; }
    void OpenReadOnly(const std::string&) override { open_ = true; }
    bool IsOpen() const override { return open_; }
    std::unique_ptr<Recordset> Execute(const std::string&) override { Raise(kQueryFails, "de query mislukt"); }
    std::unique_ptr<Recordset> OpenForAdding(const std::string&) override { Raise(kQueryFails, "de query mislukt"); }
    void Close() override {
      open_ = false;
      Raise(kCloseFails, "het sluiten mislukt");
    }

   private:
    bool open_ = false;
  };
};

}  // namespace vmu::testing
