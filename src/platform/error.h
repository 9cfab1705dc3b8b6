// Run-time errors as the logic sees them: a number and a description.
#pragma once

#include <stdexcept>
#include <string>

namespace vmu {

// Error numbers the host maps its failures onto.
enum ErrorNumber : int {
  kInvalidArgument = 5,
  kOverflow = 6,
  kSubscriptOutOfRange = 9,
  kTypeMismatch = 13,
  kBadFileName = 52,
  kFileNotFound = 53,
  kFileAlreadyExists = 58,
  kDiskFull = 61,
  kPermissionDenied = 70,
  kPathFileAccessError = 75,
  kPathNotFound = 76,
};

// The standard description of a run-time error number ("File not found").
std::string ErrorDescription(int number);

class VbError : public std::runtime_error {
 public:
  VbError(int number, std::string description);
  explicit VbError(int number);  // with the standard description

  int number() const { return number_; }
  const std::string& description() const { return description_; }

 private:
  int number_;
  std::string description_;
};

[[noreturn]] void Raise(int number);
[[noreturn]] void Raise(int number, const std::string& description);

}  // namespace vmu
