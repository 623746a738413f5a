// kvf sketch: the picture of one position of an order file.
#include <fmt/format.h>

#include "cli/command.h"
#include "cli/document_io.h"
#include "cli/sketch_output.h"
#include "core/error.h"

namespace kvf::cli {

int RunSketch(const std::vector<std::string>& argv) {
  const TArgs args(argv, {"png", "svg", "size", "options"}, {"no-convert"});
  args.ExpectPositional(2, 2,
                        "kvf sketch FILE.kfo370 POSNO --png OUT.png | --svg OUT.svg [--size 800x600] "
                        "[--options overall,sides,inner]");
  const auto png = args.Value("png"), svg = args.Value("svg");
  if (!png && !svg) throw TUsageError("kvf sketch: нужен --png ФАЙЛ или --svg ФАЙЛ");
  TSketchRequest request;
  if (const auto size = args.Value("size")) ParseSketchSize(*size, request);
  if (const auto options = args.Value("options")) ParseSketchOptions(*options, request);
  TkvfOrder order;
  LoadOrder(args.Positional()[0], args, order);
  const TkvfConstruction* position = order.FindPosition(args.Positional()[1]);
  if (!position) throw EKvfError(fmt::format("Позиция {} не найдена в заказе", args.Positional()[1]));
  if (png) WriteSketchPng(*position, request, *png);
  if (svg) WriteSketchSvg(*position, request, *svg);
  return 0;
}

}  // namespace kvf::cli
