#include "sizing/svg_canvas.h"

#include <cmath>
#include <fmt/format.h>

#include "core/cp1251.h"

namespace kvf {
namespace {

constexpr double kPi = 3.14159265358979323846;

std::string Color(TColor c) { return fmt::format("#{:06x}", c & 0xFFFFFF); }

std::string Escape(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

}  // namespace

TSvgCanvas::TSvgCanvas(int width, int height) : width_(width), height_(height) {}

std::string TSvgCanvas::Stroke() const {
  return fmt::format("stroke=\"{}\" stroke-width=\"{}\" fill=\"none\" stroke-linecap=\"round\"", Color(Pen.Color),
                     Pen.Width);
}

void TSvgCanvas::LineTo(TPoint p) {
  const TPoint to = ToDevice(p);
  body_ += fmt::format("<line x1=\"{}\" y1=\"{}\" x2=\"{}\" y2=\"{}\" {}/>\n", pos_.X, pos_.Y, to.X, to.Y, Stroke());
  pos_ = to;
}

void TSvgCanvas::Arc(TPoint topLeft, TPoint bottomRight, TPoint start, TPoint end) {
  const TPoint a = ToDevice(topLeft), b = ToDevice(bottomRight), s = ToDevice(start), e = ToDevice(end);
  const double cx = (a.X + b.X) / 2.0, cy = (a.Y + b.Y) / 2.0;
  const double rx = std::abs(b.X - a.X) / 2.0, ry = std::abs(b.Y - a.Y) / 2.0;
  if (rx <= 0 || ry <= 0) return;
  // Angles counter-clockwise on the screen, as the rays to the two points give them.
  const double ts = std::atan2(-(s.Y - cy) / ry, (s.X - cx) / rx);
  const double te = std::atan2(-(e.Y - cy) / ry, (e.X - cx) / rx);
  double span = te - ts;
  while (span <= 0) span += 2 * kPi;
  const double x1 = cx + rx * std::cos(ts), y1 = cy - ry * std::sin(ts);
  const double x2 = cx + rx * std::cos(te), y2 = cy - ry * std::sin(te);
  body_ += fmt::format("<path d=\"M {:.2f} {:.2f} A {:.2f} {:.2f} 0 {} 0 {:.2f} {:.2f}\" {}/>\n", x1, y1, rx, ry,
                       span > kPi ? 1 : 0, x2, y2, Stroke());
}

void TSvgCanvas::TextOut(TPoint p, const std::string& text) {
  const TPoint d = ToDevice(p);
  const unsigned align = TextAlign();
  const char* anchor = (align & 6) == text_align::kCenter ? "middle" : (align & 6) == text_align::kRight ? "end" : "start";
  const char* baseline = (align & 24) == text_align::kBaseline ? "alphabetic"
                         : (align & 24) == text_align::kBottom ? "text-after-edge"
                                                               : "text-before-edge";
  const double angle = Font.Escapement / 10.0;
  const std::string rotate = angle != 0 ? fmt::format(" transform=\"rotate({:.1f} {} {})\"", -angle, d.X, d.Y) : "";
  body_ += fmt::format(
      "<text x=\"{}\" y=\"{}\" font-family=\"{}\" font-size=\"{}\" fill=\"{}\" text-anchor=\"{}\" "
      "dominant-baseline=\"{}\"{}{}>{}</text>\n",
      d.X, d.Y, Escape(Font.Name), Font.Height, Color(Font.Color), anchor, baseline, rotate,
      Font.Bold ? " font-weight=\"bold\"" : "", Escape(text));
}

TSize TSvgCanvas::TextExtent(const std::string& text) {
  return {static_cast<int32_t>(std::lround(0.6 * Font.Height * static_cast<double>(Utf8Length(text)))), Font.Height};
}

std::string TSvgCanvas::Document() const {
  return fmt::format(
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"{0}\" "
      "height=\"{1}\" viewBox=\"0 0 {0} {1}\">\n<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n{2}</svg>\n",
      width_, height_, body_);
}

}  // namespace kvf
