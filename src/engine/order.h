#pragma once
// The order document: the owner of positions. This holds what the engine and
// pricing read; the order file gives it its persistence.
#include <memory>
#include <string>
#include <vector>

#include "core/currency_rates.h"
#include "core/datetime.h"
#include "core/money.h"
#include "engine/construction.h"

namespace kvf {

class TkvfOrder {
 public:
  TkvfOrder();
  ~TkvfOrder();
  TkvfOrder(const TkvfOrder&) = delete;
  TkvfOrder& operator=(const TkvfOrder&) = delete;

  std::string FHeader = "Korvane Furniture Order File";
  std::string FVersion = "26.12.2019";
  int32_t FReserved1 = 0, FReserved2 = 0;
  TDateTime FCreated1 = 0, FCreated2 = 0;
  int32_t FReserved3 = 0;
  std::string FOrderNo, FAltOrderNo, FCustomer, FObjectName, FAddress, FPhones, FRemark;
  TDateTime FRegDate = 0;
  bool FRegDateChecked = true;
  std::string FProfSys, FInnerProfColor, FOuterProfColor, FFurnSys, FFurnColor, FHandle;
  std::string FLegacyText1, FLegacyText2;
  int32_t FMaterial = 0;
  int32_t FFalzType = 0, FDornType = 0, FStulpType = 0, FFlugelType = 0;
  int32_t FPriceGroupNo = 0;
  float FNDSTax = 18;
  bool FTotalNDS = true, FShowIncludingNDS = true;
  TkvfCurrencyRates FCurrencyRates;
  int32_t FCurrencyID = 0;
  std::vector<std::string> FNote;
  std::vector<std::unique_ptr<TkvfConstruction>> Positions;

  // A new position owned by this order (not yet in Positions).
  std::unique_ptr<TkvfConstruction> NewPosition();
};

}  // namespace kvf
