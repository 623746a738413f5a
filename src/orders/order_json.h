#pragma once
// The Order JSON of kvf: member names as in the order file, money as text with
// four decimals, dates as the stored double, 4-byte floats as the shortest
// decimal that reads back to the same float.
#include <nlohmann/json.hpp>

#include "engine/order.h"

namespace kvf {

using TJson = nlohmann::ordered_json;

TJson OrderToJson(const TkvfOrder& order);
TJson PositionToJson(const TkvfConstruction& position);
TJson SashToJson(const TkvfFlugel& sash);

// Number of a 4-byte float as JSON: its shortest decimal.
TJson FloatJson(float value);
TJson MoneyJson(const TMoney& value);

}  // namespace kvf
