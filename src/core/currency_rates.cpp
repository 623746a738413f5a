#include "core/currency_rates.h"

#include "core/spec_stream.h"

namespace kvf {

void WriteCurrencyRates(TSpecStream& s, const TkvfCurrencyRates& rates) {
  s.WriteInt(static_cast<int32_t>(rates.size()));
  for (const TkvfCurrencyItem& r : rates) {
    s.WriteInt(r.FCurrencyID);
    s.WriteFloat(r.FRate);
  }
}

TkvfCurrencyRates ReadCurrencyRates(TSpecStream& s) {
  const int32_t n = s.ReadCount(2 * TSpecStream::kValueSize, "курсы валют");
  TkvfCurrencyRates rates;
  rates.reserve(static_cast<size_t>(n));
  for (int32_t k = 0; k < n; ++k) {
    TkvfCurrencyItem r;
    r.FCurrencyID = s.ReadInt();
    r.FRate = s.ReadSingle();
    rates.push_back(r);
  }
  return rates;
}

}  // namespace kvf
