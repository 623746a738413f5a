#pragma once
// Points, angles, arcs and the program's rounding rule. Screen orientation: X to
// the right, Y downward; angles in degrees counter-clockwise as seen on the
// screen. Intermediate values are computed in long double; results stored into
// a TFloatPoint are narrowed to single precision.
#include <cstdint>

namespace kvf {

struct TPoint {
  int32_t X = 0, Y = 0;
  bool operator==(const TPoint&) const = default;
};

struct TFloatPoint {
  float X = 0, Y = 0;
  bool operator==(const TFloatPoint&) const = default;
};

// The program's rounding rule: the fraction is cut to four decimals and every
// half is carried upward digit by digit (2.4449 -> 3, 0.45 -> 1); negative values
// are truncated toward zero. A result outside 32 bits raises EKvfError.
int32_t CascadeRound(long double x);
long double RoundTo1Decimal(long double x);
long double RoundTo4Decimals(long double x);
// Outline extremes: one step outward unless within 0.1 of a whole number.
int32_t CeilWithTolerance(long double x);
int32_t FloorWithTolerance(long double x);

int32_t ScaleValue(long double value, long double scale);        // CascadeRound(value / scale)
long double ScaleValueF(long double value, long double scale);   // RoundTo1Decimal(value / scale)
TPoint ScalePoint(TPoint p, long double scale);
TFloatPoint ScalePointF(TFloatPoint p, long double scale);
TPoint RoundPoint(TFloatPoint p);
TFloatPoint ToFloatPoint(TPoint p);
TPoint operator+(TPoint a, TPoint b);  // overflow raises EKvfError
TFloatPoint operator+(TFloatPoint a, TFloatPoint b);
TPoint MidPoint(TPoint a, TPoint b);
TFloatPoint MidPointF(TPoint a, TPoint b);
long double Distance(TPoint a, TPoint b);
long double Distance(TFloatPoint a, TFloatPoint b);
bool SamePoint(TPoint a, TPoint b);

long double LineAngle(TFloatPoint a, TFloatPoint b);  // [0, 360): exactly 0/90/180/270 on the axes
int DirectionCode(TFloatPoint a, TFloatPoint b);      // 0 none, 1 up-right, 2 right, ... 8 up
int AngleDirectionCode(long double angle);
TFloatPoint RotatePoint(TFloatPoint p, TFloatPoint centre, long double angle);
TPoint RotatePoint(TPoint p, TPoint centre, long double angle);
// Centre of an arc side on the chord s->e with radius r: on the right-hand side
// of the travel direction, so the arc bulges to the left. A slanted chord shorter
// than the diameter allows raises EKvfError.
TFloatPoint ArcCentre(TFloatPoint s, TFloatPoint e, long double r);
TFloatPoint ArcCentre(TPoint s, TPoint e, long double r);
bool PointOnArc(TFloatPoint s, TFloatPoint e, TFloatPoint c, TFloatPoint x, long double r);
long double AngleAt(TFloatPoint p1, TFloatPoint p2, TFloatPoint p3);  // -1 for a zero-length segment
long double CornerAngle(TFloatPoint p1, TFloatPoint p2, TFloatPoint p3, long double rIn, long double rOut,
                        TFloatPoint cIn, TFloatPoint cOut);
long double ArcHeight(long double r, long double chord);
long double ArcRadius(long double height, long double chord);
TFloatPoint PointAlong(TFloatPoint p1, TFloatPoint p2, long double d);
TPoint PointAlong(TPoint p1, TPoint p2, long double d);
TFloatPoint PolarOffset(TFloatPoint c, TFloatPoint p1, TFloatPoint p2, long double angle, long double distance);
TPoint PolarOffset(TPoint c, TPoint p1, TPoint p2, long double angle, long double distance);

}  // namespace kvf
