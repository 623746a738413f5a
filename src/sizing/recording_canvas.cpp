#include "sizing/recording_canvas.h"

#include "core/cp1251.h"

namespace kvf {

TSize TRecordingCanvas::TextExtent(const std::string& text) {
  return {static_cast<int32_t>(Utf8Length(text)) * Font.Height / 2, Font.Height};
}

}  // namespace kvf
