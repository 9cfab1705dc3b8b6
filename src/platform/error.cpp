#include "platform/error.h"

namespace vmu {

std::string ErrorDescription(int number) {
  switch (number) {
    case kInvalidArgument: return "Invalid procedure call or argument";
    case kOverflow: return "Overflow";
    case kSubscriptOutOfRange: return "Subscript out of range";
    case kTypeMismatch: return "Type mismatch";
    case kBadFileName: return "Bad file name or number";
    case kFileNotFound: return "File not found";
    case kFileAlreadyExists: return "File already exists";
    case kDiskFull: return "Disk full";
    case kPermissionDenied: return "Permission denied";
    case kPathFileAccessError: return "Path/File access error";
    case kPathNotFound: return "Path not found";
    default: return "Application-defined or object-defined error";
  }
}

VbError::VbError(int number, std::string description)
    : std::runtime_error(description), number_(number), description_(std::move(description)) {}

VbError::VbError(int number) : VbError(number, ErrorDescription(number)) {}

void Raise(int number) { throw VbError(number); }

void Raise(int number, const std::string& description) { throw VbError(number, description); }

}  // namespace vmu
