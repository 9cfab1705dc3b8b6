// The Windows profile-string behaviour on the text of one INI file. Pure:
// the caller reads and writes the file. Names and values are UTF-8; the file
// content is raw bytes in the file's own encoding (Windows-1252, UTF-8 with
// a byte-order mark, or UTF-16LE with its mark).
#pragma once

#include <optional>
#include <string>

namespace vmu {

// The value as the profile read returns it: at most buffer_size - 1
// characters; the default (less trailing spaces) when the section or key is
// missing. `content` is nullopt for a missing file.
std::string IniRead(const std::optional<std::string>& content, const std::string& section, const std::string& key,
                    const std::string& default_value, int buffer_size);

// The new file content after setting section/key to value, or nullopt when
// the file is to stay as it is (the value is unchanged). Every line the
// write does not target is kept byte for byte.
std::optional<std::string> IniWrite(const std::optional<std::string>& content, const std::string& section,
                                    const std::string& key, const std::string& value);

}  // namespace vmu
