#pragma once
// The order selection: items that name an order file and a position number;
// the position is read from the order file whenever it is needed.
#include <memory>
#include <string>
#include <vector>

#include "core/currency_rates.h"
#include "core/datetime.h"
#include "engine/mat_list.h"
#include "engine/order.h"

namespace kvf {

class TSpecStream;
class TkvfOrderSelection;

inline constexpr const char* kSelectionHeader = "Korvane Furniture Selection File";
inline constexpr const char* kSelectionVersion = "06.10.2015";

class TkvfOrderSelectionItem {
 public:
  bool FIncluded = true;
  std::string FOrderNo;
  std::string FPosNo;
  float FWidth = 0, FHeight = 0;
  int32_t FNumber = 0;
  std::string FName;
  std::string FOrderFile;  // relative to OrdersDir ("%...") or a full path
  TkvfOrderSelection* FOwner = nullptr;

  // The file the item names, with OrdersDir for "%".
  std::string OrderFileName() const;
  // Loads the order file into `order` and returns its position of this item's
  // number (ignoring case); null when the file or the position is missing.
  TkvfConstruction* FindPosition(TkvfOrder& order) const;
};

class TkvfOrderSelection {
 public:
  TkvfOrderSelection();

  std::string FHeader = kSelectionHeader;
  std::string FVersion = kSelectionVersion;
  int32_t FReserved1 = 0, FReserved2 = 0;
  TDateTime FCreated1 = 0, FCreated2 = 0;
  int32_t FReserved3 = 0;
  std::string FSelectionNo;
  TDateTime FSelDate = 0;
  std::string FSelName;
  TkvfCurrencyRates FCurrencyRates;
  int32_t FCurrencyID = 0;
  int32_t FPriceGroupNo = 0;
  float FNDSTax = 0;
  uint8_t FRoundMode = 0;
  std::vector<std::string> FNote;
  std::vector<std::unique_ptr<TkvfOrderSelectionItem>> Items;

  int Count() const { return static_cast<int>(Items.size()); }
  TkvfOrderSelectionItem& AddItem();
  void DeleteItem(int index);
  int IncludedCount() const;
  bool HasIncluded() const { return IncludedCount() > 0; }
  // Index of the first item of that order and position (ignoring case), or -1.
  int FindItem(const std::string& orderNo, const std::string& posNo) const;

  // The three walks through the order files: an order is loaded only when an
  // item names another file than the item before; an item whose file does not
  // load is skipped.
  void RefreshItems(bool updateIncluded, std::vector<std::string>* missing = nullptr);
  std::string GetOrderList();
  // Materials of the included items merged by article, sorted and priced anew.
  // `missing`, when given, receives one line for every item whose order file or
  // position was not found or did not load.
  void CollectMaterials(TkvfMatList& list, std::vector<std::string>* missing = nullptr);

  void SortByOrder();
  void SortByPos();
  void SortByName();
  void SortByFile();

  void SaveToStream(TSpecStream& s);
  // Header and version checks stop reading with their message and false (see the
  // order file); a damaged record raises EKvfError.
  bool LoadFromStream(TSpecStream& s, bool& converted);
  bool SaveToFile(const std::string& fileName);  // "Ошибка сохранения выборки!..."
  bool LoadFromFile(const std::string& fileName, bool& converted);  // "Ошибка загрузки выборки!..."

 private:
  // Calls `visit` with each item and its position (null when not found).
  template <typename F>
  void WalkPositions(bool includedOnly, F visit, std::vector<std::string>* loadedOrders = nullptr,
                     std::vector<std::string>* missing = nullptr);
};

}  // namespace kvf
