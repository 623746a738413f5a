#include "sizing/ui/qt_canvas.h"

#include <QFontMetrics>
#include <QPen>
#include <cmath>

namespace kvf {
namespace {

QColor ToQColor(TColor c) { return QColor((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF); }

}  // namespace

void TQtCanvas::ApplyPen() {
  QPen pen(ToQColor(Pen.Color));
  pen.setWidth(Pen.Width);
  pen.setCapStyle(Qt::RoundCap);
  painter_.setPen(pen);
  painter_.setBrush(Qt::NoBrush);
}

QFont TQtCanvas::MakeFont() const {
  QFont font(QString::fromStdString(Font.Name));
  font.setPixelSize(Font.Height > 0 ? Font.Height : 12);
  font.setBold(Font.Bold);
  font.setItalic(Font.Italic);
  font.setUnderline(Font.Underline);
  font.setStrikeOut(Font.StrikeOut);
  return font;
}

void TQtCanvas::LineTo(TPoint p) {
  const TPoint to = ToDevice(p);
  ApplyPen();
  painter_.drawLine(pos_.X, pos_.Y, to.X, to.Y);
  pos_ = to;
}

void TQtCanvas::Arc(TPoint topLeft, TPoint bottomRight, TPoint start, TPoint end) {
  const TPoint a = ToDevice(topLeft), b = ToDevice(bottomRight), s = ToDevice(start), e = ToDevice(end);
  const double cx = (a.X + b.X) / 2.0, cy = (a.Y + b.Y) / 2.0;
  const double rx = std::abs(b.X - a.X) / 2.0, ry = std::abs(b.Y - a.Y) / 2.0;
  if (rx <= 0 || ry <= 0) return;
  const double ts = std::atan2(-(s.Y - cy) / ry, (s.X - cx) / rx) * 180 / M_PI;
  const double te = std::atan2(-(e.Y - cy) / ry, (e.X - cx) / rx) * 180 / M_PI;
  double span = te - ts;
  while (span <= 0) span += 360;
  ApplyPen();
  painter_.drawArc(QRectF(cx - rx, cy - ry, 2 * rx, 2 * ry), static_cast<int>(std::lround(ts * 16)),
                   static_cast<int>(std::lround(span * 16)));
}

void TQtCanvas::TextOut(TPoint p, const std::string& text) {
  const TPoint d = ToDevice(p);
  const QFont font = MakeFont();
  const QFontMetrics metrics(font);
  const QString qtext = QString::fromStdString(text);
  const int w = metrics.horizontalAdvance(qtext);
  const unsigned align = TextAlign();
  double x = 0, y = metrics.ascent();  // the reference point, relative to the text's top-left
  if ((align & 6) == text_align::kCenter) x = w / 2.0;
  else if ((align & 6) == text_align::kRight) x = w;
  if ((align & 24) == text_align::kTop) y = 0;
  else if ((align & 24) == text_align::kBottom) y = metrics.height();
  else y = metrics.ascent();
  painter_.save();
  painter_.translate(d.X, d.Y);
  painter_.rotate(-Font.Escapement / 10.0);
  painter_.setFont(font);
  painter_.setPen(ToQColor(Font.Color));
  painter_.drawText(QPointF(-x, -y + metrics.ascent()), qtext);
  painter_.restore();
}

TSize TQtCanvas::TextExtent(const std::string& text) {
  const QFontMetrics metrics(MakeFont());
  return {metrics.horizontalAdvance(QString::fromStdString(text)), metrics.height()};
}

}  // namespace kvf
