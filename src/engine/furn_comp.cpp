#include "engine/furn_comp.h"

#include "catalog/filter.h"
#include "catalog/dm.h"
#include "catalog/lookups.h"
#include "core/geometry.h"
#include "engine/calc.h"
#include "engine/construction.h"

namespace kvf {

const std::string& TkvfFurnComp::Slot(int slot) const {
  switch (slot) {
    case 0: return FComplect;
    case 1: return FHandle;
    case 2: return FHinge;
    case 3: return FLock;
    case 4: return FCylinder;
    case 5: return FDrive;
    default: return FLatch;
  }
}

bool TkvfFurnComp::AllComplectsEmpty() const {
  for (int slot = 0; slot < 7; ++slot)
    if (!Slot(slot).empty()) return false;
  return true;
}

void TkvfFurnComp::SetComplement(const std::string& furnSys, const std::string& profSys, const std::string& color,
                                 const std::string complects[7], bool userDefineHeight, int32_t userHandleHeight,
                                 const std::vector<std::string>* properties,
                                 const std::vector<std::string>* addComplects) {
  FFurnSys = furnSys;
  FProfSys = profSys;
  FColor = color;
  FProperties = properties ? *properties : std::vector<std::string>{};
  FAddComplects = addComplects ? *addComplects : std::vector<std::string>{};
  SetComplects(complects, userDefineHeight, userHandleHeight);
  Recalculate();
}

void TkvfFurnComp::SetComplects(const std::string complects[7], bool userDefineHeight, int32_t userHandleHeight) {
  FComplect = complects[0];
  FHandle = complects[1];
  FHinge = complects[2];
  FLock = complects[3];
  FCylinder = complects[4];
  FDrive = complects[5];
  FLatch = complects[6];
  FUserDefineHeight = userDefineHeight;
  FUserHandleHeight = userHandleHeight;
  ApplySides();
}

void TkvfFurnComp::Refresh() {
  ApplySides();
  Recalculate();
}

void TkvfFurnComp::ApplySides() {
  std::string addText;
  for (const std::string& line : FAddComplects) addText += line;
  if (AllComplectsEmpty() && addText.empty()) {
    Clear();
    return;
  }
  FHandleColor = GetComplectColor(FHandle);
  FDriveColor = GetComplectColor(FDrive);
  FComplectImage = GetComplectImage(FComplect);
  FHandleImage = GetComplectImage(FHandle);
  FDriveImage = GetComplectImage(FDrive);
  if (!FHinge.empty()) {
    FHingeColor = GetComplectColor(FHinge);
    FHingeImage = GetComplectImage(FHinge);
  } else {
    FHingeColor = GetComplectColor(FComplect);
    FHingeImage = 20;
  }
  std::vector<TkvfLine>& sides = FFlugel->FSides;
  if (FComplect.empty()) {
    for (TkvfLine& s : sides) {
      s.FOpenMark = false;
      s.FApexSide = -1;
      s.FHandleHeight = 0;
      s.FHandled = s.FHinged = s.FDriven = false;
    }
    return;
  }
  TTable& t = DM().T_FrnSide;
  TFilterScope filter(t, "ID=" + QuotedFilterValue(FComplect));
  for (t.First(); !t.Eof(); t.Next()) {
    const int i = static_cast<int>(t.AsInteger("Side")) - 1;
    if (i < 0 || i >= static_cast<int>(sides.size())) continue;
    TkvfLine& s = sides[static_cast<size_t>(i)];
    s.FOpenMark = t.AsInteger("OpenMode") == 1;
    if (s.FOpenMark) s.FApexSide = static_cast<int32_t>(t.AsInteger("RotSide") - 1);
    s.FHandled = t.AsInteger("Handled") == 1 && (!FHandle.empty() || (FComplectImage >= 1 && FComplectImage <= 5));
    const bool hinged = t.AsInteger("Banded") == 1;
    const bool driven = t.AsInteger("Drived") == 1;
    if (!s.FHandled) {
      s.FHandleHeight = 0;
    } else {
      const int direction = GetSideHandleDirect(FComplect, i + 1);
      s.SetHandle(FUserDefineHeight ? FUserHandleHeight : CascadeRound(s.GetLength() / 2), direction);
    }
    s.FHinged = hinged;
    s.FDriven = driven;
  }
}

void TkvfFurnComp::Recalculate() {
  ClearItems();
  try {
    CalcComplement(this);
  } catch (...) {
    ClearItems();
    throw;
  }
}

void TkvfFurnComp::Clear() {
  FFurnSys.clear();
  FProfSys.clear();
  FColor.clear();
  FComplect.clear();
  FHinge.clear();
  FHandle.clear();
  FLock.clear();
  FCylinder.clear();
  FDrive.clear();
  FLatch.clear();
  FUserHandleHeight = 0;
  FUserDefineHeight = false;
  FComplectImage = FHandleImage = FHingeImage = FDriveImage = FSpareImage = -1;
  FHandleColor = FHingeColor = FDriveColor = FSpareColor = 0;
  FProperties.clear();
  FAddComplects.clear();
  ClearItems();
}

void TkvfFurnComp::AddItem(const std::string& article, const std::string& parentComplect, int32_t sideNo,
                           int32_t count, const std::string& comment, float length, bool separate,
                           const std::string& history) {
  if (article.empty() || count == 0 || IsVirtualArticle(article)) return;
  std::string kept = history;
  if (!separate) {
    const int i = FindEqualItem(article, parentComplect, length, sideNo, comment);
    if (i >= 0) {
      Items[static_cast<size_t>(i)].FCount += count;
      return;
    }
    kept.clear();
  }
  TkvfFurnItem item;
  item.FArticle = article;
  item.FParentComplect = parentComplect;
  item.FCount = count;
  item.FLength = length;
  item.FComment = comment;
  item.FSideNo = sideNo;
  item.FHistory = kept;
  Items.push_back(std::move(item));
}

int TkvfFurnComp::FindEqualItem(const std::string& article, const std::string& parentComplect, float length,
                                int32_t sideNo, const std::string& comment) const {
  for (size_t i = 0; i < Items.size(); ++i) {
    const TkvfFurnItem& it = Items[i];
    if (it.FArticle == article && it.FParentComplect == parentComplect && it.FSideNo == sideNo &&
        it.FComment == comment && it.FLength == length)
      return static_cast<int>(i);
  }
  return -1;
}

int TkvfFurnComp::FindArticle(const std::string& article) const {
  for (size_t i = 0; i < Items.size(); ++i)
    if (Items[i].FArticle == article) return static_cast<int>(i);
  return -1;
}

}  // namespace kvf
