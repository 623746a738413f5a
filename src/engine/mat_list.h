#pragma once
// A priced material line of a sash: one article with its quantity in the
// catalog's unit, prices and cost in the document's currency.
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/money.h"

namespace kvf {

struct TkvfMatListItem {
  std::string FArticle;
  float FNumber = 0;       // pieces, or metres for articles cut to length
  TMoney FBasePrice;       // catalog price in the document's currency
  float FSpareFloat = 0;
  TMoney FDiscount;        // price-group surcharge (negative: a discount)
  TMoney FPrice;           // price of one unit
  TMoney FCost;            // FNumber x FPrice
};

using TkvfMatList = std::vector<TkvfMatListItem>;

// Copies a line through its record; an error is shown ("Ошибка копирования материала!...").
void AssignMaterial(TkvfMatListItem& target, const TkvfMatListItem& source);

// Merges a line into a list: the first line of the same article takes the
// quantity (times the factor) and its cost is computed again; a new article is
// appended as a copy with the multiplied quantity.
void AddMaterialTo(TkvfMatList& list, const TkvfMatListItem& line, int32_t factor);
// Merges many lines into one list, finding equal articles through an index.
class TMaterialMerger {
 public:
  explicit TMaterialMerger(TkvfMatList& list);
  void Add(const TkvfMatListItem& line, int32_t factor);

 private:
  TkvfMatList& list_;
  std::unordered_map<std::string, size_t> index_;  // first line of each article
};

// Every line gets the current catalog price of its article (GetArticlePrice).
void PriceMaterials(TkvfMatList& list);
// Sorts by article (Windows-1251 bytes) or by article name (missing articles raise).
void SortMaterialsByArticle(TkvfMatList& list);
void SortMaterialsByName(TkvfMatList& list);

}  // namespace kvf
