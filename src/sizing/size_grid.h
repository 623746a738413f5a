#pragma once
// The dimension grid of a sketch: chained measurements below the drawing
// (horizontal) and right of it (vertical), merged, packed first-fit into as few
// rows as possible and drawn with arrow heads, extension lines and labels.
// Marks are whole millimetres of the construction.
#include <memory>
#include <set>
#include <vector>

#include "core/geometry.h"
#include "sizing/canvas.h"

namespace kvf {

class TkvfConstruction;
class TkvfFlugel;
class TkvfLine;

struct TkvfSizePoint {
  int32_t X = 0, Y = 0;
};

// One dimension chain: marks along one axis, unique.
class TkvfSizePointList {
 public:
  // Appends the mark unless it is there already; -1 when discarded.
  int Add(int32_t x, int32_t y);
  void SortByX();
  void SortByY();
  const TkvfSizePoint& First() const { return marks_.front(); }
  const TkvfSizePoint& Last() const { return marks_.back(); }
  const TkvfSizePoint& operator[](size_t i) const { return marks_[i]; }
  size_t Count() const { return marks_.size(); }
  bool Empty() const { return marks_.empty(); }
  bool operator==(const TkvfSizePointList& o) const;
  void Clear() { marks_.clear(); }

 private:
  std::vector<TkvfSizePoint> marks_;
};

// One row of chains.
struct TkvfSizing {
  std::vector<TkvfSizePointList> Chains;
  double Angle = 0;
};

enum class TSizeGridOption { sgoOverall, sgoSides, sgoInnerSides };
using TSizeGridOptions = std::set<TSizeGridOption>;
TSizeGridOptions AllSizeGridOptions();

// The top-left of a construction's sashes in millimetres, never right of or
// below the origin.
TPoint ConstructionTopLeft(const TkvfConstruction& construction);

class TkvfSizeGrid {
 public:
  explicit TkvfSizeGrid(TCanvas& canvas);

  void Build(const TkvfConstruction& construction, const TSizeGridOptions& options);
  void Build(const TkvfFlugel& sash, const TSizeGridOptions& options);
  int HorzExtentPx() const;  // pixels needed below the drawing
  int VertExtentPx() const;  // pixels needed right of the drawing
  // Draws the rows relative to the canvas's logical origin, at the drawing's
  // top-left; scale in millimetres per pixel.
  void Draw(float scale);

  std::vector<TkvfSizing> HorzRows, VertRows;
  int RowHeight = 0;
  TSize Extent;  // millimetres
  // The top-left of what is dimensioned, millimetres: (0, 0) but for an outline
  // reaching above or left of its origin (an arch whose arc rises over Y = 0).
  TPoint Origin;

 private:
  void AddSash(const TkvfFlugel& sash, const TSizeGridOptions& options);
  void AddSide(const TkvfLine& side, TPoint min, TPoint max, const TSizeGridOptions& options);
  void AddChain(std::vector<TkvfSizing>& rows, TkvfSizePointList chain, bool horizontal);
  void DrawRow(const TkvfSizing& row, TPoint base, bool horizontal, float scale);
  void DrawDimension(TPoint base, int a, TPoint A, TPoint B, float scale, double angle);
  void DrawDimensionLine(TPoint P, TPoint Q, int a, double angle);

  TCanvas& canvas_;
};

}  // namespace kvf
