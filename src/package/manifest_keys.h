// The manifest's settings: section "Main", each key with its default and the
// number type the wizard converts it to (text keys are taken as they stand).
#pragma once

#include <optional>

#include "package/whole_number.h"

namespace vmu::package {

inline constexpr const char* kManifestSection = "Main";

struct ManifestKey {
  const char* name;
  const char* default_value;          // taken, and written back, when the key is missing
  std::optional<NumberRange> number;  // the range of a numeric key; none for text
};

namespace key {
inline constexpr ManifestKey kVer{"Ver", "0", kLongRange};
inline constexpr ManifestKey kVerUpdate{"VerUpdate", "0", kLongRange};
// With these defaults no installation qualifies.
inline constexpr ManifestKey kVerLow{"VerLow", "999999", kLongRange};
inline constexpr ManifestKey kVerLowUpdate{"VerLowUpdate", "9999", kLongRange};
inline constexpr ManifestKey kClose{"Close", "1", kByteRange};
inline constexpr ManifestKey kConvert{"Convert", "0", kByteRange};
inline constexpr ManifestKey kApp{"App", "VM", std::nullopt};
inline constexpr ManifestKey kNewUpdate{"NewUpdate", "0", kByteRange};
inline constexpr ManifestKey kConvOldfile{"ConvOldfile", "", std::nullopt};
inline constexpr ManifestKey kConvNewfile{"ConvNewfile", "", std::nullopt};
inline constexpr ManifestKey kConvDatabase{"ConvDatabase", "", std::nullopt};
inline constexpr ManifestKey kConvFromVer{"ConvFromVer", "", std::nullopt};
inline constexpr ManifestKey kConvToVer{"ConvToVer", "", std::nullopt};
}  // namespace key

// Every key, in the order the wizard reads them: a missing key's default is
// written into the manifest in this order, and the first value that is no
// number of its type stops the reading.
inline constexpr ManifestKey kManifestKeys[] = {
    key::kVer,          key::kVerUpdate,   key::kVerLow,    key::kVerLowUpdate, key::kClose,
    key::kConvert,      key::kApp,         key::kNewUpdate, key::kConvOldfile,  key::kConvNewfile,
    key::kConvDatabase, key::kConvFromVer, key::kConvToVer};

}  // namespace vmu::package
