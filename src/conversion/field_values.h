// A database field's value as the conversion reads it: as text, the way the
// system joins values into texts, or as a yes/no switch.
#pragma once

#include <optional>
#include <string>

#include "platform/database.h"

namespace vmu {

// The usual text form: 5.2 -> "5.2", 5 -> "5", 1e20 -> "1E+20"; a null
// gives no text.
std::optional<std::string> FieldText(const FieldValue& value);

// As joined into a text: a null adds nothing.
std::string JoinedText(const FieldValue& value);

// A yes/no value: any non-zero number is yes, a null is no, "True"/"False"
// as text are understood. Raises 13 for anything else.
bool FieldIsTrue(const FieldValue& value);

}  // namespace vmu
