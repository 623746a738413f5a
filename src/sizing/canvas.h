#pragma once
// The abstract drawing surface of sketches, dimension grids and reports. The
// pen, brush and font are plain state that a canvas reads when it draws. All
// coordinates are logical; a device point is logical - window origin + viewport
// origin (one logical unit is one pixel).
#include <cstdint>
#include <string>

#include "core/geometry.h"

namespace kvf {

using TColor = uint32_t;  // 0xRRGGBB
inline constexpr TColor kBlack = 0x000000;
inline constexpr TColor kWhite = 0xFFFFFF;
inline constexpr TColor kRed = 0xFF0000;

struct TSize {
  int32_t cx = 0, cy = 0;
  bool operator==(const TSize&) const = default;
};

struct TPen {
  int Width = 1;
  TColor Color = kBlack;
};

struct TBrush {
  TColor Color = kWhite;
  bool Clear = false;  // no fill behind text and shapes
};

struct TFont {
  std::string Name = "DejaVu Sans";
  int Height = 12;      // pixels
  int Escapement = 0;   // tenths of a degree, counter-clockwise
  bool Bold = false, Italic = false, Underline = false, StrikeOut = false;
  TColor Color = kBlack;
};

// Text alignment relative to the reference point (the values of the Windows GDI).
namespace text_align {
inline constexpr unsigned kLeft = 0, kRight = 2, kCenter = 6;
inline constexpr unsigned kTop = 0, kBottom = 8, kBaseline = 24;
}  // namespace text_align

class TCanvas {
 public:
  virtual ~TCanvas() = default;

  TPen Pen;
  TBrush Brush;
  TFont Font;

  virtual void MoveTo(TPoint p) = 0;
  virtual void LineTo(TPoint p) = 0;
  // The elliptic arc inscribed in the box, counter-clockwise (on the screen) from
  // the ray towards `start` to the ray towards `end`.
  virtual void Arc(TPoint topLeft, TPoint bottomRight, TPoint start, TPoint end) = 0;
  // Text at the point with the current font (rotated by its escapement) and alignment.
  virtual void TextOut(TPoint p, const std::string& text) = 0;
  // Unrotated size of the text in the current font.
  virtual TSize TextExtent(const std::string& text) = 0;

  unsigned TextAlign() const { return textAlign_; }
  void SetTextAlign(unsigned align) { textAlign_ = align; }
  TPoint ViewportOrigin() const { return viewportOrigin_; }
  void SetViewportOrigin(TPoint p) { viewportOrigin_ = p; }
  TPoint WindowOrigin() const { return windowOrigin_; }
  void SetWindowOrigin(TPoint p) { windowOrigin_ = p; }
  TPoint ToDevice(TPoint logical) const {
    return {logical.X - windowOrigin_.X + viewportOrigin_.X, logical.Y - windowOrigin_.Y + viewportOrigin_.Y};
  }

 private:
  unsigned textAlign_ = text_align::kLeft | text_align::kTop;
  TPoint viewportOrigin_, windowOrigin_;
};

// Draws a line from p1 to p2.
void DrawLine(TCanvas& canvas, TPoint p1, TPoint p2);
// A line (r = 0) or the arc about `centre` drawn counter-clockwise from p2 to p1,
// with `brushColor` as the brush meanwhile; brush and pen colours are restored.
void DrawArcOrLine(TCanvas& canvas, TPoint p1, TPoint p2, TColor brushColor, long double r, TFloatPoint centre);
// Text rotated by `angle` degrees. For a non-zero angle returns the rotated
// text's bounding size (half-to-even rounded); for 0 draws plainly and returns {0, 0}.
TSize DrawRotatedText(TCanvas& canvas, TPoint position, const std::string& text, long double angle);

}  // namespace kvf
