#include <gtest/gtest.h>

#include "core/error.h"
#include "core/geometry.h"

namespace kvf {
namespace {

TEST(CascadeRound, CarriesEveryHalfUpwardAndTruncatesNegatives) {
  struct Case { long double x; int32_t r; };
  for (const Case& c : {Case{2.5, 3}, Case{2.4449, 3}, Case{2.4444, 2}, Case{0.45, 1}, Case{-2.7, -2},
                        Case{0, 0}, Case{0.4999, 1}, Case{0.4994, 1}, Case{0.4444, 0}, Case{7, 7}, Case{1.05, 1},
                        Case{2147483647.0, 2147483647}}) {
    SCOPED_TRACE(static_cast<double>(c.x));
    EXPECT_EQ(CascadeRound(c.x), c.r);
  }
  EXPECT_THROW(CascadeRound(3e9), EKvfError);
  EXPECT_THROW(CascadeRound(-3e9), EKvfError);
}

TEST(DecimalRounding, FollowsTheCascadeRule) {
  EXPECT_NEAR(static_cast<double>(RoundTo1Decimal(12.345)), 12.4, 1e-12);
  EXPECT_NEAR(static_cast<double>(RoundTo1Decimal(12.3449)), 12.4, 1e-12);  // 3.449 carries to 4
  EXPECT_NEAR(static_cast<double>(RoundTo1Decimal(12.34)), 12.3, 1e-12);
  EXPECT_NEAR(static_cast<double>(RoundTo1Decimal(-1.26)), -1.2, 1e-12);
  EXPECT_EQ(RoundTo1Decimal(0), 0);
  EXPECT_NEAR(static_cast<double>(RoundTo4Decimals(999.99045)), 999.9905, 1e-9);
  struct Case { long double x; int32_t ceil, floor; };
  for (const Case& c : {Case{5, 5, 5}, Case{5.04, 5, 5}, Case{5.2, 6, 4}, Case{-5.2, -4, -6}, Case{0, 0, 0}}) {
    SCOPED_TRACE(static_cast<double>(c.x));
    EXPECT_EQ(CeilWithTolerance(c.x), c.ceil);
    EXPECT_EQ(FloorWithTolerance(c.x), c.floor);
  }
  EXPECT_EQ(ScaleValue(7000, 10), 700);
  EXPECT_EQ(ScaleValue(25, 10), 3);
  EXPECT_NEAR(static_cast<double>(ScaleValueF(1234, 100)), 12.3, 1e-12);
}

TEST(Angles, AreScreenAnglesCounterClockwise) {
  struct Case { TFloatPoint b; long double angle; int code; };
  for (const Case& c : {Case{{10, 0}, 0, 2}, Case{{0, -10}, 90, 8}, Case{{-10, 0}, 180, 6}, Case{{0, 10}, 270, 4},
                        Case{{10, 10}, 315, 3}, Case{{10, -10}, 45, 1}, Case{{-10, -10}, 135, 7},
                        Case{{-10, 10}, 225, 5}, Case{{0, 0}, 0, 0}}) {
    SCOPED_TRACE(static_cast<double>(c.angle));
    const long double a = LineAngle({0, 0}, c.b);
    EXPECT_NEAR(static_cast<double>(a), static_cast<double>(c.angle), 1e-9);
    EXPECT_EQ(DirectionCode({0, 0}, c.b), c.code);
    if (c.code != 0) {
      EXPECT_EQ(AngleDirectionCode(c.angle), c.code);
    }
  }
  EXPECT_EQ(LineAngle({0, 0}, {0, -10}), 90);  // exact on the axes
  EXPECT_EQ(AngleDirectionCode(360), 2);
  EXPECT_EQ(AngleDirectionCode(400), 0);
  EXPECT_EQ(RotatePoint(TPoint{10, 0}, TPoint{0, 0}, 90), (TPoint{0, -10}));
  EXPECT_EQ(RotatePoint(TFloatPoint{10, 0}, TFloatPoint{0, 0}, 90), (TFloatPoint{0, -10}));
}

TEST(ArcCentre, LiesRightOfTheTravelDirection) {
  EXPECT_EQ(ArcCentre(TPoint{0, 500}, TPoint{1000, 500}, 500), (TFloatPoint{500, 500}));
  const TFloatPoint below = ArcCentre(TPoint{0, 500}, TPoint{1000, 500}, 707.1L);
  EXPECT_FLOAT_EQ(below.X, 500);
  EXPECT_FLOAT_EQ(below.Y, 999.9904f);
  const TFloatPoint slanted = ArcCentre(TPoint{0, 0}, TPoint{100, -100}, 100);
  EXPECT_NEAR(slanted.X, 100, 1e-4);
  EXPECT_NEAR(slanted.Y, 0, 1e-4);
  EXPECT_EQ(ArcCentre(TPoint{1000, 0}, TPoint{0, 0}, 500), (TFloatPoint{500, 0}));       // leftward: centre above
  EXPECT_EQ(ArcCentre(TPoint{0, 0}, TPoint{0, 1000}, 300), (TFloatPoint{0, 500}));       // too short: midpoint
  EXPECT_EQ(ArcCentre(TPoint{0, 0}, TPoint{0, 1000}, 500), (TFloatPoint{0, 500}));
  EXPECT_EQ(ArcCentre(TPoint{5, 5}, TPoint{5, 5}, 10), (TFloatPoint{-5, 5}));
  EXPECT_EQ(ArcCentre(TPoint{0, 0}, TPoint{10, 10}, 0), (TFloatPoint{0, 0}));
  EXPECT_THROW(ArcCentre(TPoint{0, 0}, TPoint{1000, -1000}, 100), EKvfError);
  // every slanted direction keeps the centre at distance r from both ends
  for (const TFloatPoint e : {TFloatPoint{300, -400}, TFloatPoint{300, 400}, TFloatPoint{-300, 400}, TFloatPoint{-300, -400}}) {
    const TFloatPoint c = ArcCentre(TFloatPoint{0, 0}, e, 500);
    EXPECT_NEAR(static_cast<double>(Distance(c, TFloatPoint{0, 0})), 500, 1e-2);
    EXPECT_NEAR(static_cast<double>(Distance(c, e)), 500, 1e-2);
    const double cross = c.X * e.Y - c.Y * e.X;  // right-hand side on the screen: cross < 0 with Y down
    EXPECT_LT(cross, 0) << e.X << "," << e.Y;
  }
}

TEST(Arcs, PointOnArcHeightAndRadius) {
  // the top side of a clockwise outline, travelled rightward: the arc bulges upward
  const TFloatPoint s{0, 500}, e{1000, 500}, c{500, 500};
  EXPECT_TRUE(PointOnArc(s, e, c, {500, 0}, 500));
  EXPECT_FALSE(PointOnArc(s, e, c, {500, 1000}, 500));
  EXPECT_FALSE(PointOnArc(s, e, c, {500, -1}, 500));
  EXPECT_TRUE(PointOnArc(s, e, c, {500, 0.4f}, 500));
  EXPECT_EQ(ArcHeight(500, 1000), 500);
  EXPECT_EQ(ArcRadius(500, 1000), 500);
  EXPECT_EQ(ArcHeight(500, 1200), 0);
  EXPECT_EQ(ArcRadius(0, 1000), 0);
  EXPECT_NEAR(static_cast<double>(ArcHeight(600, 1000)), 268.3, 1e-9);
}

TEST(CornerAngles, InteriorAngleOfAClockwiseOutline) {
  EXPECT_NEAR(static_cast<double>(AngleAt({0, 0}, {100, 0}, {100, 100})), 90, 1e-9);
  EXPECT_NEAR(static_cast<double>(AngleAt({0, 0}, {100, 0}, {200, 0})), 180, 1e-9);
  EXPECT_NEAR(static_cast<double>(AngleAt({0, 0}, {100, 0}, {200, -100})), 225, 1e-9);  // a left turn
  EXPECT_EQ(AngleAt({0, 0}, {0, 0}, {1, 1}), -1);
  // a semicircle on top of a 1000 wide rectangle: corner at its left end, arc leaving upward
  const long double withArc = CornerAngle({0, 1000}, {0, 500}, {1000, 500}, 0, 500, {}, {500, 500});
  EXPECT_NEAR(static_cast<double>(withArc), 180, 1e-9);
  EXPECT_NEAR(static_cast<double>(CornerAngle({0, 1000}, {0, 0}, {100, 0}, 0, 0, {}, {})), 90, 1e-9);
}

TEST(Offsets, AlongAndPolar) {
  EXPECT_EQ(PointAlong(TPoint{0, 0}, TPoint{0, -100}, 30), (TPoint{0, -30}));
  EXPECT_EQ(PointAlong(TPoint{5, 5}, TPoint{5, 5}, 10), (TPoint{15, 5}));
  // a side in direction 300 with +90 points at 30 degrees
  const TFloatPoint p1{0, 0};
  const TFloatPoint p2 = RotatePoint(TFloatPoint{100, 0}, p1, 300);
  const TFloatPoint o = PolarOffset({0, 0}, p1, p2, 90, 100);
  EXPECT_NEAR(o.X, 86.6025, 1e-3);
  EXPECT_NEAR(o.Y, -50, 1e-3);
  EXPECT_EQ(PolarOffset(TPoint{0, 0}, TPoint{0, 0}, TPoint{100, 0}, -90, 10), (TPoint{0, 10}));
  EXPECT_EQ(MidPoint(TPoint{0, 0}, TPoint{5, 3}), (TPoint{3, 2}));
  EXPECT_THROW((TPoint{INT32_MAX, 0} + TPoint{1, 0}), EKvfError);
}

}  // namespace
}  // namespace kvf
