// Which file a path led to when it was read: the file system's device and
// file number, its size and its change times. The same text later means the
// same file, untouched since as far as the clock can tell (a change in the
// same tick as the last one can go unseen); another file put under the name
// always shows.
#pragma once

#include <cstdint>
#include <string>

namespace vmu {

inline std::string FileIdentityText(uint64_t device, uint64_t file, uint64_t size, int64_t modified_ns,
                                    int64_t changed_ns) {
  return std::to_string(device) + ":" + std::to_string(file) + ":" + std::to_string(size) + ":" +
         std::to_string(modified_ns) + ":" + std::to_string(changed_ns);
}

}  // namespace vmu
