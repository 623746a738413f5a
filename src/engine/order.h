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
#include "engine/mat_list.h"

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

  int Count() const { return static_cast<int>(Positions.size()); }
  void DeletePosition(int index);
  void ClearPositions() { Positions.clear(); }
  // The first position whose number equals `posNo` without regard to case.
  TkvfConstruction* FindPosition(const std::string& posNo) const;
  int IncludedCount() const;
  bool HasIncluded() const { return IncludedCount() > 0; }
  TkvfConstruction* FirstIncluded();
  TkvfConstruction* NextIncluded();

  TMoney GetTotal() const;  // the costs of the included positions
  TMoney GetNDS() const;    // 0 unless FTotalNDS; the total x FNDSTax / 100
  TMoney GetTotalWithNDS() const { return GetTotal() + GetNDS(); }
  void SortByPosNo();
  void SortByName();
  // Adds the material lines of every included position to the list, merged by article.
  void CollectMaterials(TkvfMatList& list) const;

  // The order record. Reading checks the header ("Данный файл не является файлом
  // заказа!") and the version label after the seventh value: an older file is
  // converted when AskConfirm agrees (converted := true), otherwise reading stops;
  // a newer file is refused with a warning and reading stops. A stop returns false
  // after its message: the order is not loaded and nothing may be written over the
  // file it came from. A damaged record raises EKvfError.
  void SaveToStream(TSpecStream& s);
  bool LoadFromStream(TSpecStream& s, bool& converted);
  // Whole files, replaced atomically on saving. Errors are shown ("Ошибка
  // сохранения заказа!...", "Ошибка загрузки заказа!...") and give false, as
  // does a load that stopped.
  bool SaveToFile(const std::string& fileName);
  bool LoadFromFile(const std::string& fileName, bool& converted);

 private:
  void ResetToDefaults();
  int cursor_ = 0;
};

}  // namespace kvf
