#pragma once
// A canvas that writes SVG: lines, elliptic arcs and (rotated) text, so that
// sketches can be drawn without a display. Text extents are estimated from the
// font height (an average glyph is 0.6 of it wide).
#include <string>

#include "sizing/canvas.h"

namespace kvf {

class TSvgCanvas : public TCanvas {
 public:
  TSvgCanvas(int width, int height);

  void MoveTo(TPoint p) override { pos_ = ToDevice(p); }
  void LineTo(TPoint p) override;
  void Arc(TPoint topLeft, TPoint bottomRight, TPoint start, TPoint end) override;
  void TextOut(TPoint p, const std::string& text) override;
  TSize TextExtent(const std::string& text) override;

  // The whole document.
  std::string Document() const;

 private:
  std::string Stroke() const;
  int width_, height_;
  TPoint pos_;
  std::string body_;
};

}  // namespace kvf
