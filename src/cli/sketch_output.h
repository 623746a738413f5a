#pragma once
// Pictures of positions for kvf: PNG through Qt (offscreen), SVG without it.
#include <string>

#include "sizing/size_grid.h"

namespace kvf {
class TkvfConstruction;
}

namespace kvf::cli {

struct TSketchRequest {
  int width = 800, height = 600;
  TSizeGridOptions options = AllSizeGridOptions();
};

// "800x600"; raises TUsageError.
void ParseSketchSize(const std::string& text, TSketchRequest& request);
// "overall,sides,inner" (or "none"); raises TUsageError.
void ParseSketchOptions(const std::string& text, TSketchRequest& request);
// Writes the picture (atomically). Raises EKvfError.
void WriteSketchPng(const TkvfConstruction& position, const TSketchRequest& request, const std::string& file);
void WriteSketchSvg(const TkvfConstruction& position, const TSketchRequest& request, const std::string& file);

}  // namespace kvf::cli
