#pragma once
// The canvas on a QPainter: the sketch in windows, previews and PNG pictures.
#include <QPainter>

#include "sizing/canvas.h"

namespace kvf {

class TQtCanvas : public TCanvas {
 public:
  explicit TQtCanvas(QPainter& painter) : painter_(painter) {}

  void MoveTo(TPoint p) override { pos_ = ToDevice(p); }
  void LineTo(TPoint p) override;
  void Arc(TPoint topLeft, TPoint bottomRight, TPoint start, TPoint end) override;
  void TextOut(TPoint p, const std::string& text) override;
  TSize TextExtent(const std::string& text) override;

 private:
  void ApplyPen();
  QFont MakeFont() const;
  QPainter& painter_;
  TPoint pos_;
};

}  // namespace kvf
