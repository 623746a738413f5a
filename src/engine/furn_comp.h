#pragma once
// A sash's fittings complement: the choice (system, colour, complects by slot,
// additional complects, property values, handle height) and the calculated
// article lines.
#include <cstdint>
#include <string>
#include <vector>

namespace kvf {

class TkvfFlugel;

struct TkvfFurnItem {
  std::string FArticle;
  float FLength = 0;  // mm for articles cut to length
  int32_t FCount = 0;
  std::string FHistory;  // derivation text, kept in debug mode only
  std::string FComment;
  int32_t FSideNo = 0;
  int32_t FSpare1 = 0, FSpare2 = 0, FSpare3 = 0;
  std::string FParentComplect;
};

class TkvfFurnComp {
 public:
  explicit TkvfFurnComp(TkvfFlugel* owner) : FFlugel(owner) {}

  std::string FFurnSys, FProfSys, FColor;
  std::string FComplect;  // slot 0
  std::string FHinge;     // slot 2
  std::string FHandle;    // slot 1
  std::string FLock;      // slot 3
  std::string FCylinder;  // slot 4
  std::string FDrive;     // slot 5
  std::string FLatch;     // slot 6
  int32_t FComplectImage = -1, FHandleImage = -1, FHingeImage = -1, FDriveImage = -1, FSpareImage = -1;
  int32_t FHandleColor = 0, FHingeColor = 0, FDriveColor = 0, FSpareColor = 0;
  int32_t FUserHandleHeight = 0;
  bool FUserDefineHeight = false;
  std::vector<std::string> FProperties;
  std::vector<std::string> FAddComplects;
  TkvfFlugel* FFlugel = nullptr;
  std::vector<TkvfFurnItem> Items;

  void SetComplement(const std::string& furnSys, const std::string& profSys, const std::string& color,
                     const std::string complects[7], bool userDefineHeight, int32_t userHandleHeight,
                     const std::vector<std::string>* properties, const std::vector<std::string>* addComplects);
  void SetComplects(const std::string complects[7], bool userDefineHeight, int32_t userHandleHeight);
  void Refresh();
  void ApplySides();
  // Items cleared, then calculated; on an error the items are cleared again.
  void Recalculate();
  void Clear();
  void ClearItems() { Items.clear(); }
  void AddItem(const std::string& article, const std::string& parentComplect, int32_t sideNo, int32_t count,
               const std::string& comment, float length, bool separate, const std::string& history);
  int FindEqualItem(const std::string& article, const std::string& parentComplect, float length, int32_t sideNo,
                    const std::string& comment) const;
  int FindArticle(const std::string& article) const;
  // The identifier of slot 0..6.
  const std::string& Slot(int slot) const;
  bool AllComplectsEmpty() const;
};

}  // namespace kvf
