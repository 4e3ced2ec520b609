// The paint routine's exact operations, through a recording canvas.
#include <gtest/gtest.h>

#include "RecordingCanvas.h"
#include "window/ComponentsPicture.h"
#include "window/U_pca.h"

namespace {

class PaintTest : public testing::Test {
 protected:
  void SetUp() override {
    form.DoCreate();
    form.Aktywacja(nullptr);
  }
  RecordingCanvas PaintAt(int32_t w = 547, int32_t h = 492) {
    RecordingCanvas canvas;
    form.Paint(canvas, w, h);
    return canvas;
  }
  TF_PCA form;
};

TEST_F(PaintTest, FirstStripAtTheDesignedSize) {
  const RecordingCanvas c = PaintAt();
  const std::vector<std::string> ops = c.Texts();
  ASSERT_GE(ops.size(), 41u);
  EXPECT_EQ(ops[0], "Rectangle 10 9 390 47");
  EXPECT_EQ(c.ops[0].pen, clGray);
  EXPECT_EQ(c.ops[0].brush, clWhite);
  EXPECT_EQ(c.ops[0].style, bsSolid);
  EXPECT_EQ(ops[1], "MoveTo 19 33");
  EXPECT_EQ(ops[2], "Rectangle 16 30 22 36");
  EXPECT_EQ(c.ops[2].pen, clRed);
  EXPECT_EQ(c.ops[2].brush, clYellow);
  EXPECT_EQ(ops[3], "LineTo 38 32");
  EXPECT_EQ(c.ops[3].pen, clRed);
  EXPECT_EQ(ops[4], "Rectangle 35 29 41 35");
  EXPECT_EQ(ops[1 + 2 * 17], "LineTo 342 9");  // the 18th point, on the frame's top line
  EXPECT_EQ(ops[1 + 2 * 19], "LineTo 380 26");
  EXPECT_EQ(ops[2 + 2 * 19], "Rectangle 377 23 383 29");
  EXPECT_EQ(ops[41], "Rectangle 10 46 390 84");  // strip 2 starts on strip 1's last row
}

TEST_F(PaintTest, ComponentsViewDrawsScoresAxesBarsAndShares) {
  const RecordingCanvas c = PaintAt();
  const int strip11 = c.Find("Rectangle 10 389 390 427");
  const int strip12 = c.Find("Rectangle 10 426 390 464");
  ASSERT_EQ(strip11, 10 * 41);  // right after the ten variable strips
  ASSERT_EQ(strip12, 11 * 41);
  EXPECT_EQ(c.ops[strip11 + 2].pen, clBlack);

  const int axis1 = c.Find("MoveTo 442 9");
  ASSERT_EQ(axis1, 12 * 41);
  EXPECT_EQ(c.ops[axis1 + 1].text, "LineTo 442 379");
  EXPECT_EQ(c.ops[axis1 + 1].pen, clGray);
  const CanvasOp& bar1 = c.ops[axis1 + 2];
  EXPECT_EQ(bar1.text, "Rectangle 442 15 451 39");
  EXPECT_EQ(bar1.pen, clBlack);
  EXPECT_EQ(bar1.brush, clOlive);
  EXPECT_EQ(bar1.style, bsDiagCross);
  EXPECT_EQ(c.ops[axis1 + 4].text, "Rectangle 442 89 432 113");  // a negative loading
  EXPECT_EQ(c.ops[axis1 + 11].text, "Rectangle 442 348 432 372");

  const int axis2 = c.Find("MoveTo 494 9");
  ASSERT_EQ(axis2, axis1 + 12);
  EXPECT_EQ(c.ops[axis2 + 1].text, "LineTo 494 379");
  EXPECT_EQ(c.ops[axis2 + 9].text, "Rectangle 494 274 517 298");  // the longest bar

  ASSERT_EQ(c.ops.size(), static_cast<size_t>(axis2 + 14));
  EXPECT_EQ(c.ops[axis2 + 12].text, "TextOut 422 389 59%");
  EXPECT_EQ(c.ops[axis2 + 13].text, "TextOut 474 426 10%");
  EXPECT_EQ(c.ops[axis2 + 12].fontSize, 12);
  EXPECT_EQ(c.ops[axis2 + 12].style, bsDiagCross);  // no background under the text
}

TEST_F(PaintTest, DataViewDrawsTheTenStripsOnly) {
  form.Kl_A->SetVisible(true);
  const RecordingCanvas c = PaintAt();
  EXPECT_EQ(c.ops.size(), 10u * 41u);
  for (const CanvasOp& op : c.ops) EXPECT_NE(op.pen, clBlack) << op.text;
}

TEST_F(PaintTest, RepaintingWithoutAChangeRepeatsEveryOperation) {
  const RecordingCanvas first = PaintAt();
  const ObservationTable table = form.Table;
  const RecordingCanvas second = PaintAt();
  EXPECT_EQ(first.Texts(), second.Texts());
  EXPECT_EQ(form.Table, table);
}

TEST_F(PaintTest, FailingComputationLeavesExactlyTheTenStrips) {
  form.Table = ObservationTable{};
  RecordingCanvas c;
  try {
    form.Paint(c, 547, 492);
    FAIL() << "the all-zero table must fail";
  } catch (const guarded::ArithmeticError& e) {
    EXPECT_STREQ(e.what(), "Floating point division by zero");
  }
  EXPECT_EQ(c.ops.size(), 10u * 41u);
  EXPECT_EQ(c.ops[1].text, "MoveTo 19 28");  // value 0 on the zero line
}

TEST_F(PaintTest, ExtremeSizesPaintWithoutError) {
  for (auto [w, h] : {std::pair{0, 0}, {1, 1}, {27, 12}, {28, 13}, {29, 13}, {8192, 8192}}) {
    for (bool dataView : {false, true}) {
      form.Kl_A->SetVisible(dataView);
      RecordingCanvas c;
      EXPECT_NO_THROW(form.Paint(c, w, h)) << w << "x" << h;
      EXPECT_EQ(c.ops.size(), dataView ? 410u : 410u + 2 * 41 + 2 * 12 + 2) << w << "x" << h;
    }
  }
}

TEST(PercentText, RoundsHalvesAwayFromZeroAndPadsToTwo) {
  EXPECT_EQ(PercentText(59.215758), "59%");
  EXPECT_EQ(PercentText(5.3), " 5%");
  EXPECT_EQ(PercentText(7.2), " 7%");
  EXPECT_EQ(PercentText(9.5), "10%");
  EXPECT_EQ(PercentText(9.6), "10%");
  EXPECT_EQ(PercentText(0.5), " 1%");  // printf alone would give " 0%"
  EXPECT_EQ(PercentText(2.5), " 3%");
  EXPECT_EQ(PercentText(100.0), "100%");
  EXPECT_EQ(PercentText(-0.2), " 0%");
}

}  // namespace
