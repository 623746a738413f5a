#include <algorithm>

#include "catalog/lookups.h"
#include "core/cp1251.h"
#include "engine/construction.h"
#include "engine/furn_comp.h"
#include "engine/mat_list.h"

namespace kvf {

void TkvfFlugel::BuildMaterialList() {
  FMatList.clear();
  if (!FComplement) return;
  for (const TkvfFurnItem& item : FComplement->Items) {
    TkvfMatListItem line;
    line.FArticle = item.FArticle;
    line.FNumber = item.FLength > 0 ? static_cast<float>(static_cast<double>(item.FCount) * item.FLength / 1000)
                                    : static_cast<float>(item.FCount);
    const TMoney price = GetArticlePrice(item.FArticle, false);
    line.FBasePrice = line.FPrice = price;
    line.FCost = price * static_cast<double>(line.FNumber);
    FMatList.push_back(std::move(line));
  }
}

TMoney TkvfFlugel::GetMaterialTotal() const {
  TMoney total;
  for (const TkvfMatListItem& line : FMatList) total += line.FCost;
  return total;
}

void TkvfFlugel::AddMaterialsTo(TMaterialMerger& merger, int32_t factor) const {
  for (const TkvfMatListItem& line : FMatList) merger.Add(line, factor);
}

TMaterialMerger::TMaterialMerger(TkvfMatList& list) : list_(list) {
  for (size_t i = 0; i < list_.size(); ++i) index_.emplace(list_[i].FArticle, i);
}

void TMaterialMerger::Add(const TkvfMatListItem& line, int32_t factor) {
  const float added = static_cast<float>(static_cast<double>(line.FNumber) * factor);
  const auto it = index_.find(line.FArticle);
  if (it != index_.end()) {
    TkvfMatListItem& m = list_[it->second];
    m.FNumber += added;
    m.FCost = m.FPrice * static_cast<double>(m.FNumber);
    return;
  }
  TkvfMatListItem copy;
  AssignMaterial(copy, line);
  copy.FNumber = added;
  copy.FCost = copy.FPrice * static_cast<double>(copy.FNumber);
  index_.emplace(copy.FArticle, list_.size());
  list_.push_back(std::move(copy));
}

void AddMaterialTo(TkvfMatList& list, const TkvfMatListItem& line, int32_t factor) {
  TMaterialMerger(list).Add(line, factor);
}

void PriceMaterials(TkvfMatList& list) {
  for (TkvfMatListItem& line : list) {
    const TMoney price = GetArticlePrice(line.FArticle, false);
    line.FBasePrice = line.FPrice = price;
    line.FCost = price * static_cast<double>(line.FNumber);
  }
}

void SortMaterialsByArticle(TkvfMatList& list) {
  std::sort(list.begin(), list.end(), [](const TkvfMatListItem& a, const TkvfMatListItem& b) {
    return CompareCp1251(a.FArticle, b.FArticle) < 0;
  });
}

void SortMaterialsByName(TkvfMatList& list) {
  std::vector<std::pair<std::string, TkvfMatListItem>> named;
  for (TkvfMatListItem& line : list) named.emplace_back(GetArticleName(line.FArticle, false), std::move(line));
  std::sort(named.begin(), named.end(), [](const auto& a, const auto& b) { return CompareCp1251(a.first, b.first) < 0; });
  list.clear();
  for (auto& [name, line] : named) list.push_back(std::move(line));
}

void TkvfConstruction::RecalcPrice() {
  FPrice = TMoney();
  for (TkvfFlugel* sash : {FFlugel1.get(), FFlugel2.get()}) {
    sash->BuildMaterialList();
    FPrice += sash->GetMaterialTotal();
  }
}

void TkvfConstruction::AddMaterialsTo(TMaterialMerger& merger) const {
  FFlugel1->AddMaterialsTo(merger, FNumber);
  FFlugel2->AddMaterialsTo(merger, FNumber);
}

void TkvfConstruction::AddMaterialsTo(TkvfMatList& list) const {
  TMaterialMerger merger(list);
  AddMaterialsTo(merger);
}

}  // namespace kvf
