#include <gtest/gtest.h>

#include "core/expression.h"
#include "engine/construction.h"
#include "engine/furn_comp.h"
#include "engine/order.h"

namespace kvf {
namespace {

std::vector<std::pair<int, int>> Points(const TkvfFlugel& s) {
  std::vector<std::pair<int, int>> out;
  for (const TkvfPoint& p : s.FPoints) out.emplace_back(p.FX, p.FY);
  return out;
}

std::unique_ptr<TkvfConstruction> Build(TkvfOrder& order, TOutlineParams params, uint8_t layout = 2) {
  auto p = order.NewPosition();
  p->FSashLayout = layout;
  p->BuildOutlines(params, 201);
  return p;
}

TEST(Outlines, RectangleTwoSashesAndFigures) {
  TkvfOrder order;
  auto rect = Build(order, {700, 1400, 0});
  EXPECT_EQ(Points(*rect->FFlugel1), (std::vector<std::pair<int, int>>{{0, 14000}, {0, 0}, {7000, 0}, {7000, 14000}}));
  int w = 0, h = 0;
  rect->FFlugel1->GetSashSize(w, h);
  EXPECT_EQ(std::make_pair(w, h), std::make_pair(700, 1400));
  EXPECT_EQ(rect->FFlugel1->FSides[0].GetSideOrientation(), 1);
  EXPECT_EQ(rect->FFlugel1->FSides[1].GetSideOrientation(), 0);
  EXPECT_EQ(rect->FFlugel1->FDornType, 201);
  EXPECT_NEAR(rect->FFlugel1->GetCornerAngle(0), 90, 1e-4);
  EXPECT_TRUE(rect->FFlugel2->FPoints.empty());

  auto pair = Build(order, {1400, 1400, 2, 700, 700}, 0);
  EXPECT_EQ(pair->FFlugel2->FPoints[0].FX, 7000);
  EXPECT_EQ(pair->FFlugel2->FPoints[2].FX, 14000);
  pair->GetConstructionSize(w, h);
  EXPECT_EQ(std::make_pair(w, h), std::make_pair(1400, 1400));

  auto trap = Build(order, {1000, 1500, 3, 750});
  EXPECT_EQ(Points(*trap->FFlugel1),
            (std::vector<std::pair<int, int>>{{0, 15000}, {0, 7500}, {10000, 0}, {10000, 15000}}));
  EXPECT_EQ(trap->FFlugel1->FSides[1].GetSideOrientation(), 3);
  EXPECT_GT(trap->FFlugel1->GetCornerAngle(1), 90);
  EXPECT_LT(trap->FFlugel1->GetCornerAngle(2), 90);
  auto tri = Build(order, {800, 1000, 5});
  EXPECT_EQ(tri->FFlugel1->FSides.size(), 3u);
}

TEST(Outlines, ArchSidesAreSemicirclesOrSegments) {
  TkvfOrder order;
  auto arch = Build(order, {1000, 1500, 7, 0, 0, 500, 500});
  const TkvfLine& top = arch->FFlugel1->FSides[1];
  EXPECT_TRUE(top.IsHalfCircle());
  EXPECT_FALSE(top.IsSegmentArc());
  EXPECT_FALSE(top.IsElliptic());
  EXPECT_EQ(top.FCentre, (TFloatPoint{5000, 0}));
  int w = 0, h = 0;
  arch->FFlugel1->GetSashSize(w, h);
  EXPECT_EQ(std::make_pair(w, h), std::make_pair(1000, 2000));  // the arc rises 500 above the chord
  EXPECT_NEAR(arch->FFlugel1->GetCornerAngle(1), 180, 1e-3);

  auto segment = Build(order, {1000, 1500, 7, 0, 0, 600, 600});
  EXPECT_TRUE(segment->FFlugel1->FSides[1].IsSegmentArc());
  TkvfLine elliptic;
  elliptic.FRadius = 600;
  elliptic.FRadius2 = 400;
  EXPECT_TRUE(elliptic.IsElliptic());
  EXPECT_FALSE(elliptic.IsArc());
}

TEST(Outlines, HandleHeightsAndPartners) {
  TkvfOrder order;
  auto p = Build(order, {700, 1400, 0});
  TkvfLine& right = p->FFlugel1->FSides[2];  // runs downward from (7000, 0)
  right.SetHandle(620, 0);
  EXPECT_EQ(right.FHandleHeight, 0);  // not a handle side
  right.FHandled = true;
  right.SetHandle(620, 1);  // measured from the end (bottom)
  EXPECT_EQ(right.FHandleHeight, 620);
  EXPECT_EQ(right.FHandleMark, (TPoint{6990, 14000 - 6200}));
  EXPECT_EQ(p->FFlugel1->GetHandleHeight(), 620);
  EXPECT_EQ(p->FFlugel1->GetPartner(), p->FFlugel2.get());
  EXPECT_EQ(p->FFlugel2->GetPartner(), p->FFlugel1.get());
}

TEST(LengthFormulas, NamesAndFunctionsOfTheSash) {
  TkvfOrder order;
  auto p = Build(order, {700, 1400, 0});
  TkvfFlugel& s = *p->FFlugel1;
  s.FSides[2].FHandled = true;
  s.FSides[2].SetHandle(620, 1);
  struct Case { const char* formula; double value; };
  for (const Case& c : {Case{"FFB/2", 350}, Case{"FН - FFG(3) - 460", 320}, Case{"FFН + FRH", 2800},
                        Case{"FB + FRB", 1400}, Case{"ffl(2) + FL(1)", 2100}, Case{"FFL(9)", 0}, Case{"FFL(0)", 0},
                        Case{"fb", 0}, Case{"FH", 0},  // the Latin H is another name
                        Case{"FFGA(1)", 0}, Case{"Other(3) + 1", 1}}) {
    SCOPED_TRACE(c.formula);
    EXPECT_DOUBLE_EQ(s.EvalFormula(c.formula), c.value);
  }
  EXPECT_THROW(s.EvalFormula("FFB /"), EExprSyntaxError);
}

TEST(Construction, CopyIsDeepAndKeepsItsOwnSashes) {
  TkvfOrder order;
  auto p = Build(order, {700, 1400, 0});
  p->FFlugel1->FComplement = std::make_unique<TkvfFurnComp>(p->FFlugel1.get());
  p->FFlugel1->FComplement->FComplect = "K";
  TkvfConstruction copy(&order);
  copy.CopyFrom(*p);
  p->FFlugel1->FPoints[0].FX = 99;
  p->FFlugel1->FComplement->FComplect = "X";
  EXPECT_EQ(copy.FFlugel1->FPoints[0].FX, 0);
  EXPECT_EQ(copy.FFlugel1->FComplement->FComplect, "K");
  EXPECT_EQ(copy.FFlugel1->FComplement->FFlugel, copy.FFlugel1.get());
  EXPECT_EQ(copy.FFlugel1->FSides[0].FFlugel, copy.FFlugel1.get());
  EXPECT_EQ(copy.FFlugel1->GetPartner(), copy.FFlugel2.get());
}

}  // namespace
}  // namespace kvf
