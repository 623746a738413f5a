#include <gtest/gtest.h>

#include "sizing/recording_canvas.h"

namespace kvf {
namespace {

TEST(DrawArcOrLine, DrawsAnArcCounterClockwiseFromEndToStartAndRestoresColours) {
  TRecordingCanvas canvas;
  canvas.Brush.Color = 0x123456;
  canvas.Pen.Color = 0x00FF00;
  DrawArcOrLine(canvas, {0, 50}, {100, 50}, kWhite, 50, {50, 50});
  ASSERT_EQ(canvas.ops.size(), 1u);
  const TCanvasOp& arc = canvas.ops[0];
  EXPECT_EQ(arc.kind, TCanvasOp::Arc);
  EXPECT_EQ(arc.p1, (TPoint{0, 0}));
  EXPECT_EQ(arc.p2, (TPoint{100, 100}));
  EXPECT_EQ(arc.p3, (TPoint{100, 50}));  // start: the side's end
  EXPECT_EQ(arc.p4, (TPoint{0, 50}));
  EXPECT_EQ(arc.brush.Color, kWhite);
  EXPECT_EQ(canvas.Brush.Color, 0x123456u);
  EXPECT_EQ(canvas.Pen.Color, 0x00FF00u);

  DrawArcOrLine(canvas, {1, 2}, {3, 4}, kWhite, 0, {});
  ASSERT_EQ(canvas.ops.size(), 3u);
  EXPECT_EQ(canvas.ops[1].kind, TCanvasOp::MoveTo);
  EXPECT_EQ(canvas.ops[2].p1, (TPoint{3, 4}));
}

TEST(DrawRotatedText, RotatesTheFontMeasuresAndRestores) {
  TRecordingCanvas canvas;
  canvas.Font.Height = 10;
  canvas.Font.Bold = true;
  EXPECT_EQ(DrawRotatedText(canvas, {5, 5}, "1400", 90), (TSize{10, 20}));  // extent 20 x 10, turned
  ASSERT_EQ(canvas.ops.size(), 1u);
  EXPECT_EQ(canvas.ops[0].font.Escapement, 900);
  EXPECT_TRUE(canvas.ops[0].font.Bold);
  EXPECT_EQ(canvas.Font.Escapement, 0);
  EXPECT_EQ(DrawRotatedText(canvas, {5, 5}, "700", 0), (TSize{}));
  EXPECT_EQ(DrawRotatedText(canvas, {0, 0}, "ab", 45), (TSize{14, 14}));  // 0.7071 * 10 + 0.7071 * 10
}

TEST(Canvas, MapsLogicalToDeviceThroughBothOrigins) {
  TRecordingCanvas canvas;
  canvas.SetViewportOrigin({100, 50});
  canvas.SetWindowOrigin({10, 5});
  EXPECT_EQ(canvas.ToDevice({0, 0}), (TPoint{90, 45}));
}

}  // namespace
}  // namespace kvf
