#include <gtest/gtest.h>

#include "engine/construction.h"
#include "engine/furn_comp.h"
#include "engine/order.h"
#include "sizing/recording_canvas.h"
#include "sizing/sketch.h"
#include "sizing/svg_canvas.h"

namespace kvf {
namespace {

using TOpt = TSizeGridOption;

// Rows as text: each row "a-b-c|d-e" (chains separated by |).
std::vector<std::string> Rows(const std::vector<TkvfSizing>& rows, bool horizontal) {
  std::vector<std::string> out;
  for (const TkvfSizing& row : rows) {
    std::string text;
    for (const TkvfSizePointList& chain : row.Chains) {
      if (!text.empty()) text += "|";
      for (size_t i = 0; i < chain.Count(); ++i)
        text += (i ? "-" : "") + std::to_string(horizontal ? chain[i].X : chain[i].Y);
    }
    out.push_back(text);
  }
  return out;
}

struct TBuilt {
  TkvfOrder order;
  std::unique_ptr<TkvfConstruction> p;
  TBuilt(TOutlineParams params, uint8_t layout = 2) {
    p = order.NewPosition();
    p->FSashLayout = layout;
    p->BuildOutlines(params, 201);
  }
};

TEST(SizeGrid, PacksChainsIntoRowsFirstFit) {
  TRecordingCanvas canvas;
  struct Case {
    const char* name;
    TOutlineParams params;
    uint8_t layout;
    TSizeGridOptions options;
    std::vector<std::string> horz, vert;
  };
  const TSizeGridOptions all = AllSizeGridOptions();
  const Case cases[] = {
      {"rectangle", {700, 1400, 0}, 2, all, {"0-700"}, {"0-1400"}},
      {"two sashes", {1400, 1400, 2, 700, 700}, 0, all, {"0-700|700-1400", "0-1400"}, {"0-1400"}},
      {"arch", {1000, 1500, 7, 500, 0, 500, 500}, 2, all, {"0-1000"}, {"0-500-1500", "0-1500"}},
      {"trapezoid", {1000, 1500, 3, 750}, 2, all, {"0-1000"}, {"0-750-1500", "0-1500"}},
      {"sides without inner", {700, 1400, 0}, 2, {TOpt::sgoSides}, {"0-700"}, {"0-1400"}},
      {"overall only", {1400, 1400, 2, 700, 700}, 0, {TOpt::sgoOverall}, {"0-700|700-1400", "0-1400"}, {"0-1400"}},
      {"no options", {700, 1400, 0}, 2, {}, {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TBuilt b(c.params, c.layout);
    TkvfSizeGrid grid(canvas);
    grid.Build(*b.p, c.options);
    // the empty second sash of a one-sash position adds only [0]: it fits an existing row
    std::vector<std::string> horz = Rows(grid.HorzRows, true), vert = Rows(grid.VertRows, false);
    for (std::string& r : horz) r = r.rfind("0|", 0) == 0 ? r.substr(2) : r;
    for (std::string& r : vert) r = r.rfind("0|", 0) == 0 ? r.substr(2) : r;
    EXPECT_EQ(horz, c.horz);
    EXPECT_EQ(vert, c.vert);
    EXPECT_EQ(grid.HorzExtentPx(), static_cast<int>(c.horz.size()) * grid.RowHeight);
  }
}

TEST(SizeGrid, DrawsDimensionLinesWithLabelsReadingAlongThem) {
  TRecordingCanvas canvas;
  canvas.Font.Height = 13;
  TBuilt b({1234, 800, 0});
  TkvfSizeGrid grid(canvas);
  grid.Build(*b.p, AllSizeGridOptions());
  EXPECT_EQ(grid.RowHeight, 15);  // text height of "0" plus 2
  grid.Draw(2);
  std::vector<const TCanvasOp*> texts;
  for (const TCanvasOp& op : canvas.ops)
    if (op.kind == TCanvasOp::Text) texts.push_back(&op);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0]->text, "1234");
  EXPECT_EQ(texts[0]->font.Escapement, 0);
  EXPECT_EQ(texts[0]->align, text_align::kBottom | text_align::kCenter);
  EXPECT_EQ(texts[0]->p1, (TPoint{309, 415}));  // middle of the line, one row below 800 / 2
  EXPECT_EQ(texts[1]->text, "800");
  EXPECT_EQ(texts[1]->font.Escapement, 900);  // vertical labels read bottom to top
  EXPECT_EQ(texts[1]->p1, (TPoint{632, 200}));
  EXPECT_EQ(canvas.Pen.Width, 1);  // the pen is given back (it was 1)
}

TEST(Sketch, FitsCentresAndRestoresTheCanvas) {
  TRecordingCanvas canvas;
  canvas.Font.Height = 13;  // rows of 15 pixels
  TBuilt b({1000, 2000, 0});
  canvas.SetViewportOrigin({3, 4});
  const TSketchPlacement placed = DrawSketch(*b.p, canvas, 0, 0, 400, 300, 1, AllSizeGridOptions());
  ASSERT_TRUE(placed.drawn);
  EXPECT_NEAR(placed.scale, 2000.0 / 265, 1e-9);
  EXPECT_EQ(placed.offsetX, 126);
  EXPECT_EQ(placed.offsetY, 10);
  EXPECT_EQ(canvas.ViewportOrigin(), (TPoint{3, 4}));
  EXPECT_EQ(canvas.Pen.Width, 3);
  const TCanvasOp& first = canvas.ops.front();
  EXPECT_EQ(first.viewportOrigin, (TPoint{126, 10}));
  EXPECT_EQ(first.pen.Width, 3);
  EXPECT_EQ(first.p1, (TPoint{0, 265}));  // the bottom-left corner

  TRecordingCanvas zoomed;
  zoomed.Font.Height = 13;
  const TSketchPlacement half = DrawSketch(*b.p, zoomed, 0, 0, 400, 300, 2, AllSizeGridOptions(), 50, 50);
  EXPECT_NEAR(half.scale, 2 * 2000.0 / 265, 1e-9);
  EXPECT_EQ(half.scrollX, 33);  // half of the drawn width 66 (66.25 rounded)
  EXPECT_EQ(zoomed.ops.front().windowOrigin, (TPoint{33, 67}));  // drawn height 133 (132.5)
}

TEST(Sketch, DrawsNothingWhenNothingFits) {
  TRecordingCanvas canvas;
  TkvfOrder order;
  auto empty = order.NewPosition();
  EXPECT_FALSE(DrawSketch(*empty, canvas, 0, 0, 400, 300, 1, AllSizeGridOptions()).drawn);
  TBuilt b({700, 1400, 0});
  EXPECT_FALSE(DrawSketch(*b.p, canvas, 0, 0, 30, 30, 1, AllSizeGridOptions()).drawn);
  EXPECT_TRUE(canvas.ops.empty());
  DrawPositionSketch(canvas, 0, 0, 400, 300, nullptr);
  EXPECT_TRUE(canvas.ops.empty());
}

TEST(Sketch, SymbolsOpeningLinesAndArcs) {
  TBuilt b({1000, 1500, 7, 500, 0, 500, 500});
  TkvfFlugel& sash = *b.p->FFlugel1;
  {
    TRecordingCanvas canvas;
    DrawSash(sash, canvas, 10);  // without a complement: only the outline
    int arcs = 0;
    for (const TCanvasOp& op : canvas.ops) arcs += op.kind == TCanvasOp::Arc;
    EXPECT_EQ(arcs, 1);
    EXPECT_EQ(canvas.ops.size(), 7u);  // three lines (move + line each) and the arc
  }
  sash.FComplement = std::make_unique<TkvfFurnComp>(&sash);
  sash.FSides[2].FOpenMark = true;
  sash.FSides[2].FApexSide = 1;  // the apex is the middle of the arc
  sash.FSides[0].FOpenMark = true;
  sash.FSides[0].FApexSide = 7;  // outside the corners: no lines
  struct Case { int image; size_t lines; };
  for (const Case& c : {Case{0, 0}, Case{-1, 0}, Case{6, 0}, Case{1, 3}, Case{2, 3}, Case{3, 5}, Case{4, 4}, Case{5, 4}}) {
    SCOPED_TRACE(c.image);
    sash.FComplement->FComplectImage = c.image;
    TRecordingCanvas canvas;
    DrawSash(sash, canvas, 10);
    std::vector<TCanvasOp> ops(canvas.ops.begin() + 7, canvas.ops.end());
    ASSERT_GE(ops.size(), 3u);
    EXPECT_EQ(ops[1].p1, (TPoint{500, 0}));  // the opening lines meet at the top of the arc
    EXPECT_EQ(ops[1].pen.Width, 1);
    EXPECT_EQ((ops.size() - 3) / 2, c.lines);  // each symbol line is a move and a line
  }
}

TEST(SvgCanvas, WritesLinesArcsAndRotatedText) {
  TSvgCanvas svg(200, 100);
  svg.SetViewportOrigin({10, 0});
  DrawLine(svg, {0, 0}, {50, 0});
  DrawArcOrLine(svg, {0, 50}, {100, 50}, kBlack, 50, {50, 50});
  svg.SetTextAlign(text_align::kBottom | text_align::kCenter);
  DrawRotatedText(svg, {5, 5}, "1400 <", 90);
  const std::string doc = svg.Document();
  EXPECT_NE(doc.find("<line x1=\"10\" y1=\"0\" x2=\"60\" y2=\"0\""), std::string::npos) << doc;
  EXPECT_NE(doc.find("<path d=\"M 110.00 50.00 A 50.00 50.00 0 0 0 10.00 50.00\""), std::string::npos) << doc;
  EXPECT_NE(doc.find("transform=\"rotate(-90.0 15 5)\""), std::string::npos) << doc;
  EXPECT_NE(doc.find(">1400 &lt;</text>"), std::string::npos) << doc;
}

}  // namespace
}  // namespace kvf
