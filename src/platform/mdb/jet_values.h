// Jet's stored values, decoded without loss into the values the SQLite copy
// holds. Pure functions over the bytes of one field.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/database.h"

namespace vmu {

// Jet 4 and later: UTF-16LE, or "compressed" when it starts with FF FE
// (runs of one-byte characters U+0000..U+00FF, a zero byte switching
// between one- and two-byte runs).
std::string Jet4TextToUtf8(std::string_view bytes);
// Jet 3: one byte a character in the database's code page (0 means 1252).
std::string Jet3TextToUtf8(std::string_view bytes, int code_page);

// A number given as its exact decimal digits: whole numbers that fit become
// integers; others with at most 15 significant digits become reals (a real
// holds every such number so that it reads back as the same digits); longer
// ones stay text, every digit kept.
FieldValue ExactNumber(std::string_view decimal_text);
// Currency: a 64-bit count of ten-thousandths.
FieldValue CurrencyValue(const unsigned char* bytes);
// Decimal: a sign byte, then a 96..128-bit magnitude in four 32-bit words,
// most significant first, each little-endian; `scale` decimals.
FieldValue DecimalValue(const unsigned char* bytes, int scale);
// Single: the shortest decimal that reads back as the same single.
double SingleValue(float value);
// Date/Time: days since 30 December 1899, as ISO text ('1974-09-21',
// '1850-01-01 06:30:00', '14:30:00' for a time of day alone); null when it
// lies outside the years 100..9999.
FieldValue DateValue(double serial);
// Replication ID: '{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}'.
std::string GuidText(const unsigned char* bytes);

}  // namespace vmu
