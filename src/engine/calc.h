#pragma once
// The complect calculation of one sash's complement: complects expanded into
// element rows under their installation conditions, articles picked, composite
// elements expanded, strike plates and accessories added, lines sorted.
#include <string>

#include "engine/construction.h"

namespace kvf {

class TkvfFurnComp;

// Everything one calculation derives once and every step reads.
struct TCalcContext {
  TkvfFurnComp* comp = nullptr;
  TkvfFlugel* sash = nullptr;
  TkvfConstruction* position = nullptr;
  TkvfOrder* order = nullptr;
  TkvfFlugel* neighbour = nullptr;
  TkvfSashParams params;
  int direction = 0;
  int astragalType = 0;
  int ffb = 0, ffh = 0;  // whole centimetres
  std::string outerColor, innerColor, compColor;
  float profWidth = 100;
  float weight = 0;
};

// False for an absent complement. Errors are EKvfError with the catalog's message.
bool CalcComplement(TkvfFurnComp* comp);
void ExpandComplect(TCalcContext& ctx, const std::string& complect, int slot, bool userDefineHeight);
int CountScaleSteps(const std::string& scheme, double value);

// The inputs of one article pick.
struct TPickRequest {
  std::string element;
  std::string caption;
  std::string profSys;
  bool required = false;
  std::string alert;
  int direction = 0;
  int astragalType = 0;
  bool defineHandleHeight = false;
  float profWidth = 0;
  std::string color;
  float weight = 0;
  TkvfSashParams params;
  double A = 0, R2 = 0, R1 = 0, L2 = 0, L1 = 0;
  int ffh = 0, ffb = 0;
  int kind = 0;
};

struct TPickResult {
  bool found = false;
  std::string article;
  int handleHeight = 0;
};

TPickResult PickArticle(const TPickRequest& request);
void ExpandComposite(TCalcContext& ctx, const std::string& element, const std::string& parentComplect, int count,
                     int slot, int sideNo);

void StrikePlatePass(TCalcContext& ctx);
void ColorAccessoryPass(TCalcContext& ctx);
void AccessoryPass(TCalcContext& ctx);

// "%.Nf" as the catalog filters write numbers: halves away from zero, "." as the point.
std::string FormatFixed(double value, int decimals);

}  // namespace kvf
