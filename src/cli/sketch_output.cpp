#include "cli/sketch_output.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <fmt/format.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

#include "cli/command.h"
#include "core/error.h"
#include "core/file_io.h"
#include "core/text_utils.h"
#include "engine/construction.h"
#include "sizing/sketch.h"
#include "sizing/svg_canvas.h"
#include "sizing/ui/qt_canvas.h"

namespace kvf::cli {
namespace {

constexpr int kFontHeight = 13;

void EnsureGuiApplication() {
  if (QGuiApplication::instance()) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
    // Qt wants a private runtime folder even offscreen; without one it only complains.
    const std::string dir = fmt::format("/tmp/kvf-runtime-{}", ::getuid());
    ::mkdir(dir.c_str(), 0700);
    qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(dir));
  }
  static int argc = 1;
  static char name[] = "kvf";
  static char* argv[] = {name, nullptr};
  static std::unique_ptr<QGuiApplication> app = std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace

void ParseSketchSize(const std::string& text, TSketchRequest& request) {
  const size_t x = text.find('x');
  const int w = x == std::string::npos ? 0 : StrToIntOrZero(text.substr(0, x));
  const int h = x == std::string::npos ? 0 : StrToIntOrZero(text.substr(x + 1));
  if (w < 50 || h < 50 || w > 10000 || h > 10000) throw TUsageError("--size: ШИРИНАxВЫСОТА в точках, от 50 до 10000");
  request.width = w;
  request.height = h;
}

void ParseSketchOptions(const std::string& text, TSketchRequest& request) {
  request.options.clear();
  if (text == "none") return;
  for (int i = 1, n = CountTokens(text, ","); i <= n; ++i) {
    const std::string o = GetToken(text, i, ",");
    if (o == "overall") request.options.insert(TSizeGridOption::sgoOverall);
    else if (o == "sides") request.options.insert(TSizeGridOption::sgoSides);
    else if (o == "inner") request.options.insert(TSizeGridOption::sgoInnerSides);
    else throw TUsageError("--options: overall, sides, inner (через запятую) или none");
  }
}

void WriteSketchPng(const TkvfConstruction& position, const TSketchRequest& request, const std::string& file) {
  EnsureGuiApplication();
  QImage image(request.width, request.height, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    TQtCanvas canvas(painter);
    canvas.Font.Height = kFontHeight;
    DrawSketch(position, canvas, 0, 0, request.width, request.height, 1, request.options);
  }
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, "PNG")) throw EKvfError(fmt::format("Не удается записать рисунок {}", file));
  WriteFileAtomic(file, std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
}

void WriteSketchSvg(const TkvfConstruction& position, const TSketchRequest& request, const std::string& file) {
  TSvgCanvas canvas(request.width, request.height);
  canvas.Font.Height = kFontHeight;
  DrawSketch(position, canvas, 0, 0, request.width, request.height, 1, request.options);
  WriteFileAtomic(file, canvas.Document());
}

}  // namespace kvf::cli
