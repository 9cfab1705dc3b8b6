// The error number (or description) an action raises; 0 (or empty text)
// when it succeeds.
#pragma once

#include <functional>
#include <string>

#include "platform/error.h"

namespace vmu::testing {

inline int ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const VbError& e) {
    return e.number();
  }
  return 0;
}

inline std::string MessageOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const VbError& e) {
    return e.description();
  }
  return {};
}

}  // namespace vmu::testing
