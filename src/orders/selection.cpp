#include "orders/selection.h"

#include <algorithm>
#include <filesystem>
#include <fmt/format.h>
#include <tuple>

#include "core/configuration.h"
#include "core/cp1251.h"
#include "core/document_file.h"
#include "core/error.h"
#include "core/prompts.h"
#include "core/spec_stream.h"
#include "core/text_utils.h"

namespace kvf {
namespace {

bool Less(const std::tuple<const std::string*, const std::string*, const std::string*>& a,
          const std::tuple<const std::string*, const std::string*, const std::string*>& b) {
  for (int i = 0; i < 3; ++i) {
    const std::string* x = i == 0 ? std::get<0>(a) : i == 1 ? std::get<1>(a) : std::get<2>(a);
    const std::string* y = i == 0 ? std::get<0>(b) : i == 1 ? std::get<1>(b) : std::get<2>(b);
    if (!x || !y) break;
    const int c = CompareCp1251(*x, *y);
    if (c != 0) return c < 0;
  }
  return false;
}

}  // namespace

std::string TkvfOrderSelectionItem::OrderFileName() const { return MacroToPath(Config().OrdersDir, FOrderFile); }

TkvfConstruction* TkvfOrderSelectionItem::FindPosition(TkvfOrder& order) const {
  const std::string file = OrderFileName();
  std::error_code ec;
  if (!std::filesystem::exists(file, ec)) return nullptr;
  bool converted = false;
  if (!order.LoadFromFile(file, converted)) return nullptr;
  return order.FindPosition(FPosNo);
}

TkvfOrderSelection::TkvfOrderSelection() {
  FCreated1 = FCreated2 = Now();
  FSelDate = Today();
}

TkvfOrderSelectionItem& TkvfOrderSelection::AddItem() {
  Items.push_back(std::make_unique<TkvfOrderSelectionItem>());
  Items.back()->FOwner = this;
  return *Items.back();
}

void TkvfOrderSelection::DeleteItem(int index) {
  if (index >= 0 && index < Count()) Items.erase(Items.begin() + index);
}

int TkvfOrderSelection::IncludedCount() const {
  return static_cast<int>(std::count_if(Items.begin(), Items.end(), [](const auto& i) { return i->FIncluded; }));
}

int TkvfOrderSelection::FindItem(const std::string& orderNo, const std::string& posNo) const {
  for (size_t i = 0; i < Items.size(); ++i)
    if (SameTextI(Items[i]->FOrderNo, orderNo) && SameTextI(Items[i]->FPosNo, posNo)) return static_cast<int>(i);
  return -1;
}

template <typename F>
void TkvfOrderSelection::WalkPositions(bool includedOnly, F visit, std::vector<std::string>* loadedOrders,
                                       std::vector<std::string>* missing) {
  TWaitGuard wait;
  TkvfOrder order;
  std::string loadedFile;
  bool loaded = false;
  for (auto& item : Items) {
    if (includedOnly && !item->FIncluded) continue;
    const std::string file = item->OrderFileName();
    if (file != loadedFile || loadedFile.empty()) {
      loadedFile = file;
      bool converted = false;
      std::error_code ec;
      const bool exists = std::filesystem::exists(file, ec);
      loaded = exists && order.LoadFromFile(file, converted);
      if (loaded && loadedOrders) loadedOrders->push_back(order.FOrderNo);
      if (!loaded && missing)
        missing->push_back(fmt::format("{}: файл заказа {}", item->FOrderFile, exists ? "не загружен" : "не найден"));
    }
    if (!loaded) continue;
    TkvfConstruction* p = order.FindPosition(item->FPosNo);
    if (!p && missing)
      missing->push_back(fmt::format("{}: позиции {} нет в заказе {}", item->FOrderFile, item->FPosNo, order.FOrderNo));
    visit(*item, p, order);
  }
}

void TkvfOrderSelection::RefreshItems(bool updateIncluded, std::vector<std::string>* missing) {
  WalkPositions(false, [&](TkvfOrderSelectionItem& item, TkvfConstruction* p, TkvfOrder& order) {
    if (!p) return;
    if (updateIncluded) item.FIncluded = p->FIncluded;
    item.FOrderNo = order.FOrderNo;
    item.FPosNo = p->FPosNo;
    int w = 0, h = 0;
    p->GetConstructionSize(w, h);
    item.FWidth = static_cast<float>(w);
    item.FHeight = static_cast<float>(h);
    item.FNumber = p->FNumber;
    item.FName = p->FName;
  }, nullptr, missing);
}

std::string TkvfOrderSelection::GetOrderList() {
  std::vector<std::string> orders;
  WalkPositions(false, [](TkvfOrderSelectionItem&, TkvfConstruction*, TkvfOrder&) {}, &orders);
  std::string list;
  for (const std::string& o : orders) AppendToken(list, o, ",", false);
  return list;
}

void TkvfOrderSelection::CollectMaterials(TkvfMatList& list, std::vector<std::string>* missing) {
  TMaterialMerger merger(list);
  WalkPositions(
      true, [&](TkvfOrderSelectionItem&, TkvfConstruction* p, TkvfOrder&) {
        if (p) p->AddMaterialsTo(merger);
      },
      nullptr, missing);
  SortMaterialsByArticle(list);
  PriceMaterials(list);
}

void TkvfOrderSelection::SortByOrder() {
  std::sort(Items.begin(), Items.end(), [](const auto& a, const auto& b) {
    return Less({&a->FOrderNo, &a->FPosNo, nullptr}, {&b->FOrderNo, &b->FPosNo, nullptr});
  });
}
void TkvfOrderSelection::SortByPos() {
  std::sort(Items.begin(), Items.end(), [](const auto& a, const auto& b) {
    return Less({&a->FPosNo, &a->FOrderNo, nullptr}, {&b->FPosNo, &b->FOrderNo, nullptr});
  });
}
void TkvfOrderSelection::SortByName() {
  std::sort(Items.begin(), Items.end(), [](const auto& a, const auto& b) {
    return Less({&a->FName, &a->FOrderNo, &a->FPosNo}, {&b->FName, &b->FOrderNo, &b->FPosNo});
  });
}
void TkvfOrderSelection::SortByFile() {
  std::sort(Items.begin(), Items.end(), [](const auto& a, const auto& b) {
    return Less({&a->FOrderFile, &a->FOrderNo, &a->FPosNo}, {&b->FOrderFile, &b->FOrderNo, &b->FPosNo});
  });
}

void TkvfOrderSelection::SaveToStream(TSpecStream& s) {
  FVersion = kSelectionVersion;
  s.WriteStr(FHeader);
  s.WriteStr(FVersion);
  s.WriteInt(FReserved1);
  s.WriteInt(FReserved2);
  s.WriteDate(FCreated1);
  s.WriteDate(FCreated2);
  s.WriteInt(FReserved3);
  s.WriteStr(FSelectionNo);
  s.WriteDate(FSelDate);
  s.WriteStr(FSelName);
  WriteCurrencyRates(s, FCurrencyRates);
  s.WriteInt(FCurrencyID);
  s.WriteInt(FPriceGroupNo);
  s.WriteFloat(FNDSTax);
  s.WriteByte(FRoundMode);
  s.WriteLines(FNote);
  s.WriteInt(static_cast<int32_t>(Items.size()));
  for (const auto& i : Items) {
    s.WriteBool(i->FIncluded);
    s.WriteStr(i->FOrderNo);
    s.WriteStr(i->FPosNo);
    s.WriteFloat(i->FWidth);
    s.WriteFloat(i->FHeight);
    s.WriteInt(i->FNumber);
    s.WriteStr(i->FName);
    s.WriteStr(i->FOrderFile);
  }
}

bool TkvfOrderSelection::LoadFromStream(TSpecStream& s, bool& converted) {
  converted = false;
  if (!s.StartsWithStr(kSelectionHeader)) {
    ShowError("Данный файл не является файлом Dalnor Stemwick!");
    return false;
  }
  FHeader = s.ReadStr();
  FVersion = s.ReadStr();
  if (FVersion != kSelectionVersion) {
    if (IsVersionOlder(FVersion, kSelectionVersion)) {
      if (!AskConfirm(fmt::format("Необходимо конвертировать файл выборки!\r\nЗагружаемая версия: {}\r\nТекущая версия: {}",
                                  FVersion, kSelectionVersion)))
        return false;
      converted = true;
    } else {
      ShowWarning(fmt::format("Вы пытаетесь открыть выборку, созданную более новой версией программы, чем текущая.\r\n"
                              "Данный модуль поддерживает файлы выборки\r\nверсии не старше: {}!\r\nЗагружаемая версия: {}",
                              kSelectionVersion, FVersion));
      return false;
    }
  }
  FReserved1 = s.ReadInt();
  FReserved2 = s.ReadInt();
  FCreated1 = s.ReadDate();
  FCreated2 = s.ReadDate();
  FReserved3 = s.ReadInt();
  FSelectionNo = s.ReadStr();
  FSelDate = s.ReadDate();
  FSelName = s.ReadStr();
  FCurrencyRates = ReadCurrencyRates(s);
  FCurrencyID = s.ReadInt();
  FPriceGroupNo = s.ReadInt();
  FNDSTax = s.ReadSingle();
  FRoundMode = s.ReadByte();
  FNote = s.ReadLines();
  Items.clear();
  const int32_t items =
      s.ReadCount(4 * TSpecStream::kValueSize + 4 * TSpecStream::kMinStrSize, "позиции выборки");
  for (int32_t k = 0; k < items; ++k) {
    TkvfOrderSelectionItem& i = AddItem();
    i.FIncluded = s.ReadBool();
    i.FOrderNo = s.ReadStr();
    i.FPosNo = s.ReadStr();
    i.FWidth = s.ReadSingle();
    i.FHeight = s.ReadSingle();
    i.FNumber = s.ReadInt();
    i.FName = s.ReadStr();
    i.FOrderFile = s.ReadStr();
  }
  return true;
}

bool TkvfOrderSelection::SaveToFile(const std::string& fileName) {
  return SaveDocumentFile(fileName, "Ошибка сохранения выборки", [this](TSpecStream& s) { SaveToStream(s); });
}

bool TkvfOrderSelection::LoadFromFile(const std::string& fileName, bool& converted) {
  converted = false;
  return LoadDocumentFile(fileName, "Ошибка загрузки выборки",
                          [&](TSpecStream& s) { return LoadFromStream(s, converted); });
}

}  // namespace kvf
