// The error number an action raises, or 0 when it succeeds.
#pragma once

#include <functional>

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

}  // namespace vmu::testing
