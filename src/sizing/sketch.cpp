#include "sizing/sketch.h"

#include "engine/construction.h"
#include "engine/furn_comp.h"

namespace kvf {

TSketchPlacement DrawSketch(const TkvfConstruction& c, TCanvas& canvas, int left, int top, int right, int bottom,
                            float zoom, const TSizeGridOptions& options, int scrollXPercent, int scrollYPercent) {
  TSketchPlacement placement;
  TkvfSizeGrid grid(canvas);
  grid.Build(c, options);
  const int aw = (right - left) - grid.VertExtentPx() - 20;
  const int ah = (bottom - top) - grid.HorzExtentPx() - 20;
  int w = 0, h = 0;
  c.GetConstructionSize(w, h);
  // Nothing to fit, or no room for it: draw nothing rather than divide by zero.
  if (w <= 0 || h <= 0 || aw <= 0 || ah <= 0) return placement;
  double scale = static_cast<double>(w) / h >= static_cast<double>(aw) / ah ? static_cast<double>(w) / aw
                                                                             : static_cast<double>(h) / ah;
  scale *= zoom == 0 ? 1 : zoom;
  const int dw = ScaleValue(w, scale), dh = ScaleValue(h, scale);
  placement.scale = scale;
  placement.offsetX = (aw - dw) / 2 + 10;
  placement.offsetY = (ah - dh) / 2 + 10;
  placement.scrollX = CascadeRound(static_cast<long double>(scrollXPercent) * dw / 100);
  placement.scrollY = CascadeRound(static_cast<long double>(scrollYPercent) * dh / 100);
  const TPoint viewport = canvas.ViewportOrigin(), window = canvas.WindowOrigin();
  struct TRestore {
    TCanvas& c;
    TPoint viewport, window;
    ~TRestore() {
      c.SetWindowOrigin(window);
      c.SetViewportOrigin(viewport);
    }
  } restore{canvas, viewport, window};
  // An outline reaching above or left of its origin (an arch over Y = 0) is moved into the box.
  const TPoint topLeft = ConstructionTopLeft(c);
  canvas.SetViewportOrigin({left + placement.offsetX - ScaleValue(topLeft.X, scale),
                            top + placement.offsetY - ScaleValue(topLeft.Y, scale)});
  canvas.SetWindowOrigin({placement.scrollX, placement.scrollY});
  canvas.Pen.Width = 3;
  DrawSash(*c.FFlugel1, canvas, scale * 10);
  if (c.FSashLayout != 2) DrawSash(*c.FFlugel2, canvas, scale * 10);
  grid.Draw(static_cast<float>(scale));
  placement.drawn = true;
  return placement;
}

void DrawSash(const TkvfFlugel& sash, TCanvas& canvas, double s) {
  for (const TkvfLine& side : sash.FSides) DrawSide(side, canvas, s);
  if (!sash.FComplement) return;
  for (const TkvfLine& side : sash.FSides)
    if (side.FOpenMark && side.FApexSide >= 0 && side.FApexSide < static_cast<int>(sash.FPoints.size()))
      DrawOpeningLines(sash, canvas, side, s);
  const int image = sash.FComplement->FComplectImage;
  if (image >= 1 && image <= 5) DrawSashSymbol(sash, canvas, s);
}

void DrawSide(const TkvfLine& side, TCanvas& canvas, double s) {
  const TPoint p1 = ScalePoint(side.StartPoint(), s), p2 = ScalePoint(side.EndPoint(), s);
  const TFloatPoint c = ScalePointF(side.FCentre, s);
  DrawArcOrLine(canvas, p1, p2, kBlack, ScaleValueF(side.FRadius, s), c);
}

void DrawOpeningLines(const TkvfFlugel& sash, TCanvas& canvas, const TkvfLine& side, double s) {
  const int width = canvas.Pen.Width;
  canvas.Pen.Width = 1;
  const TkvfLine& t = sash.FSides[static_cast<size_t>(side.FApexSide)];
  TPoint apex;
  if (t.FRadius == 0) {
    apex = MidPoint(t.EndPoint(), t.StartPoint());
  } else {
    const long double g = AngleAt(ToFloatPoint(t.EndPoint()), t.FCentre, ToFloatPoint(t.StartPoint()));
    apex = RoundPoint(RotatePoint(ToFloatPoint(t.StartPoint()), t.FCentre, -g / 2));
  }
  canvas.MoveTo(ScalePoint(side.StartPoint(), s));
  canvas.LineTo(ScalePoint(apex, s));
  canvas.LineTo(ScalePoint(side.EndPoint(), s));
  canvas.Pen.Width = width;
}

void DrawSashSymbol(const TkvfFlugel& sash, TCanvas& canvas, double s) {
  TPoint min, max;
  sash.GetSashBounds(min, max);
  min = {CascadeRound(min.X * 10.0L), CascadeRound(min.Y * 10.0L)};
  max = {CascadeRound(max.X * 10.0L), CascadeRound(max.Y * 10.0L)};
  const TPoint c{min.X + (max.X - min.X) / 2, min.Y + (max.Y - min.Y) / 2};
  const int a = 650, g = CascadeRound(a / 1.5L), h = a / 4;
  const TPoint P{c.X - a, c.Y}, Q{c.X + a, c.Y};
  auto sc = [s](TPoint p) { return ScalePoint(p, s); };
  const TPoint p = sc(P), q = sc(Q);
  const TPoint lb1 = sc({P.X + g, P.Y - h}), lb2 = sc({P.X + g, P.Y + h}), ls = sc({P.X, P.Y + a});
  const TPoint rb1 = sc({Q.X - g, Q.Y - h}), rb2 = sc({Q.X - g, Q.Y + h}), rs = sc({Q.X, Q.Y + a});
  switch (sash.FComplement->FComplectImage) {
    case 1:
      DrawLine(canvas, p, q);
      DrawLine(canvas, p, lb1);
      DrawLine(canvas, p, lb2);
      break;
    case 2:
      DrawLine(canvas, p, q);
      DrawLine(canvas, q, rb1);
      DrawLine(canvas, q, rb2);
      break;
    case 3:
      DrawLine(canvas, p, q);
      DrawLine(canvas, p, lb1);
      DrawLine(canvas, p, lb2);
      DrawLine(canvas, q, rb1);
      DrawLine(canvas, q, rb2);
      break;
    case 4:
      DrawLine(canvas, p, q);
      DrawLine(canvas, rs, q);
      DrawLine(canvas, p, lb1);
      DrawLine(canvas, p, lb2);
      break;
    case 5:
      DrawLine(canvas, p, q);
      DrawLine(canvas, ls, p);
      DrawLine(canvas, q, rb1);
      DrawLine(canvas, q, rb2);
      break;
    default: break;
  }
}

void DrawPositionSketch(TCanvas& canvas, int left, int top, int right, int bottom, const TkvfConstruction* data) {
  if (data) DrawSketch(*data, canvas, left, top, right, bottom, 1, AllSizeGridOptions());
}

}  // namespace kvf
