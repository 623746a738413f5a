#pragma once
// The Order JSON of kvf: member names as in the order file, money as text with
// four decimals, dates as the stored double, 4-byte floats as the shortest
// decimal that reads back to the same float.
#include <nlohmann/json.hpp>

#include "engine/order.h"

namespace kvf {

using TJson = nlohmann::ordered_json;

// The JSON document of a text read from `file`: nesting deeper than
// kMaxJsonDepth levels and syntax errors raise EKvfError naming the file and
// the byte, before anything is built from the text.
inline constexpr int kMaxJsonDepth = 64;
TJson ParseJsonText(const std::string& text, const std::string& file);

TJson OrderToJson(const TkvfOrder& order);
TJson PositionToJson(const TkvfConstruction& position);
TJson SashToJson(const TkvfFlugel& sash);

// The reverse: every member the JSON names is set, the others keep their
// values. A member of the wrong kind raises EKvfError naming it.
void OrderFromJson(const TJson& j, TkvfOrder& order);
void PositionFromJson(const TJson& j, TkvfConstruction& position);

class TkvfOrderSelection;
TJson SelectionToJson(const TkvfOrderSelection& selection);
void SelectionFromJson(const TJson& j, TkvfOrderSelection& selection);

// Number of a 4-byte float as JSON: its shortest decimal.
TJson FloatJson(float value);
TJson MoneyJson(const TMoney& value);

}  // namespace kvf
