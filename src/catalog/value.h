#pragma once
// A field value as the storage engine gives it: blank (null), integer, real or
// text (UTF-8). Conversions follow the rules of the table fields: a blank
// reads as 0, "" or false.
#include <cstdint>
#include <string>
#include <variant>

#include "core/money.h"

namespace kvf {

using TFieldValue = std::variant<std::monostate, int64_t, double, std::string>;

bool IsBlank(const TFieldValue& v);
std::string ValueAsString(const TFieldValue& v);  // reals in their shortest form with "."
int64_t ValueAsInteger(const TFieldValue& v);      // reals rounded half to even; text parsed or 0
double ValueAsFloat(const TFieldValue& v);
TMoney ValueAsMoney(const TFieldValue& v);
bool ValueAsBoolean(const TFieldValue& v);  // non-zero

}  // namespace kvf
