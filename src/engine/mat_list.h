#pragma once
// A priced material line of a sash: one article with its quantity in the
// catalog's unit, prices and cost in the document's currency.
#include <string>
#include <vector>

#include "core/money.h"

namespace kvf {

struct TkvfMatListItem {
  std::string FArticle;
  double FNumber = 0;      // pieces, or metres for articles cut to length
  TMoney FBasePrice;       // catalog price in the document's currency
  float FSpareFloat = 0;
  TMoney FDiscount;        // price-group surcharge (negative: a discount)
  TMoney FPrice;           // price of one unit
  TMoney FCost;            // FNumber x FPrice
};

using TkvfMatList = std::vector<TkvfMatListItem>;

}  // namespace kvf
