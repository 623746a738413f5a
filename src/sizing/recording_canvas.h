#pragma once
// A canvas that records what is drawn, for tests: every primitive with the
// state it was drawn with. Text extents are fixed: Height/2 per character wide,
// Height high.
#include <string>
#include <vector>

#include "sizing/canvas.h"

namespace kvf {

struct TCanvasOp {
  enum TKind { MoveTo, LineTo, Arc, Text } kind = MoveTo;
  TPoint p1, p2, p3, p4;  // MoveTo/LineTo/Text: p1; Arc: box p1-p2, start p3, end p4
  std::string text;
  TPen pen;
  TBrush brush;
  TFont font;
  unsigned align = 0;
  TPoint viewportOrigin, windowOrigin;
};

class TRecordingCanvas : public TCanvas {
 public:
  std::vector<TCanvasOp> ops;

  void MoveTo(TPoint p) override { Record(TCanvasOp::MoveTo, p); }
  void LineTo(TPoint p) override { Record(TCanvasOp::LineTo, p); }
  void Arc(TPoint topLeft, TPoint bottomRight, TPoint start, TPoint end) override {
    TCanvasOp& op = Record(TCanvasOp::Arc, topLeft);
    op.p2 = bottomRight;
    op.p3 = start;
    op.p4 = end;
  }
  void TextOut(TPoint p, const std::string& text) override { Record(TCanvasOp::Text, p).text = text; }
  TSize TextExtent(const std::string& text) override;

 private:
  TCanvasOp& Record(TCanvasOp::TKind kind, TPoint p) {
    TCanvasOp op;
    op.kind = kind;
    op.p1 = p;
    op.pen = Pen;
    op.brush = Brush;
    op.font = Font;
    op.align = TextAlign();
    op.viewportOrigin = ViewportOrigin();
    op.windowOrigin = WindowOrigin();
    ops.push_back(op);
    return ops.back();
  }
};

}  // namespace kvf
