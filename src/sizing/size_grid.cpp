#include "sizing/size_grid.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <fmt/format.h>

#include "core/error.h"
#include "engine/construction.h"

namespace kvf {

TSizeGridOptions AllSizeGridOptions() {
  return {TSizeGridOption::sgoOverall, TSizeGridOption::sgoSides, TSizeGridOption::sgoInnerSides};
}

int TkvfSizePointList::Add(int32_t x, int32_t y) {
  for (const TkvfSizePoint& m : marks_)
    if (m.X == x && m.Y == y) return -1;
  marks_.push_back({x, y});
  return static_cast<int>(marks_.size()) - 1;
}

void TkvfSizePointList::SortByX() {
  std::sort(marks_.begin(), marks_.end(), [](const TkvfSizePoint& a, const TkvfSizePoint& b) { return a.X < b.X; });
}

void TkvfSizePointList::SortByY() {
  std::sort(marks_.begin(), marks_.end(), [](const TkvfSizePoint& a, const TkvfSizePoint& b) { return a.Y < b.Y; });
}

bool TkvfSizePointList::operator==(const TkvfSizePointList& o) const {
  if (marks_.size() != o.marks_.size()) return false;
  for (size_t i = 0; i < marks_.size(); ++i)
    if (marks_[i].X != o.marks_[i].X || marks_[i].Y != o.marks_[i].Y) return false;
  return true;
}

TPoint ConstructionTopLeft(const TkvfConstruction& c) {
  TPoint top{0, 0};
  for (const TkvfFlugel* sash : {c.FFlugel1.get(), c.FFlugel2.get()}) {
    if (sash->FPoints.empty() || (sash == c.FFlugel2.get() && c.FSashLayout == 2)) continue;
    TPoint min, max;
    sash->GetSashBounds(min, max);
    top = {std::min(top.X, min.X), std::min(top.Y, min.Y)};
  }
  return top;
}

TkvfSizeGrid::TkvfSizeGrid(TCanvas& canvas) : canvas_(canvas) { RowHeight = canvas.TextExtent("0").cy + 2; }

namespace {

bool AnyOption(const TSizeGridOptions& o) { return !o.empty(); }
bool Has(const TSizeGridOptions& o, TSizeGridOption x) { return o.count(x) > 0; }

int CheckedRows(size_t rows, int rowHeight) {
  const long long v = static_cast<long long>(rows) * rowHeight;
  if (v > INT_MAX) throw EKvfError("Целочисленное переполнение");
  return static_cast<int>(v);
}

}  // namespace

void TkvfSizeGrid::Build(const TkvfConstruction& c, const TSizeGridOptions& options) {
  if (!AnyOption(options)) return;
  int w = 0, h = 0;
  c.GetConstructionSize(w, h);
  Extent = {w, h};
  Origin = ConstructionTopLeft(c);
  AddSash(*c.FFlugel1, options);
  AddSash(*c.FFlugel2, options);
  if (Has(options, TSizeGridOption::sgoOverall)) {
    TkvfSizePointList horizontal;
    horizontal.Add(Origin.X, 0);
    horizontal.Add(Origin.X + w, 0);
    AddChain(HorzRows, horizontal, true);
    TkvfSizePointList vertical;
    vertical.Add(0, Origin.Y);
    vertical.Add(0, Origin.Y + h);
    AddChain(VertRows, vertical, false);
  }
}

void TkvfSizeGrid::Build(const TkvfFlugel& sash, const TSizeGridOptions& options) {
  if (!AnyOption(options)) return;
  int w = 0, h = 0;
  sash.GetSashSize(w, h);
  Extent = {w, h};
  TPoint max;
  sash.GetSashBounds(Origin, max);
  Origin = {std::min(Origin.X, 0), std::min(Origin.Y, 0)};
  AddSash(sash, options);
}

void TkvfSizeGrid::AddSash(const TkvfFlugel& sash, const TSizeGridOptions& options) {
  TPoint min, max;
  sash.GetSashBounds(min, max);
  for (const TkvfLine& side : sash.FSides) AddSide(side, min, max, options);
  TkvfSizePointList horizontal;
  horizontal.Add(min.X, 0);
  horizontal.Add(max.X, 0);
  horizontal.SortByX();
  AddChain(HorzRows, horizontal, true);
  TkvfSizePointList vertical;
  vertical.Add(0, min.Y);
  vertical.Add(0, max.Y);
  vertical.SortByY();
  AddChain(VertRows, vertical, false);
}

void TkvfSizeGrid::AddSide(const TkvfLine& side, TPoint min, TPoint max, const TSizeGridOptions& options) {
  const TPoint s = side.StartPoint(), e = side.EndPoint();
  const TPoint p1{s.X / 10, s.Y / 10}, p2{e.X / 10, e.Y / 10};
  const int o = side.GetSideOrientation();
  const bool inner = Has(options, TSizeGridOption::sgoInnerSides);
  const bool sides = Has(options, TSizeGridOption::sgoSides);
  auto chain = [&](int32_t a1, int32_t a2, int32_t lo, int32_t hi, bool horizontal) {
    const bool e1 = inner && (a1 == lo || a1 == hi);
    const bool e2 = inner && (a2 == lo || a2 == hi);
    if ((e1 && e2) || (!sides && !inner)) return;
    TkvfSizePointList list;
    auto add = [&](int32_t v) { horizontal ? list.Add(v, 0) : list.Add(0, v); };
    add(lo);
    if (!e1) add(a1);
    if (!e2) add(a2);
    add(hi);
    horizontal ? list.SortByX() : list.SortByY();
    AddChain(horizontal ? HorzRows : VertRows, list, horizontal);
  };
  if (o != 1) chain(p1.X, p2.X, min.X, max.X, true);
  if (o != 0) chain(p1.Y, p2.Y, min.Y, max.Y, false);
}

void TkvfSizeGrid::AddChain(std::vector<TkvfSizing>& rows, TkvfSizePointList chain, bool horizontal) {
  for (const TkvfSizing& row : rows)
    for (const TkvfSizePointList& existing : row.Chains)
      if (existing == chain) return;
  auto at = [horizontal](const TkvfSizePoint& m) { return horizontal ? m.X : m.Y; };
  for (TkvfSizing& row : rows) {
    if (row.Chains.empty()) continue;
    if (at(row.Chains.front().First()) >= at(chain.Last())) {
      row.Chains.insert(row.Chains.begin(), std::move(chain));
      return;
    }
    for (size_t k = 1; k < row.Chains.size(); ++k) {
      if (at(chain.First()) >= at(row.Chains[k - 1].Last()) && at(row.Chains[k].First()) >= at(chain.Last())) {
        row.Chains.insert(row.Chains.begin() + static_cast<long>(k), std::move(chain));
        return;
      }
    }
    if (at(chain.First()) >= at(row.Chains.back().Last())) {
      row.Chains.push_back(std::move(chain));
      return;
    }
  }
  TkvfSizing row;
  row.Chains.push_back(std::move(chain));
  rows.push_back(std::move(row));
}

int TkvfSizeGrid::HorzExtentPx() const { return CheckedRows(HorzRows.size(), RowHeight); }
int TkvfSizeGrid::VertExtentPx() const { return CheckedRows(VertRows.size(), RowHeight); }

void TkvfSizeGrid::Draw(float scale) {
  TPoint hb{0, ScaleValue(Extent.cy + Origin.Y, scale)};
  TPoint vb{ScaleValue(Extent.cx + Origin.X, scale), 0};
  const TBrush saved = canvas_.Brush;
  canvas_.Brush.Clear = true;
  for (TkvfSizing& row : HorzRows) {
    hb.Y += RowHeight;
    row.Angle = 0;
    DrawRow(row, hb, true, scale);
  }
  for (TkvfSizing& row : VertRows) {
    vb.X += RowHeight;
    row.Angle = 90;
    DrawRow(row, vb, false, scale);
  }
  canvas_.Brush = saved;
}

void TkvfSizeGrid::DrawRow(const TkvfSizing& row, TPoint base, bool horizontal, float scale) {
  for (const TkvfSizePointList& chain : row.Chains) {
    for (size_t k = 1; k < chain.Count(); ++k) {
      const TkvfSizePoint& mk = chain[k];
      const TkvfSizePoint& mp = chain[k - 1];
      const TPoint A = horizontal ? TPoint{mk.X, mk.Y} : TPoint{mp.X, mp.Y};
      const TPoint B = horizontal ? TPoint{mp.X, mp.Y} : TPoint{mk.X, mk.Y};
      DrawDimension(base, RowHeight, A, B, scale, row.Angle);
    }
  }
}

void TkvfSizeGrid::DrawDimension(TPoint base, int a, TPoint A, TPoint B, float scale, double angle) {
  const int penWidth = canvas_.Pen.Width;
  canvas_.Pen.Width = 1;
  const float len = static_cast<float>(Distance(B, A));
  const std::string label = len == std::trunc(len) ? fmt::format("{:.0f}", len) : fmt::format("{:.1f}", len);
  const TPoint P = ScalePoint(B, scale) + base;
  const TPoint Q = ScalePoint(A, scale) + base;
  const TPoint M = MidPoint(P, Q);
  DrawDimensionLine(P, Q, a, angle);
  const unsigned align = canvas_.TextAlign();
  canvas_.SetTextAlign(text_align::kBottom | text_align::kCenter);
  struct TRestore {
    TCanvas& c;
    unsigned align;
    int pen;
    ~TRestore() {
      c.SetTextAlign(align);
      c.Pen.Width = pen;
    }
  } restore{canvas_, align, penWidth};
  DrawRotatedText(canvas_, M, label, angle);
}

void TkvfSizeGrid::DrawDimensionLine(TPoint P, TPoint Q, int a, double angle) {
  const int t = a / 5;
  const int b = CascadeRound(a / 1.8L);
  auto rot = [angle](TPoint p, TPoint centre) { return RotatePoint(p, centre, angle); };
  const TPoint pb1 = rot({P.X + b, P.Y - t}, P), pb2 = rot({P.X + b, P.Y + t}, P);
  const TPoint pe1 = rot({P.X, P.Y - a}, P), pe2 = rot({P.X, P.Y + 1}, P);
  const TPoint qb1 = rot({Q.X - b, Q.Y - t}, Q), qb2 = rot({Q.X - b, Q.Y + t}, Q);
  const TPoint qe1 = rot({Q.X, Q.Y - a}, Q), qe2 = rot({Q.X, Q.Y + 1}, Q);
  DrawLine(canvas_, P, Q);
  DrawLine(canvas_, pe1, pe2);
  DrawLine(canvas_, qe1, qe2);
  DrawLine(canvas_, P, pb1);
  DrawLine(canvas_, P, pb2);
  DrawLine(canvas_, Q, qb1);
  DrawLine(canvas_, Q, qb2);
}

}  // namespace kvf
