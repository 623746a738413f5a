#pragma once
// The construction model: a position (TkvfConstruction) with one or two sashes
// (TkvfFlugel), each a closed clockwise outline of corner points and sides in
// tenths of a millimetre, origin at the top-left of the position's size box.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/geometry.h"
#include "core/money.h"
#include "engine/mat_list.h"
#include "engine/record_layout.h"

namespace kvf {

class TkvfFlugel;
class TkvfConstruction;
class TSpecStream;

class TkvfFurnComp;
class TkvfOrder;

struct TkvfPoint {
  int32_t FX = 0, FY = 0;
  TPoint AsPoint() const { return {FX, FY}; }
};

class TkvfLine {
 public:
  float FRadius = 0;   // tenths of a millimetre; 0 straight
  float FRadius2 = 0;  // FRadius for a circular arc, smaller for an elliptic side
  TFloatPoint FCentre;
  int FStart = -1, FEnd = -1;  // indexes of the sash's points (LinkSides)
  bool FOpenMark = false;
  int32_t FApexSide = -1;
  bool FHandled = false, FHinged = false, FDriven = false;
  int32_t FHandleHeight = 0;  // mm
  TPoint FHandleMark;
  TkvfFlugel* FFlugel = nullptr;

  double GetChordLength() const;  // tenths of mm; -1 without both points
  double GetLength() const;       // mm: the chord / 10
  bool IsArc() const;
  bool IsHalfCircle() const;
  bool IsSegmentArc() const;
  bool IsElliptic() const;
  int GetSideOrientation() const;  // 1 vertical, 0 horizontal, 3 slanted
  void UpdateCentre();
  void SetHandle(int height, int direction);
  TPoint StartPoint() const;
  TPoint EndPoint() const;
};

// Installation parameters of one sash for one calculation.
struct TkvfSashParams {
  float ProfWidth = 0;
  float ProfThickness = 0;
  int32_t FalzLuft = 0, FalzSize = 0, FalzPos = 0;
  float DornMass = 0;
  uint8_t OpenType = 0;  // 2: T-shaped sash; 1: outer profile colour in colour conditions
};

// The new-position dialog's figure and sizes, in millimetres.
struct TOutlineParams {
  int B = 0, H = 0;
  int Figure = 0;
  int X = 0, Y = 0;
  float R1 = 0, R2 = 0;
};

// One sash's part of a fittings choice.
struct TkvfSashChoice {
  std::string FComplect, FHandle, FHinge, FLock, FCylinder, FDrive, FLatch;
  bool FUserDefineHeight = false;
  int32_t FUserHandleHeight = 0;
  int32_t FDornType = 0;
  std::vector<std::string> FProperties, FAddComplects;
};

// The fittings dialog's complete choice for a position.
struct TkvfFittingsChoice {
  std::string FFurnSys, FProfSys, FFurnColor;
  int32_t FFalzType = 0, FStulpType = 0, FFlugelType = 0;
  float FProfWidth = 0, FProfThickness = 0;
  TkvfSashChoice sash1, sash2;
};

struct TOutlineExtents {
  TFloatPoint left, top, right, bottom;  // before rounding
  TPoint leftmost, topmost, rightmost, bottommost;
  int32_t width = 0, height = 0;  // tenths of mm
};

class TkvfFlugel {
 public:
  explicit TkvfFlugel(TkvfConstruction* owner);
  ~TkvfFlugel();
  TkvfFlugel(const TkvfFlugel&) = delete;
  TkvfFlugel& operator=(const TkvfFlugel&) = delete;

  std::vector<TkvfPoint> FPoints;
  std::vector<TkvfLine> FSides;
  TkvfConstruction* FConstruction = nullptr;
  int32_t FDornType = 0;
  std::unique_ptr<TkvfFurnComp> FComplement;
  TkvfMatList FMatList;

  // Appends the points and sides of the figure (sizes in tenths) at x offset x0.
  void BuildOutline(const TOutlineParams& tenths, int32_t x0);
  void LinkSides();
  void UpdateArcCentres();
  TOutlineExtents GetOutlineExtents() const;
  void GetSashSize(int& width, int& height) const;  // whole mm
  void GetSashBounds(TPoint& topLeft, TPoint& bottomRight) const;
  float GetCornerAngle(int index) const;
  const TkvfLine& PrevSide(int index) const;
  int FirstHandleSide() const;
  int GetHandleHeight() const;
  TkvfFlugel* GetPartner() const;
  // Evaluates a catalog length formula over this sash; syntax errors raise.
  double EvalFormula(const std::string& text);

  // Fittings (the complement of this sash).
  void SetFittings(const std::string& furnSys, const std::string& profSys, const std::string& color,
                   const TkvfSashChoice& choice);
  void PreviewFittings(const TkvfSashChoice& choice);
  void ClearFittings();
  void CheckPartnerSystem();

  // The sash record of the order file, read with the document's version label.
  void SaveToStream(TSpecStream& s) const;
  void LoadFromStream(TSpecStream& s, const std::string& version);
  void LoadRecord(TSpecStream& s, const TRecordLayout& layout);

  // Material lines and pricing (in the current currency of the settings).
  void BuildMaterialList();
  TMoney GetMaterialTotal() const;
  void AddMaterialsTo(TMaterialMerger& merger, int32_t factor) const;
};

class TkvfConstruction {
 public:
  explicit TkvfConstruction(TkvfOrder* order);
  ~TkvfConstruction();
  TkvfConstruction(const TkvfConstruction&) = delete;
  TkvfConstruction& operator=(const TkvfConstruction&) = delete;
  // An exact copy through the position record; raises "Ошибка копирования позиции!...".
  void CopyFrom(const TkvfConstruction& other);
  void SaveToStream(TSpecStream& s) const;
  // Replaces everything the record carries; older layouts by the document's label.
  void LoadFromStream(TSpecStream& s, const std::string& version);
  void LoadRecord(TSpecStream& s, const TRecordLayout& layout);
  void SaveBackup(TSpecStream& s) const;  // raises "Ошибка создания резервной копии объекта!..."
  void RestoreBackup(TSpecStream& s);     // raises "Ошибка восстановления объекта из резервной копии!..." 

  bool FIncluded = true;
  std::string FPosNo;
  std::string FName;
  int32_t FNumber = 1;
  uint8_t FObjectType = 0;
  std::string FFurnSys, FProfSys, FFurnColor;
  int32_t FFalzType = 0, FStulpType = 0, FFlugelType = 0;
  float FProfWidth = 0, FProfThickness = 0;
  std::vector<std::string> FNote;
  TMoney FPrice;
  uint8_t FSashLayout = 2;  // 2 one sash; 0 two, left main; 1 two, right main
  std::unique_ptr<TkvfFlugel> FFlugel1, FFlugel2;
  bool FSecondPending = false;
  TkvfOrder* FOrder = nullptr;

  void BuildOutlines(const TOutlineParams& params, int32_t dornType);
  void GetConstructionSize(int& width, int& height) const;
  // Sets the choice on the sashes, main sash first, then prices the position.
  // An error stops at once and reaches the caller.
  void SetFittings(const TkvfFittingsChoice& choice);
  void PreviewFittings(const TkvfFittingsChoice& choice);
  void ClearSashFittings(int sash);
  // FPrice := the material totals of both sashes, their lines built again.
  void RecalcPrice();
  TMoney GetCost() const;  // FPrice x FNumber
  void AddMaterialsTo(TkvfMatList& list) const;
  void AddMaterialsTo(TMaterialMerger& merger) const;
  std::vector<std::string> ListComplectNames() const;
  TkvfFurnComp* FirstComplement();
  TkvfFurnComp* NextComplement();
};

}  // namespace kvf
