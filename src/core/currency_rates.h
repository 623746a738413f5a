#pragma once
// One exchange rate of a document: the value of one unit of the currency in the
// common base of the catalog's currency table.
#include <cstdint>
#include <vector>

namespace kvf {

struct TkvfCurrencyItem {
  int32_t FCurrencyID = 0;
  float FRate = 0;
};

using TkvfCurrencyRates = std::vector<TkvfCurrencyItem>;

class TSpecStream;

// A document's rate list in its stream: a count, then ID (Int) and rate (Float)
// for each currency.
void WriteCurrencyRates(TSpecStream& s, const TkvfCurrencyRates& rates);
TkvfCurrencyRates ReadCurrencyRates(TSpecStream& s);

}  // namespace kvf
