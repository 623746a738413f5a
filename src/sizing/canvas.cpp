#include "sizing/canvas.h"

#include <cmath>

#include "core/money.h"

namespace kvf {

void DrawLine(TCanvas& canvas, TPoint p1, TPoint p2) {
  canvas.MoveTo(p1);
  canvas.LineTo(p2);
}

void DrawArcOrLine(TCanvas& canvas, TPoint p1, TPoint p2, TColor brushColor, long double r, TFloatPoint centre) {
  const TColor oldBrush = canvas.Brush.Color;
  const TColor oldPen = canvas.Pen.Color;
  canvas.Brush.Color = brushColor;
  if (r == 0) {
    DrawLine(canvas, p1, p2);
  } else {
    const long double a = std::fabs(r);
    const TPoint topLeft = RoundPoint({static_cast<float>(centre.X - a), static_cast<float>(centre.Y - a)});
    const TPoint bottomRight = RoundPoint({static_cast<float>(centre.X + a), static_cast<float>(centre.Y + a)});
    canvas.Arc(topLeft, bottomRight, p2, p1);
  }
  canvas.Brush.Color = oldBrush;
  canvas.Pen.Color = oldPen;
}

TSize DrawRotatedText(TCanvas& canvas, TPoint position, const std::string& text, long double angle) {
  if (angle == 0) {
    canvas.TextOut(position, text);
    return {};
  }
  const TFont saved = canvas.Font;
  canvas.Font.Escapement = CascadeRound(angle * 10);
  const TSize extent = canvas.TextExtent(text);
  const long double rad = angle * 3.141592653589793238462643383279502884L / 180.0L;
  const long double c = std::fabs(std::cos(rad)), s = std::fabs(std::sin(rad));
  const TSize size{static_cast<int32_t>(RoundHalfEven(c * extent.cx + s * extent.cy)),
                   static_cast<int32_t>(RoundHalfEven(s * extent.cx + c * extent.cy))};
  canvas.TextOut(position, text);
  canvas.Font = saved;
  return size;
}

}  // namespace kvf
