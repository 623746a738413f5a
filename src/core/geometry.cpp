#include "core/geometry.h"

#include <cmath>
#include <fmt/format.h>

#include "core/error.h"

namespace kvf {
namespace {

constexpr long double kPi = 3.141592653589793238462643383279502884L;
constexpr long double kRad = kPi / 180.0L;

long double Int(long double x) { return std::trunc(x); }
long double Frac(long double x) { return x - std::trunc(x); }

int32_t TruncChecked(long double x) {
  if (!(x >= INT32_MIN && x <= INT32_MAX))
    throw EKvfError(fmt::format("Ошибка диапазона: {}", static_cast<double>(x)));
  return static_cast<int32_t>(x);
}

long double Sign(long double x) { return x > 0 ? 1 : (x < 0 ? -1 : 0); }

TFloatPoint F(long double x, long double y) { return {static_cast<float>(x), static_cast<float>(y)}; }

}  // namespace

int32_t CascadeRound(long double x) {
  long double f = Int(Frac(x) * 10000.0L) / 10000.0L;
  if (Frac(f * 1000.0L) >= 0.5L) f += 0.001L;
  if (Frac(f * 100.0L) >= 0.5L) f += 0.01L;
  if (Frac(f * 10.0L) >= 0.5L) f += 0.1L;
  if (Frac(f) >= 0.5L) f += 1.0L;
  return TruncChecked(Int(x) + Int(f));
}

long double RoundTo1Decimal(long double x) {
  if (x == 0) return 0;
  return Int(x) + CascadeRound(Frac(x) * 10.0L) / 10.0L;
}

long double RoundTo4Decimals(long double x) {
  if (x == 0) return 0;
  return Int(x) + CascadeRound(Frac(x) * 10000.0L) / 10000.0L;
}

int32_t CeilWithTolerance(long double x) {
  if (x != 0) {
    x = RoundTo1Decimal(x);
    if (std::fabs(x - Int(x)) >= 0.1L) x = Int(x + 1);
  }
  return TruncChecked(x);
}

int32_t FloorWithTolerance(long double x) {
  if (x != 0) {
    x = RoundTo1Decimal(x);
    if (std::fabs(x - Int(x)) >= 0.1L) x = Int(x - 1);
  }
  return TruncChecked(x);
}

int32_t ScaleValue(long double value, long double scale) { return CascadeRound(value / scale); }
long double ScaleValueF(long double value, long double scale) { return RoundTo1Decimal(value / scale); }
TPoint ScalePoint(TPoint p, long double scale) { return {ScaleValue(p.X, scale), ScaleValue(p.Y, scale)}; }
TFloatPoint ScalePointF(TFloatPoint p, long double scale) {
  return F(ScaleValueF(p.X, scale), ScaleValueF(p.Y, scale));
}
TPoint RoundPoint(TFloatPoint p) { return {CascadeRound(p.X), CascadeRound(p.Y)}; }
TFloatPoint ToFloatPoint(TPoint p) { return F(p.X, p.Y); }

TPoint operator+(TPoint a, TPoint b) {
  TPoint r;
  if (__builtin_add_overflow(a.X, b.X, &r.X) || __builtin_add_overflow(a.Y, b.Y, &r.Y))
    throw EKvfError("Целочисленное переполнение");
  return r;
}

TFloatPoint operator+(TFloatPoint a, TFloatPoint b) {
  return F(static_cast<long double>(a.X) + b.X, static_cast<long double>(a.Y) + b.Y);
}

TPoint MidPoint(TPoint a, TPoint b) { return RoundPoint(MidPointF(a, b)); }
TFloatPoint MidPointF(TPoint a, TPoint b) {
  return F((static_cast<long double>(a.X) + b.X) / 2, (static_cast<long double>(a.Y) + b.Y) / 2);
}

long double Distance(TPoint a, TPoint b) { return Distance(ToFloatPoint(a), ToFloatPoint(b)); }
long double Distance(TFloatPoint a, TFloatPoint b) {
  const long double dx = static_cast<long double>(b.X) - a.X, dy = static_cast<long double>(b.Y) - a.Y;
  return std::sqrt(dx * dx + dy * dy);
}

bool SamePoint(TPoint a, TPoint b) { return a == b; }

long double LineAngle(TFloatPoint a, TFloatPoint b) {
  const long double dx = static_cast<long double>(b.X) - a.X;
  const long double dy = static_cast<long double>(b.Y) - a.Y;
  if (dx == 0 && dy == 0) return 0;
  if (dx == 0) return dy < 0 ? 90 : 270;
  if (dy == 0) return dx > 0 ? 0 : 180;
  const long double t = std::atan(dy / dx) / kRad;
  if (t >= 0) return dy > 0 ? 360 - t : 180 - t;
  return dy > 0 ? 180 + std::fabs(t) : std::fabs(t);
}

int DirectionCode(TFloatPoint a, TFloatPoint b) {
  if (a.X < b.X) return a.Y > b.Y ? 1 : (a.Y == b.Y ? 2 : 3);
  if (a.X > b.X) return a.Y < b.Y ? 5 : (a.Y == b.Y ? 6 : 7);
  if (a.Y < b.Y) return 4;
  if (a.Y > b.Y) return 8;
  return 0;
}

int AngleDirectionCode(long double a) {
  if (a > 0 && a < 90) return 1;
  if (a == 0 || a == 360) return 2;
  if (a > 270 && a < 360) return 3;
  if (a == 270) return 4;
  if (a > 180 && a < 270) return 5;
  if (a == 180) return 6;
  if (a > 90 && a < 180) return 7;
  if (a == 90) return 8;
  return 0;
}

TFloatPoint RotatePoint(TFloatPoint p, TFloatPoint centre, long double angle) {
  const long double qx = static_cast<long double>(p.X) - centre.X, qy = static_cast<long double>(p.Y) - centre.Y;
  const long double s = std::sin(angle * kRad), c = std::cos(angle * kRad);
  return F(RoundTo4Decimals(centre.X + (c * qx + s * qy)), RoundTo4Decimals(centre.Y + (-s * qx + c * qy)));
}

TPoint RotatePoint(TPoint p, TPoint centre, long double angle) {
  return RoundPoint(RotatePoint(ToFloatPoint(p), ToFloatPoint(centre), angle));
}

TFloatPoint ArcCentre(TFloatPoint s, TFloatPoint e, long double r) {
  if (r == 0) return {0, 0};
  const long double dx = static_cast<long double>(e.X) - s.X, dy = static_cast<long double>(e.Y) - s.Y;
  const long double ex = e.X, ey = e.Y;
  if (dy == 0 && dx != 0) {
    const long double h = r * r - (dx / 2) * (dx / 2);
    return F(ex - dx / 2, ey + Sign(dx) * (h < 0 ? 0 : std::sqrt(h)));
  }
  if (dx == 0 && dy != 0) {
    const long double h = r * r - (dy / 2) * (dy / 2);
    return F(ex - Sign(dy) * (h < 0 ? 0 : std::sqrt(h)), ey - dy / 2);
  }
  if (dx == 0 && dy == 0) return F(ex - r, ey);
  const long double len = std::sqrt(dx * dx + dy * dy);
  const long double sine = (len / 2) / r;
  if (sine > 1 || sine < -1)
    throw EKvfError(fmt::format("Недопустимая операция с плавающей точкой: радиус {} меньше половины хорды {}",
                                static_cast<double>(r), static_cast<double>(len)));
  const long double w = std::asin(sine) / kRad;
  const int k = DirectionCode(s, e);
  const long double t = (k == 1 || k == 5) ? std::atan(std::fabs(dy) / std::fabs(dx)) / kRad
                                           : std::atan(std::fabs(dx) / std::fabs(dy)) / kRad;
  const long double u = (t - w) * kRad;
  long double ox = 0, oy = 0;
  switch (k) {
    case 1: ox = r * std::sin(u); oy = r * std::cos(u); break;
    case 3: ox = -r * std::cos(u); oy = r * std::sin(u); break;
    case 5: ox = -r * std::sin(u); oy = -r * std::cos(u); break;
    case 7: ox = r * std::cos(u); oy = -r * std::sin(u); break;
    default: break;
  }
  return F(ex + ox, ey + oy);
}

TFloatPoint ArcCentre(TPoint s, TPoint e, long double r) {
  const TFloatPoint c = ArcCentre(ToFloatPoint(s), ToFloatPoint(e), r);
  return F(RoundTo4Decimals(c.X), RoundTo4Decimals(c.Y));
}

bool PointOnArc(TFloatPoint s, TFloatPoint e, TFloatPoint c, TFloatPoint x, long double r) {
  if (std::fabs(Distance(x, c) - r) > 0.5L) return false;
  const long double cross = (static_cast<long double>(x.X) - s.X) * (static_cast<long double>(e.Y) - s.Y) -
                            (static_cast<long double>(x.Y) - s.Y) * (static_cast<long double>(e.X) - s.X);
  return cross * r >= 0;
}

long double AngleAt(TFloatPoint p1, TFloatPoint p2, TFloatPoint p3) {
  const long double ax = static_cast<long double>(p2.X) - p1.X, ay = static_cast<long double>(p2.Y) - p1.Y;
  const long double bx = static_cast<long double>(p3.X) - p2.X, by = static_cast<long double>(p3.Y) - p2.Y;
  const long double n = std::sqrt(ax * ax + ay * ay) * std::sqrt(bx * bx + by * by);
  if (n == 0) return -1;
  long double k = (ax * bx + ay * by) / n;
  if (k > 1) k = 1;
  if (k < -1) k = -1;
  const long double deflection = std::acos(k) / kRad;
  const long double a1 = LineAngle(p1, p2), a2 = LineAngle(p2, p3);
  long double d;
  if (a1 > 180) {
    d = a2 + (360 - a1);
    if (d > 360) d -= 360;
  } else {
    d = a2 - a1;
  }
  return (d > 0 && d < 180) ? 180 + deflection : 180 - deflection;
}

long double CornerAngle(TFloatPoint p1, TFloatPoint p2, TFloatPoint p3, long double rIn, long double rOut,
                        TFloatPoint cIn, TFloatPoint cOut) {
  if (rIn == 0 && rOut == 0) return AngleAt(p1, p2, p3);
  auto part = [](long double g) { return g <= 180 ? g + 90 : g - 270; };
  long double result = 0;
  if (rOut > 0) result += part(AngleAt(p1, p2, cOut));
  if (rIn > 0) result += part(AngleAt(cIn, p2, p3));
  return result;
}

long double ArcHeight(long double r, long double chord) {
  const long double h = r * r - (chord / 2) * (chord / 2);
  if (chord > 0 && h >= 0) return RoundTo1Decimal(r - std::sqrt(h));
  return 0;
}

long double ArcRadius(long double height, long double chord) {
  if (chord > 0 && height > 0) return RoundTo1Decimal(((chord / 2) * (chord / 2) + height * height) / (2 * height));
  return 0;
}

TFloatPoint PointAlong(TFloatPoint p1, TFloatPoint p2, long double d) {
  const long double theta = LineAngle(p1, p2) * kRad;
  return F(p1.X + d * std::cos(theta), p1.Y - d * std::sin(theta));
}

TPoint PointAlong(TPoint p1, TPoint p2, long double d) {
  return RoundPoint(PointAlong(ToFloatPoint(p1), ToFloatPoint(p2), d));
}

TFloatPoint PolarOffset(TFloatPoint c, TFloatPoint p1, TFloatPoint p2, long double angle, long double distance) {
  long double theta = LineAngle(p1, p2) + angle;
  while (theta < 0) theta += 360;
  while (theta >= 360) theta -= 360;
  theta *= kRad;
  return F(c.X + distance * std::cos(theta), c.Y - distance * std::sin(theta));
}

TPoint PolarOffset(TPoint c, TPoint p1, TPoint p2, long double angle, long double distance) {
  return RoundPoint(PolarOffset(ToFloatPoint(c), ToFloatPoint(p1), ToFloatPoint(p2), angle, distance));
}

}  // namespace kvf
