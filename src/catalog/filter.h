#pragma once
// The filter language of the table objects: field names, = <> < <= > >=,
// and, or, not, parentheses, single-quoted strings ('' for a quote) and numbers
// with "." as the decimal point. A field name may be written in double quotes.
// Strings compare case-sensitively; a blank field compares as "" or 0.
// Filters are translated to an SQL condition with bound values.
#include <string>
#include <string_view>
#include <vector>

#include "catalog/schema.h"
#include "catalog/value.h"

namespace kvf {

struct TSqlCondition {
  std::string sql;                  // with ? placeholders
  std::vector<TFieldValue> params;  // in placeholder order
};

// Raises EKvfError naming the table and the field or the 1-based position.
TSqlCondition TranslateFilter(std::string_view filter, const TTableDef& table);

// A value as a string literal of the filter language: 'ab' for ab, 'O''Neil'
// for O'Neil. Every value a filter text compares with is written through this.
std::string QuotedFilterValue(std::string_view value);

}  // namespace kvf
