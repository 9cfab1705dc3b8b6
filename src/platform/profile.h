// GetPrivateProfileString / WritePrivateProfileString over a FileSystem.
#pragma once

#include <string>

#include "platform/file_system.h"

namespace vmu {

// Never raises: an unreadable file reads as missing.
std::string GetProfileString(FileSystem& fs, const std::string& section, const std::string& key,
                             const std::string& default_value, int buffer_size, const std::string& file);

// Never raises; false when the file could not be written.
bool WriteProfileString(FileSystem& fs, const std::string& section, const std::string& key, const std::string& value,
                        const std::string& file);

}  // namespace vmu
