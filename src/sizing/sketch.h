#pragma once
// The line sketch of a position: the sash outlines, opening lines, the symbol
// of the complect and the dimension grid, fitted into a rectangle of a canvas.
#include "core/geometry.h"
#include "sizing/canvas.h"
#include "sizing/size_grid.h"

namespace kvf {

class TkvfConstruction;
class TkvfFlugel;
class TkvfLine;

struct TSketchPlacement {
  bool drawn = false;  // false: nothing fits (no size, or a rectangle too small)
  double scale = 0;    // millimetres per pixel
  int offsetX = 0, offsetY = 0;  // where the model origin was placed, from left and top
  int scrollX = 0, scrollY = 0;  // pixels
};

// Scroll in percent of the drawn size in, pixels out. Leaves the canvas origins
// as it found them (also on failure).
TSketchPlacement DrawSketch(const TkvfConstruction& construction, TCanvas& canvas, int left, int top, int right,
                            int bottom, float zoom, const TSizeGridOptions& options, int scrollXPercent = 0,
                            int scrollYPercent = 0);
void DrawSash(const TkvfFlugel& sash, TCanvas& canvas, double scale);  // scale: tenths of mm per pixel
void DrawSide(const TkvfLine& side, TCanvas& canvas, double scale);
void DrawOpeningLines(const TkvfFlugel& sash, TCanvas& canvas, const TkvfLine& side, double scale);
void DrawSashSymbol(const TkvfFlugel& sash, TCanvas& canvas, double scale);
// The report callback: a construction is drawn with all dimension options.
void DrawPositionSketch(TCanvas& canvas, int left, int top, int right, int bottom, const TkvfConstruction* data);

}  // namespace kvf
